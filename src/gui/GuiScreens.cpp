#include "gui/Gui.h"

#include "gui/InfoTexts.h"
#include "gui/ScreenStyle.h"
#include "media/ofGraphics.h"

#include <GL/gl.h>
#include <string>

namespace {

using screenstyle::colourHighlight;
using screenstyle::colourPanel;
using screenstyle::colourText;

// Menu item positions relative to the window centre, pixels.
struct MenuItem {
    const char* text;   // item 0 is built from the stage number
    float dx;
    float dy;
};
const MenuItem MENU[Gui::MENU_ITEMS] = {
    {nullptr, -155, -10},
    {"new game", -90, 40},
    {"highscores", -90, 115},
    {"music on/off", -110, 165},
    {"info + credits", -120, 215},
    {"stages", -70, 265},
    {"options", -75, 315},
};

// Whole pixels, truncated toward zero.
float truncated(float v) { return static_cast<float>(static_cast<int>(v)); }

} // namespace

void Gui::drawPanel()
{
    const float cx = width * 0.5f;
    const float cy = height * 0.5f;
    colourPanel();
    glBegin(GL_QUADS);
    {
        // Title band, then the body, with a clear strip of 50 pixels between them.
        glVertex2f(cx - 250, cy - 250);
        glVertex2f(cx - 250, cy - 100);
        glVertex2f(cx + 250, cy - 100);
        glVertex2f(cx + 250, cy - 250);
        glVertex2f(cx - 250, cy - 50);
        glVertex2f(cx - 250, cy + 240);
        glVertex2f(cx + 250, cy + 240);
        glVertex2f(cx + 250, cy - 50);
    }
    glEnd();
}

void Gui::drawMenu(int stage, bool allCleared)
{
    const float cx = width * 0.5f;
    const float cy = height * 0.5f;
    drawPanel();
    // The body reaches down for the two items after the first five.
    colourPanel();
    screenstyle::box(cx - 250, cy + 240, cx + 250, cy + 340);

    float itemX[MENU_ITEMS];
    float itemY[MENU_ITEMS];
    for (int i = 0; i < MENU_ITEMS; ++i) {
        itemX[i] = truncated(cx + MENU[i].dx);
        itemY[i] = truncated(cy + MENU[i].dy);
    }

    // The keys only add and subtract; this is where the cursor comes back into range.
    colourHighlight();
    if (menuCursor > MENU_ITEMS - 1) {
        menuCursor = 0;
    } else if (menuCursor < 0) {
        menuCursor = MENU_ITEMS - 1;
    }
    const float y = itemY[menuCursor];
    ofLine(cx - 170, y + 4, cx + 170, y + 4);
    ofLine(cx - 160, y + 6, cx + 160, y + 6);
    ofLine(cx - 150, y + 8, cx + 150, y + 8);

    colourText();
    largeFont.drawString("Tumbrix", cx - 180, cy - 190);
    largeFont.drawString("Velquor", cx - 110, cy - 130);
    const int shownStage = allCleared ? 1 : stage;
    mediumFont.drawString("Continue (Stage " + std::to_string(shownStage) + ")", itemX[0], itemY[0]);
    mediumFont.drawString(MENU[1].text, itemX[1], itemY[1]);
    italicFont.drawString("(overrides old save!)", cx - 120, cy + 65);
    for (int i = 2; i < MENU_ITEMS; ++i) {
        mediumFont.drawString(MENU[i].text, itemX[i], itemY[i]);
    }
}

void Gui::drawTally(bool allCleared, int stage)
{
    const float cx = width * 0.5f;
    const float cy = height * 0.5f;
    drawPanel();
    colourText();
    // The screen stays up for many frames; the stage is scored in the first one only.
    if (tallyPending) {
        scoreStage();
    }

    if (allCleared) {
        readHighscores();
        if (newHighscore) {
            largeFont.drawString("new highscore!", cx - 210, cy - 160);
            mediumFont.drawString("enter your name:", cx - 160, cy + 130);
            largeFont.drawString(playerName, cx - 80, cy + 180);
            ofLine(cx - 170, cy + 190, cx + 170, cy + 190);
            // The letter up and down offer, for a pad: A types it.
            if (offeredLetter >= 0 && offeredLetter < 26) {
                screenstyle::colourHighlight();
                largeFont.drawString(std::string("[") + static_cast<char>('a' + offeredLetter) + "]", cx + 100, cy + 180);
                colourText();
            }
            smallFont.drawString("pad: up/down pick a letter, A takes it, B rubs out, Start finishes", cx - 220,
                                 cy + 225);
        } else {
            largeFont.drawString("the end", cx - 160, cy - 100);
            mediumFont.drawString("sorry, no new highscore!", cx - 220, cy + 150);
        }
        mediumFont.drawString("total score", cx - 100, cy + 20);
        largeFont.drawString(std::to_string(totalScore), cx - 70, cy + 80);
        return;
    }

    largeFont.drawString("Stage " + std::to_string(stage) + " cleared", cx - 220, cy - 150);
    mediumFont.drawString("Time Bonus: " + std::to_string(timeBonus), cx - 140, cy + 15);
    mediumFont.drawString("Object Bonus: " + std::to_string(objectBonus), cx - 145, cy + 70);
    mediumFont.drawString("Level Score: " + std::to_string(timeBonus + objectBonus), cx - 150, cy + 125);
    mediumFont.drawString("- - - - - - - - - - -", cx - 170, cy + 160);
    mediumFont.drawString("Total Score: " + std::to_string(totalScore), cx - 150, cy + 195);
}

void Gui::drawHighscores()
{
    const float cx = width * 0.5f;
    const float cy = height * 0.5f;
    drawPanel();
    colourText();
    largeFont.drawString("Highscores", cx - 150, cy - 160);
    readHighscores();

    std::string names;
    std::string scores;
    for (int i = 0; i < 3; ++i) {
        names += highscores[i].name + "\n";
        scores += std::to_string(highscores[i].score) + "\n";
    }
    largeFont.drawString("1.\n2.\n3.", cx - 200, cy + 60);
    largeFont.drawString(names, cx - 135, cy + 60);
    largeFont.drawString(scores, cx + 50, cy + 60);
}

void Gui::drawInfo()
{
    const float cx = width * 0.5f;
    const float cy = height * 0.5f;
    colourPanel();
    glBegin(GL_QUADS);
    {
        glVertex2f(cx - 330, cy - 250);
        glVertex2f(cx - 330, cy + 250);
        glVertex2f(cx + 330, cy + 250);
        glVertex2f(cx + 330, cy - 250);
    }
    glEnd();

    colourText();
    mediumFont.drawString("Info + Credits", cx - 310, cy - 210);
    italicFont.drawString(INFO_INSTRUCTIONS, cx - 310, cy - 170);
    italicFont.drawString(INFO_AUTHOR_CREDITS, cx - 310, cy - 40);
    smallFont.drawString(INFO_SOUND_CREDITS, cx - 310, cy + 20);
}
