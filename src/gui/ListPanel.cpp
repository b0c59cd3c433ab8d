#include "gui/ListPanel.h"

#include "gui/Gui.h"
#include "gui/ScreenStyle.h"
#include "media/ofGraphics.h"

#include <algorithm>

void drawListPanel(Gui& gui, const ListPanel& panel)
{
    using namespace screenstyle;
    const float cx = gui.width * 0.5f;
    const float cy = gui.height * 0.5f;
    const float halfW = std::min(330.0f, gui.width * 0.5f - 10.0f);
    const float itemStep = 55.0f;
    // Title, items, footer lines of 28 pixels, and a margin.
    const float halfH = 0.5f * (150.0f + itemStep * static_cast<float>(panel.items.size()) +
                                28.0f * static_cast<float>(panel.footer.size()));
    const float top = cy - halfH;
    const float left = cx - halfW + 40.0f;

    colourPanel();
    box(cx - halfW, top, cx + halfW, cy + halfH);
    colourText();
    gui.largeFont.drawString(panel.title, left, top + 65.0f);

    for (std::size_t i = 0; i < panel.items.size(); ++i) {
        const float y = top + 140.0f + itemStep * static_cast<float>(i);
        if (static_cast<int>(i) == panel.cursor) {
            colourHighlight();
            ofLine(left - 10.0f, y + 6.0f, cx + halfW - 30.0f, y + 6.0f);
            ofLine(left, y + 8.0f, cx + halfW - 40.0f, y + 8.0f);
            colourText();
        }
        gui.mediumFont.drawString(panel.items[i], left, y);
    }

    float y = top + 140.0f + itemStep * static_cast<float>(panel.items.size()) + 5.0f;
    for (std::size_t i = 0; i < panel.footer.size(); ++i) {
        if (i == 0) {
            colourText();
            gui.italicFont.drawString(panel.footer[i], left, y);
        } else {
            colourDim();
            gui.smallFont.drawString(panel.footer[i], left, y);
        }
        y += 28.0f;
    }
}
