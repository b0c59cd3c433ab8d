// The gamepad, pause, the options and the keys that work everywhere.
#include "app/Application.h"

#include "media/ofAppRunner.h"
#include "media/ofUtils.h"

namespace {

constexpr int FOCUS_CHECK_STEPS = 10;   // the window's focus is looked at six times a second

} // namespace

void Application::setupSettings()
{
    readSettingsFile(SETTINGS_FILE_PATH, settings);
    sounds.setMusicVolume(settings.musicVolume);
    sounds.setEffectsVolume(settings.effectsVolume);
    // The music started playing as the sounds were loaded.
    if (!settings.music) {
        sounds.toggleMusic();
    }
    if (!settings.fullScreen) {
        ofSetFullscreen(false);
    }
}

// Once a game step: the pad's buttons become the keys they stand for on the screen showing,
// and go the keys' way, so every rule about keys holds for the pad too.
void Application::pollPad()
{
    for (const PadEvent& event : pad.poll()) {
        const int key = padKey(event.button);
        if (key == 0) {
            continue;
        }
        if (event.pressed) {
            keyPressed(key);
        } else {
            keyReleased(key);
        }
    }
}

int Application::padKey(PadButton button) const
{
    const bool nameEntry = player.stageWon && allCleared && gui.newHighscore;
    const bool inPlay = playing && !player.stageWon && !paused;
    switch (button) {
    case PadButton::Up: return KEY_UP;
    case PadButton::Down: return KEY_DOWN;
    case PadButton::Left: return KEY_LEFT;
    case PadButton::Right: return KEY_RIGHT;
    // On the name entry A takes the letter offered by up and down.
    case PadButton::A: return nameEntry ? 'a' + (gui.offeredLetter >= 0 ? gui.offeredLetter : 0) : KEY_ENTER;
    case PadButton::B: return inPlay ? 0 : KEY_BACKSPACE;
    case PadButton::X: return inPlay || showStageSelect ? KEY_SPACE : 0;
    case PadButton::Y: return inPlay ? KEY_SPACE : showStageSelect ? 'w' : 0;
    case PadButton::Start: return playing && !player.stageWon && !watching ? 'p' : KEY_ENTER;
    }
    return 0;
}

bool Application::globalKey(int key)
{
    if (key != KEY_F11) {
        return false;
    }
    settings.fullScreen = !settings.fullScreen;
    ofSetFullscreen(settings.fullScreen);
    writeSettingsFile(SETTINGS_FILE_PATH, settings);
    return true;
}

void Application::pause()
{
    if (!playing || player.stageWon || watching || paused) {
        return;
    }
    paused = true;
    pausedLeft = timeLeft;
    pauseScreen.open();
}

void Application::resume()
{
    paused = false;
    endTime = now + pausedLeft;
    timeLeft = pausedLeft;
}

void Application::pauseKey(int key)
{
    switch (pauseScreen.key(key)) {
    case PauseScreen::Action::None: break;
    case PauseScreen::Action::Resume: resume(); break;
    case PauseScreen::Action::Restart:
        // The same stage from its start, with the same ghost if one races.
        paused = false;
        startStage();
        break;
    case PauseScreen::Action::Menu: leaveStage(); break;
    }
}

void Application::optionsKey(int key)
{
    const OptionsScreen::Action action = optionsScreen.key(key, settings);
    if (action == OptionsScreen::Action::Back) {
        showOptions = false;
        return;
    }
    if (action != OptionsScreen::Action::None) {
        applySettings(action);
    }
}

void Application::applySettings(OptionsScreen::Action changed)
{
    switch (changed) {
    case OptionsScreen::Action::MusicVolume: sounds.setMusicVolume(settings.musicVolume); break;
    case OptionsScreen::Action::EffectsVolume:
        sounds.setEffectsVolume(settings.effectsVolume);
        // Heard as it changes.
        sounds.playEffectSample();
        break;
    case OptionsScreen::Action::FullScreen: ofSetFullscreen(settings.fullScreen); break;
    case OptionsScreen::Action::Music: sounds.toggleMusic(); break;
    default: break;
    }
    // Kept at once: Escape ends the program without asking.
    writeSettingsFile(SETTINGS_FILE_PATH, settings);
}

// A stage in play pauses when the window loses the focus; it does not resume by itself.
void Application::watchFocus()
{
    // Without a window of the game's own (a test driving the Application) nothing can lose it.
    if (!pauseWhenUnfocused || ofGetWindowPtr() == nullptr || !playing || player.stageWon || paused || watching) {
        focusCheck = 0;
        return;
    }
    if (--focusCheck > 0) {
        return;
    }
    focusCheck = FOCUS_CHECK_STEPS;
    if (!ofWindowHasFocus()) {
        ofLog(OF_LOG_NOTICE, "the window lost the focus: the stage is paused");
        pause();
    }
}
