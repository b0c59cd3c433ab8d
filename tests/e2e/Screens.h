#pragma once
// Reading the game's screens in end-to-end tests: the whole screen grabbed with xwd, and the
// menu, the in-game display and the tally told apart by where the overlay's text stands.

#include "E2e.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace e2e {

constexpr int CX = SCREEN_W / 2;
constexpr int CY = SCREEN_H / 2;
constexpr int SCREEN_TIMEOUT_MS = 60000;

struct Rgb {
    int r = 0, g = 0, b = 0;
};

// The whole screen, read from an xwd dump of the root window.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    template <typename Test>
    int count(int x, int y, int w, int h, Test test) const
    {
        int n = 0;
        for (int row = y; row < y + h; ++row) {
            for (int col = x; col < x + w; ++col) {
                n += test(at(col, row)) ? 1 : 0;
            }
        }
        return n;
    }
};

inline uint32_t bigEndian(const std::string& bytes, size_t at)
{
    return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
           (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint32_t(uint8_t(bytes[at + 3]));
}

inline int channel(uint32_t value, uint32_t mask)
{
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) {
        ++shift;
    }
    const uint32_t max = mask >> shift;
    return static_cast<int>(((value & mask) >> shift) * 255 / max);
}

// Reads a ZPixmap xwd file of 24 or 32 bits a pixel; an empty screenshot when it is anything else.
inline Screenshot parseXwd(const std::string& bytes)
{
    Screenshot shot;
    if (bytes.size() < 100) {
        return shot;
    }
    const uint32_t headerSize = bigEndian(bytes, 0);
    const uint32_t width = bigEndian(bytes, 16);
    const uint32_t height = bigEndian(bytes, 20);
    const uint32_t byteOrder = bigEndian(bytes, 28);
    const uint32_t bitsPerPixel = bigEndian(bytes, 44);
    const uint32_t bytesPerLine = bigEndian(bytes, 48);
    const uint32_t masks[3] = {bigEndian(bytes, 56), bigEndian(bytes, 60), bigEndian(bytes, 64)};
    const uint32_t colours = bigEndian(bytes, 76);
    const size_t start = size_t(headerSize) + size_t(colours) * 12;
    const uint32_t bytesPerPixel = bitsPerPixel / 8;
    if ((bytesPerPixel != 3 && bytesPerPixel != 4) || width == 0 || height == 0 || bytesPerLine < width * bytesPerPixel ||
        start + size_t(bytesPerLine) * height > bytes.size()) {
        return shot;
    }
    shot.width = static_cast<int>(width);
    shot.height = static_cast<int>(height);
    shot.pixels.resize(size_t(width) * height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const size_t at = start + size_t(y) * bytesPerLine + size_t(x) * bytesPerPixel;
            uint32_t v = 0;
            for (uint32_t i = 0; i < bytesPerPixel; ++i) {
                const uint32_t byte = uint8_t(bytes[at + i]);
                v |= byteOrder == 0 ? byte << (8 * i) : byte << (8 * (bytesPerPixel - 1 - i));
            }
            shot.pixels[size_t(y) * width + x] = {channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2])};
        }
    }
    return shot;
}

inline Screenshot grab(Run& run)
{
    const std::filesystem::path file = run.workDir.path() / "screen.xwd";
    const std::string command =
        "xwd -root -silent -display " + run.display.name() + " -out " + file.string() + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    return parseXwd(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

// Overlay text: yellow (0.9, 0.9, 0) at 0.85 alpha, over whatever lies behind.
inline bool isText(const Rgb& c) { return c.r > 170 && c.g > 170 && c.b < 100; }
// Behind the translucent black panel nothing is brighter than half.
inline bool isUnderPanel(const Rgb& c) { return c.r <= 130 && c.g <= 130 && c.b <= 130; }

// The corners of the panel's title band and body, clear of any text.
inline const std::pair<int, int> PANEL_CORNERS[] = {{CX - 245, CY - 245}, {CX + 245, CY - 105}, {CX - 245, CY - 45}, {CX + 245, CY + 235}};

inline bool panelShowing(const Screenshot& shot)
{
    for (auto [x, y] : PANEL_CORNERS) {
        if (!isUnderPanel(shot.at(x, y))) {
            return false;
        }
    }
    return true;
}

// Also tells a frame drawn for the full screen from one drawn before the switch.
inline bool menuShowing(const Screenshot& shot)
{
    return shot.width == SCREEN_W && panelShowing(shot) &&
           shot.count(CX - 180, CY - 235, 190, 50, isText) > 50 &&   // "Tumbrix"
           shot.count(CX - 155, CY - 40, 200, 40, isText) > 50;      // "Continue (Stage 1)"
}

inline bool hudShowing(const Screenshot& shot)
{
    return shot.width == SCREEN_W && shot.count(CX - 60, 15, 120, 50, isText) > 20 &&   // the time
           shot.count(CX - 180, CY - 235, 190, 50, isText) == 0;
}

inline bool tallyShowing(const Screenshot& shot)
{
    // "Stage 1 cleared" begins left of where the menu's title does.
    return shot.width == SCREEN_W && shot.count(CX - 220, CY - 195, 34, 50, isText) > 20;
}

template <typename Condition>
bool waitForScreen(Run& run, Condition condition, Screenshot& last)
{
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(SCREEN_TIMEOUT_MS)) {
        last = grab(run);
        if (condition(last)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
}

inline bool isFrameRateTitle(const std::string& title)
{
    const std::string prefix = "Tumbrix Velquor FPS: ";
    if (title.rfind(prefix, 0) != 0 || title.size() == prefix.size()) {
        return false;
    }
    return title.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

inline std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace e2e
