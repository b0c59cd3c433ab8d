#include "gui/PauseScreen.h"

#include "gui/ListPanel.h"

namespace {

constexpr int ITEMS = 3;
constexpr int KEY_BACKSPACE = 8;
constexpr int KEY_ENTER = 13;
constexpr int KEY_UP = 357;
constexpr int KEY_DOWN = 359;

} // namespace

void PauseScreen::open()
{
    cursor = 0;
}

PauseScreen::Action PauseScreen::key(int key)
{
    switch (key) {
    case KEY_UP: cursor = (cursor + ITEMS - 1) % ITEMS; return Action::None;
    case KEY_DOWN: cursor = (cursor + 1) % ITEMS; return Action::None;
    case 'p':
    case KEY_BACKSPACE: return Action::Resume;
    case KEY_ENTER:
        return cursor == 0 ? Action::Resume : cursor == 1 ? Action::Restart : Action::Menu;
    default: return Action::None;
    }
}

void PauseScreen::draw(Gui& gui) const
{
    ListPanel panel;
    panel.title = "paused";
    panel.items = {"Resume", "Restart the stage", "Back to the menu"};
    panel.cursor = cursor;
    panel.footer = {"P or Backspace resumes, Enter chooses",
                    "pad: Start or B resumes, A chooses     Escape quits the game"};
    drawListPanel(gui, panel);
}
