#include "gui/OptionsScreen.h"

#include "gui/ListPanel.h"
#include "gui/Settings.h"

#include <algorithm>
#include <string>

namespace {

constexpr int ITEMS = 4;
constexpr int KEY_BACKSPACE = 8;
constexpr int KEY_ENTER = 13;
constexpr int KEY_LEFT = 356;
constexpr int KEY_UP = 357;
constexpr int KEY_RIGHT = 358;
constexpr int KEY_DOWN = 359;
constexpr int VOLUME_STEPS = 10;

std::string volumeLine(const char* what, int volume)
{
    return std::string(what) + "   < " + std::to_string(volume) + " >";
}

} // namespace

void OptionsScreen::open()
{
    cursor = 0;
}

OptionsScreen::Action OptionsScreen::key(int key, Settings& settings)
{
    if (key == KEY_BACKSPACE) {
        return Action::Back;
    }
    if (key == KEY_UP) {
        cursor = (cursor + ITEMS - 1) % ITEMS;
        return Action::None;
    }
    if (key == KEY_DOWN) {
        cursor = (cursor + 1) % ITEMS;
        return Action::None;
    }
    if (key != KEY_LEFT && key != KEY_RIGHT && key != KEY_ENTER) {
        return Action::None;
    }
    const int change = key == KEY_LEFT ? -1 : 1;
    switch (cursor) {
    case 0:
        if (key == KEY_ENTER) {
            return Action::None;
        }
        settings.musicVolume = std::clamp(settings.musicVolume + change, 0, VOLUME_STEPS);
        return Action::MusicVolume;
    case 1:
        if (key == KEY_ENTER) {
            return Action::None;
        }
        settings.effectsVolume = std::clamp(settings.effectsVolume + change, 0, VOLUME_STEPS);
        return Action::EffectsVolume;
    case 2: settings.fullScreen = !settings.fullScreen; return Action::FullScreen;
    default: settings.music = !settings.music; return Action::Music;
    }
}

void OptionsScreen::draw(Gui& gui, const Settings& settings) const
{
    ListPanel panel;
    panel.title = "options";
    panel.items = {volumeLine("music volume", settings.musicVolume),
                   volumeLine("effects volume", settings.effectsVolume),
                   settings.fullScreen ? "full screen" : "window",
                   settings.music ? "music on" : "music off"};
    panel.cursor = cursor;
    panel.footer = {"left / right change, Enter switches, Backspace back",
                    "pad: d-pad changes, A switches, B back     F11 full screen anywhere     Escape quits"};
    drawListPanel(gui, panel);
}
