#include "gui/StageSelectScreen.h"

#include "gui/Gui.h"
#include "gui/ScreenStyle.h"

#include <algorithm>

namespace {

constexpr std::size_t NAME_CHARS = 26;   // longer messages are cut with "..."

std::string shortened(const std::string& text)
{
    return text.size() <= NAME_CHARS ? text : text.substr(0, NAME_CHARS - 3) + "...";
}

} // namespace

void drawStageSelect(Gui& gui, const StageSelectView& view)
{
    using namespace screenstyle;
    const float cx = gui.width * 0.5f;
    const float cy = gui.height * 0.5f;
    // 940 by 700 pixels where the window allows, a little less in a small window.
    const float halfW = std::min(470.0f, gui.width * 0.5f - 10.0f);
    const float halfH = std::min(350.0f, gui.height * 0.5f - 10.0f);
    const float left = cx - halfW + 20.0f;
    const float top = cy - halfH;
    const float rowStep = std::min(44.0f, (2.0f * halfH - 240.0f) / 10.0f);

    colourPanel();
    box(cx - halfW, cy - halfH, cx + halfW, cy + halfH);

    colourText();
    gui.mediumFont.drawString("World " + std::to_string(view.world) + ": " + view.worldName, left, top + 45);
    gui.italicFont.drawString("gold " + std::to_string(view.golds) + " of 10   silver " + std::to_string(view.silvers) +
                                  "   bronze " + std::to_string(view.bronzes),
                              left, top + 78);
    gui.italicFont.drawString("< left   world " + std::to_string(view.world) + " of " + std::to_string(view.worlds) +
                                  "   right >",
                              cx + halfW - 300.0f, top + 45);

    // Columns: number, name, best time, best score, medal, targets.
    const float colName = left + 45.0f;
    const float colTime = left + 395.0f;
    const float colScore = left + 505.0f;
    const float colMedal = left + 590.0f;
    const float colTargets = left + 670.0f;
    const float headY = top + 112.0f;
    colourDim();
    gui.smallFont.drawString("stage", left, headY);
    gui.smallFont.drawString("best time", colTime, headY);
    gui.smallFont.drawString("best score", colScore, headY);
    gui.smallFont.drawString("medal", colMedal, headY);
    gui.smallFont.drawString("to beat for gold / silver", colTargets, headY);

    for (std::size_t i = 0; i < view.rows.size(); ++i) {
        const StageSelectRow& row = view.rows[i];
        const float y = headY + 30.0f + rowStep * static_cast<float>(i);
        if (static_cast<int>(i) == view.cursor) {
            colourBar();
            box(cx - halfW + 8.0f, y - 24.0f, cx + halfW - 8.0f, y + 10.0f);
        }
        if (row.locked || !row.exists) {
            colourDim();
        } else {
            colourText();
        }
        gui.italicFont.drawString(std::to_string(row.stage), left, y);
        if (!row.exists) {
            gui.italicFont.drawString("(no stage file)", colName, y);
            continue;
        }
        if (row.locked) {
            gui.italicFont.drawString("locked", colName, y);
            gui.smallFont.drawString(row.targets, colTargets, y);
            continue;
        }
        gui.italicFont.drawString(shortened(row.name), colName, y);
        gui.italicFont.drawString(row.bestTime.empty() ? "-" : row.bestTime, colTime, y);
        gui.italicFont.drawString(row.bestScore.empty() ? "-" : row.bestScore, colScore, y);
        gui.italicFont.drawString(row.medal.empty() ? "-" : row.medal, colMedal, y);
        gui.smallFont.drawString(row.targets, colTargets, y);
    }

    const float footY = cy + halfH - 48.0f;
    colourText();
    if (!view.notice.empty()) {
        gui.italicFont.drawString(view.notice, left, footY - 30.0f);
    }
    gui.italicFont.drawString("Enter play   Space race best   W watch best   Backspace back", left, footY);
    colourDim();
    gui.smallFont.drawString("pad: A play   X race best   Y watch best   B back        Escape quits the game", left,
                             footY + 26.0f);
}
