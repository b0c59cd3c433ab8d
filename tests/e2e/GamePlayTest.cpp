// The real game binary on its own virtual screen, on fixture data: the menu over the stage,
// a stage played to its finish with the up arrow, the tally, the save file, the title.
#include "E2e.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int CX = e2e::SCREEN_W / 2;
constexpr int CY = e2e::SCREEN_H / 2;
constexpr int SCREEN_TIMEOUT_MS = 60000;

// Three cubes in a row along +y; the ball starts on the first and the finish stands above
// the third, two cubes ahead.
const char* const ROW_STAGE =
    "face.png\nface.png\n24\n90\n0 0 1.35\n0 4 1.7\n0\n1\n0 1 1.5\n3\n0 0 0\n0 2 0\n0 4 0\nup up and away\n";

void writeFixture(const testsupport::ScratchDir& dir)
{
    const fs::path from = testsupport::sourceDir() / "data";
    const fs::path to = dir.path() / "data";
    testsupport::copyGameAssets(to);
    // A blue face and sky keep the scene clear of the overlay's yellow.
    fs::copy_file(from / "levels" / "levelTextures" / "face_blue_tiles.png", to / "levels" / "levelTextures" / "face.png");
    dir.write("data/levels/level1.txt", ROW_STAGE);
    dir.write("data/levels/level2.txt", ROW_STAGE);
}

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

uint32_t bigEndian(const std::string& bytes, size_t at)
{
    return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
           (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint32_t(uint8_t(bytes[at + 3]));
}

int channel(uint32_t value, uint32_t mask)
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
Screenshot parseXwd(const std::string& bytes)
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

Screenshot grab(e2e::Run& run)
{
    const fs::path file = run.workDir.path() / "screen.xwd";
    const std::string command =
        "xwd -root -silent -display " + run.display.name() + " -out " + file.string() + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    return parseXwd(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

// Overlay text: yellow (0.9, 0.9, 0) at 0.85 alpha, over whatever lies behind.
bool isText(const Rgb& c) { return c.r > 170 && c.g > 170 && c.b < 100; }
// Behind the translucent black panel nothing is brighter than half.
bool isUnderPanel(const Rgb& c) { return c.r <= 130 && c.g <= 130 && c.b <= 130; }

// The corners of the panel's title band and body, clear of any text.
const std::pair<int, int> PANEL_CORNERS[] = {{CX - 245, CY - 245}, {CX + 245, CY - 105}, {CX - 245, CY - 45}, {CX + 245, CY + 235}};

bool panelShowing(const Screenshot& shot)
{
    for (auto [x, y] : PANEL_CORNERS) {
        if (!isUnderPanel(shot.at(x, y))) {
            return false;
        }
    }
    return true;
}

// Also tells a frame drawn for the full screen from one drawn before the switch.
bool menuShowing(const Screenshot& shot)
{
    return shot.width == e2e::SCREEN_W && panelShowing(shot) &&
           shot.count(CX - 180, CY - 235, 190, 50, isText) > 50 &&   // "Tumbrix"
           shot.count(CX - 155, CY - 40, 200, 40, isText) > 50;      // "Continue (Stage 1)"
}

bool hudShowing(const Screenshot& shot)
{
    return shot.width == e2e::SCREEN_W && shot.count(CX - 60, 15, 120, 50, isText) > 20 &&   // the time
           shot.count(CX - 180, CY - 235, 190, 50, isText) == 0;
}

bool tallyShowing(const Screenshot& shot)
{
    // "Stage 1 cleared" begins left of where the menu's title does.
    return shot.width == e2e::SCREEN_W && shot.count(CX - 220, CY - 195, 34, 50, isText) > 20;
}

template <typename Condition>
bool waitForScreen(e2e::Run& run, Condition condition, Screenshot& last)
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

bool isFrameRateTitle(const std::string& title)
{
    const std::string prefix = "Tumbrix Velquor FPS: ";
    if (title.rfind(prefix, 0) != 0 || title.size() == prefix.size()) {
        return false;
    }
    return title.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(GamePlay, MenuThenAStageWonWithTheUpArrowAndSaved)
{
    e2e::Run run;
    writeFixture(run.workDir);
    ASSERT_TRUE(run.start("tumbrix")) << run.program->output();
    ASSERT_TRUE(run.fullScreen()) << run.program->output();

    Screenshot shot;
    // The panel darkens the stage behind it; the title and the Continue item stand on it.
    ASSERT_TRUE(waitForScreen(run, menuShowing, shot)) << run.program->output();
    // The highlight lines under the Continue item: translucent yellow, the top one longest.
    auto highlight = [](const Rgb& c) { return c.r > 100 && c.g > 100 && c.b < c.r / 2; };
    EXPECT_GT(shot.count(CX + 163, CY - 8, 6, 8, highlight), 2);
    EXPECT_EQ(shot.count(CX + 175, CY - 8, 10, 8, highlight), 0);
    const std::string title = run.display.windowTitle(run.window);
    EXPECT_TRUE(isFrameRateTitle(title)) << "title: \"" << title << "\"";

    ASSERT_TRUE(run.key("Return"));
    ASSERT_TRUE(waitForScreen(run, hudShowing, shot)) << "the stage did not start";
    EXPECT_FALSE(panelShowing(shot));

    // Held, the up arrow steps on by itself until the finish two cubes ahead.
    ASSERT_TRUE(run.display.xdotool("keydown Up"));
    const bool won = waitForScreen(run, tallyShowing, shot);
    run.display.xdotool("keyup Up");
    ASSERT_TRUE(won) << "no tally after holding up";
    EXPECT_TRUE(panelShowing(shot));
    EXPECT_FALSE(fs::exists(run.workDir.path() / "data" / "DoNotReadMe.txt"));

    ASSERT_TRUE(run.key("Return"));
    const fs::path save = run.workDir.path() / "data" / "DoNotReadMe.txt";
    std::string saved;
    for (int i = 0; i < 100 && saved.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        saved = readFile(save);
    }
    ASSERT_EQ(saved.rfind("2 ", 0), 0u) << "save file: \"" << saved << "\"";
    const int score = std::atoi(saved.c_str() + 2);
    EXPECT_GT(score, 100);   // the coin on the way and some seconds left
    EXPECT_EQ(saved, "2 " + std::to_string(score));
    EXPECT_TRUE(waitForScreen(run, menuShowing, shot)) << "no menu after the tally";
    EXPECT_TRUE(isFrameRateTitle(run.display.windowTitle(run.window)));

    ASSERT_TRUE(run.key("Escape"));
    std::optional<int> status = run.program->wait(e2e::EXIT_TIMEOUT_MS);
    ASSERT_TRUE(status.has_value()) << "still running after Escape";
    EXPECT_EQ(*status, 0) << run.program->output();
    EXPECT_EQ(readFile(save), saved);   // nothing is written at exit
}
