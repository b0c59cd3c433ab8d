// A whole session of the real game, for the sanitizers (this test) and for valgrind
// (scripts/valgrind-session.sh runs the disabled copy on an unsanitized build): the menu, a
// stage played to its finish, the end screen with a new highscore and a typed name, a stage
// lost on time, a stage lost by a fall, then Escape. Nothing may be reported and the game
// ends with status 0, having written the save file and the table.
#include "BadFiles.h"
#include "e2e/E2e.h"
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Three cubes in a row along +y: the ball starts on the first, the die lies on the second,
// the finish stands above the third. The fall radius is in world units, the limit in seconds.
// The stage checker's fastest route for it is "hold Up (2 steps)", which is what the session plays.
std::string rowStage(int fallRadius, int timeLimit)
{
    return "face.png\nsky.png\n" + std::to_string(fallRadius) + "\n" + std::to_string(timeLimit) +
           "\n0 0 1.35\n0 4 1.7\n1\n0 2 1.5\n1\n0 1 1.5\n3\n0 0 0\n0 2 0\n0 4 0\nall the way\n";
}

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeData(const testsupport::ScratchDir& dir)
{
    const fs::path from = testsupport::sourceDir() / "data";
    const fs::path to = dir.path() / "data";
    ASSERT_TRUE(badfiles::linkDataFolder(from, to));
    // Every shipped stage file goes: the stage written below is the only one.
    std::vector<fs::path> shipped;
    for (const fs::directory_entry& entry : fs::directory_iterator(to / "levels")) {
        if (entry.path().filename().string().rfind("level", 0) == 0 && entry.path().extension() == ".txt") {
            shipped.push_back(entry.path());
        }
    }
    for (const fs::path& stage : shipped) {
        fs::remove(stage);
    }
    fs::create_symlink(from / "levels" / "levelTextures" / "face_blue_tiles.png", to / "levels" / "levelTextures" / "face.png");
    fs::create_symlink(from / "levels" / "levelTextures" / "sky_dusk.png", to / "levels" / "levelTextures" / "sky.png");
    // The only stage: winning it ends the game, and any total beats this table.
    dir.write("data/levels/level1.txt", rowStage(24, 600));
    dir.write("data/hs.txt", "ann 3\nbob 2\ncyd 1\n");
}

struct Session {
    fs::path program;                 // the game, or valgrind
    std::vector<std::string> args;    // valgrind's options and the game
    int slowdown = 1;                 // how much slower than the sanitized game it runs
};

// Holds keys until `done` or timeoutMs; true when done.
template <typename Done>
bool until(int timeoutMs, Done done)
{
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(timeoutMs)) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return done();
}

void playSession(const Session& session)
{
    const int scale = session.slowdown;
    testsupport::VirtualDisplay display(e2e::SCREEN_W, e2e::SCREEN_H);
    ASSERT_TRUE(display.ok());
    testsupport::ScratchDir dir;
    writeData(dir);
    const char* asan = std::getenv("ASAN_OPTIONS");
    testsupport::ChildProcess game(session.program, session.args, dir.path(),
        {"DISPLAY=" + display.name(), "ASAN_OPTIONS=" + std::string(asan != nullptr ? asan : "") + ":detect_leaks=0"});
    ASSERT_TRUE(game.started());
    const unsigned long window = display.waitForWindow(e2e::START_TIMEOUT_MS * scale);
    ASSERT_NE(window, 0u) << game.output();
    // As e2e::Run::key, slower: focus first, then type at the focus, never at the window by id.
    auto key = [&](const std::string& keys) {
        return display.xdotool("windowfocus --sync " + std::to_string(window)) && display.xdotool("key --delay 150 " + keys);
    };
    ASSERT_TRUE(until(60000 * scale, [&] { return display.windowTitle(window).rfind("Tumbrix Velquor FPS: ", 0) == 0; }))
        << "no frames: " << game.output();

    // Continue (stage 1), then up held to the finish; the end screen asks for a name.
    const fs::path save = dir.path() / "data" / "DoNotReadMe.txt";
    const fs::path table = dir.path() / "data" / "hs.txt";
    ASSERT_TRUE(key("Return"));
    const bool named = until(180000 * scale, [&] {
        display.xdotool("keydown Up");
        std::this_thread::sleep_for(std::chrono::milliseconds(2000 * scale));
        display.xdotool("keyup Up");
        key("z e d Return");
        return readFile(table).find("zed ") != std::string::npos;
    });
    ASSERT_TRUE(named) << "no new highscore entered: " << readFile(table) << "\n" << game.output();
    EXPECT_TRUE(until(5000 * scale, [&] { return readFile(save).rfind("2 ", 0) == 0; })) << readFile(save);
    const std::string saved = readFile(save);

    // Continue: stage 2 has no file, so stage 1 again, now with two seconds on the clock.
    dir.write("data/levels/level1.txt", rowStage(24, 2));
    ASSERT_TRUE(key("Return"));
    std::this_thread::sleep_for(std::chrono::milliseconds(6000 * scale));
    EXPECT_TRUE(game.running()) << game.output();

    // Continue once more on a stage whose start already lies beyond its fall radius.
    dir.write("data/levels/level1.txt", rowStage(1, 600));
    ASSERT_TRUE(key("Return"));
    std::this_thread::sleep_for(std::chrono::milliseconds(4000 * scale));
    ASSERT_TRUE(key("Up"));
    std::this_thread::sleep_for(std::chrono::milliseconds(2000 * scale));

    ASSERT_TRUE(key("Escape"));
    const std::optional<int> status = game.wait(e2e::EXIT_TIMEOUT_MS * scale);
    ASSERT_TRUE(status.has_value()) << "still running after Escape";
    const std::string output = game.output();
    EXPECT_EQ(*status, 0) << output;
    EXPECT_EQ(output.find("ERROR: AddressSanitizer"), std::string::npos) << output;
    EXPECT_EQ(output.find("runtime error"), std::string::npos) << output;
    EXPECT_EQ(output.find("ERROR SUMMARY: "), output.find("ERROR SUMMARY: 0 errors")) << output;
    // Losing saves nothing: the save still holds the won stage.
    EXPECT_EQ(readFile(save), saved);
    std::printf("session console:\n%s\n", output.c_str());
}

} // namespace

TEST(CleanSession, MenuWinHighscoreTimeOutFallAndEscapeUnderTheSanitizers)
{
    playSession({testsupport::binaryDir() / "tumbrix", {}, 1});
}

// For scripts/valgrind-session.sh: the game named by TUMBRIX_VALGRIND_GAME (an unsanitized
// build) under memcheck with the suppressions in tests/reliability/valgrind.supp.
TEST(CleanSession, DISABLED_UnderValgrind)
{
    const char* game = std::getenv("TUMBRIX_VALGRIND_GAME");
    ASSERT_NE(game, nullptr) << "set TUMBRIX_VALGRIND_GAME to an unsanitized tumbrix";
    const std::string suppressions = (testsupport::sourceDir() / "tests" / "reliability" / "valgrind.supp").string();
    playSession({"/usr/bin/valgrind",
        {"--tool=memcheck", "--error-exitcode=99", "--track-origins=no", "--leak-check=no", "--num-callers=40",
            "--suppressions=" + suppressions, game},
        20});
}
