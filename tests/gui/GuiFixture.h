#pragma once
// A Gui set up as the game sets it up (the real fonts, a GL context) in a scratch working
// directory with its own data/ folder, and helpers to draw a screen and read it back.

#include "gui/Gui.h"
#include "support/TestSupport.h"

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace guitest {

// The test context's window, in pixels; screens are drawn for this size unless a test says otherwise.
constexpr int WINDOW_W = 1024;
constexpr int WINDOW_H = 768;

struct Rgb {
    float r, g, b;
};

class GuiWorld {
public:
    GuiWorld();
    ~GuiWorld();

    // Writes data/hs.txt in the scratch folder.
    void writeHighscoreFile(const std::string& text) const;
    std::string highscoreFileText() const;
    std::filesystem::path dataDir() const { return scratch.path() / "data"; }

    // Clears the window to blue and sets up the overlay projection of the game (window pixels,
    // origin top-left, y down, no depth test, no lighting), ready for one Gui screen.
    void beginScreen() const;
    // The colour at (x, y) in overlay coordinates (y down).
    Rgb pixel(int x, int y) const;
    // The pixels of a rectangle in overlay coordinates, row by row from the top.
    std::vector<float> region(int x, int y, int w, int h) const;
    // Whether any pixel of the rectangle shows text or highlight colour (yellow: red high, blue low).
    bool hasYellow(int x, int y, int w, int h) const;

    testsupport::ScratchDir scratch;
    std::unique_ptr<testsupport::WorkingDir> workingDir;
    Gui gui;
};

bool isPanelOverBlue(const Rgb& c);   // the translucent black panel over the blue clear colour
bool isBlue(const Rgb& c);            // the bare clear colour
bool isYellow(const Rgb& c);

} // namespace guitest
