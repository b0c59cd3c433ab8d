#pragma once
// Helpers for the font tests: a Debian font, and text rendered into the real GL frame.

#include <functional>
#include <string>
#include <vector>

namespace fonttest {

// DejaVu Sans from Debian's fonts-dejavu-core.
std::string dejavuSans();
std::string dejavuSerif();

// The smallest rectangle holding every inked pixel; right and bottom are exclusive.
struct InkBox {
    bool empty = true;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One rendered frame read back from the back buffer, row 0 at the top.
struct Frame {
    static const int WIDTH = 512;
    static const int HEIGHT = 256;

    std::vector<unsigned char> rgba;

    const unsigned char* pixel(int x, int y) const { return &rgba[(static_cast<size_t>(y) * WIDTH + x) * 4]; }
    // A pixel counts as ink when any channel passes the threshold over the black background.
    bool ink(int x, int y, int threshold = 64) const;
    InkBox inkBox(int threshold = 64) const;
    int inkCount(int threshold = 64) const;
};

// Clears a WIDTH x HEIGHT viewport to black, sets a pixel projection (origin top-left, y down),
// the colour to white, calls draw and reads the frame back.
Frame render(const std::function<void()>& draw);

// Level-0 size of a texture name.
int textureWidth(unsigned int name);
int textureHeight(unsigned int name);
// Alpha of every texel of level 0 of a luminance-alpha texture.
std::vector<unsigned char> textureAlpha(unsigned int name);

} // namespace fonttest
