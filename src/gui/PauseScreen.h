#pragma once
// The pause panel over a stage in play: Resume, Restart the stage, Back to the menu. The game
// steps and the clock stand still while it shows; the stage stays drawn behind it.

class Gui;

class PauseScreen {
public:
    enum class Action { None, Resume, Restart, Menu };

    // Opens with Resume highlighted.
    void open();
    // A key (already lowercased): up and down move, Enter chooses, P and Backspace resume.
    Action key(int key);
    void draw(Gui& gui) const;

    int cursor = 0;
};
