#pragma once
// The options screen: music volume and effects volume (0 to 10), full screen or window, and
// the music on or off. It changes the Settings it is handed and says what changed; the
// caller applies it (the sound heard at once, the window switched) and keeps the file.

struct Settings;
class Gui;

class OptionsScreen {
public:
    enum class Action { None, Back, MusicVolume, EffectsVolume, FullScreen, Music };

    void open();
    // A key (already lowercased): up and down move, left and right change a volume (and
    // switch the other two), Enter switches, Backspace goes back.
    Action key(int key, Settings& settings);
    void draw(Gui& gui, const Settings& settings) const;

    int cursor = 0;
};
