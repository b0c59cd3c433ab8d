// The game installed as a player gets it: `cmake --install` into a scratch root (DESTDIR),
// the installed launcher started from elsewhere with a scratch home, on its own X server.
#include "e2e/E2e.h"
#include "e2e/Screens.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace e2e;

const std::string PREFIX = "usr";
const std::string DATA = PREFIX + "/share/games/tumbrix-velquor";
const std::string LAUNCHER = PREFIX + "/games/tumbrix-velquor";

// Files of the checkout's data/ that a game played from the checkout writes, never installed.
bool writtenByTheGame(const fs::path& rel)
{
    const std::string name = rel.filename().string();
    return name == "DoNotReadMe.txt" || name == "hs.txt" || name == "settings.txt" || name == "records.txt" ||
           name.find(".damaged") != std::string::npos || rel.extension() == ".tmp" || name[0] == '.' ||
           rel.begin()->string() == "replays";
}

// Every regular file below `root`, by its path relative to it, with its bytes.
std::map<std::string, std::string> filesBelow(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && !entry.is_symlink()) {
            files[fs::relative(entry.path(), root).string()] = readFile(entry.path());
        }
    }
    return files;
}

bool install(const fs::path& destdir, const fs::path& log)
{
    const std::string command = "DESTDIR='" + destdir.string() + "' cmake --install '" + testsupport::binaryDir().string() +
                                "' --prefix /" + PREFIX + " >'" + log.string() + "' 2>&1";
    return std::system(command.c_str()) == 0;
}

// A short row of cubes with the finish two cubes ahead, as a stage of the player's own.
const char* const OWN_STAGE = "face_blue_tiles.png\nface_blue_tiles.png\n24\n90\n0 0 1.35\n0 4 1.7\n0\n1\n0 1 1.5\n3\n"
                              "0 0 0\n0 2 0\n0 4 0\nmy own stage\n";

} // namespace

TEST(InstalledGame, LauncherKeepsThePlayersFilesInTheHomeFolderAndTheInstallUntouched)
{
    testsupport::ScratchDir dir;
    const fs::path root = dir.path() / "root";
    ASSERT_TRUE(install(root, dir.path() / "install.log")) << readFile(dir.path() / "install.log");

    // The data folder as the checkout has it, whatever stages and pictures that is.
    const fs::path installed = root / DATA;
    std::map<std::string, std::string> shipped;
    for (const auto& [rel, bytes] : filesBelow(testsupport::sourceDir() / "data")) {
        if (!writtenByTheGame(rel)) {
            shipped[rel] = bytes;
        }
    }
    const std::map<std::string, std::string> before = filesBelow(installed);
    ASSERT_EQ(before, shipped) << "the installed data differs from data/";
    for (const char* file : {"games/tumbrix-velquor-stagecheck", "lib/games/tumbrix-velquor/tumbrix",
             "share/applications/org.tumbrixvelquor.TumbrixVelquor.desktop",
             "share/metainfo/org.tumbrixvelquor.TumbrixVelquor.metainfo.xml",
             "share/icons/hicolor/48x48/apps/org.tumbrixvelquor.TumbrixVelquor.png",
             "share/man/man6/tumbrix-velquor.6.gz", "share/doc/tumbrix-velquor/copyright"}) {
        EXPECT_TRUE(fs::is_regular_file(root / PREFIX / file)) << file;
    }

    // A player who has played before: a save that carries a score, a stage of their own in
    // place of the first, a note, a link to a stage an upgrade removed and one into the
    // place of an older install.
    const fs::path home = dir.path() / "home";
    const fs::path playerData = home / ".local/share/tumbrix-velquor/data";
    const fs::path save = playerData / "DoNotReadMe.txt";
    dir.write("home/.local/share/tumbrix-velquor/data/DoNotReadMe.txt", "1 5000");
    dir.write("home/.local/share/tumbrix-velquor/data/levels/level1.txt", OWN_STAGE);
    dir.write("home/.local/share/tumbrix-velquor/data/notes.txt", "route: up up");
    fs::create_symlink(installed / "levels/level999.txt", playerData / "levels/level999.txt");
    fs::create_symlink("/opt/old-place/soccer.png", playerData / "soccer.png");

    e2e::Run run;
    ASSERT_TRUE(run.display.ok());
    const fs::path elsewhere = dir.path() / "elsewhere";
    fs::create_directories(elsewhere);
    const char* asan = std::getenv("ASAN_OPTIONS");
    run.program = std::make_unique<testsupport::ChildProcess>("/usr/bin/env",
        std::vector<std::string>{"-u", "XDG_DATA_HOME", (root / LAUNCHER).string()}, elsewhere,
        std::vector<std::string>{"DISPLAY=" + run.display.name(), "HOME=" + home.string(),
            "ASAN_OPTIONS=" + std::string(asan != nullptr ? asan : "") + ":detect_leaks=0"});
    run.window = run.display.waitForWindow(START_TIMEOUT_MS);
    ASSERT_NE(run.window, 0u) << run.program->output();
    ASSERT_TRUE(run.fullScreen()) << run.program->output();
    EXPECT_EQ(run.display.windowTitle(run.window).rfind("Tumbrix Velquor", 0), 0u) << run.display.windowTitle(run.window);

    // One link for every installed file but the one the player has made their own.
    const fs::path canonicalData = fs::canonical(installed);
    for (const auto& [rel, bytes] : shipped) {
        const fs::path link = playerData / rel;
        if (rel == "levels/level1.txt") {
            EXPECT_FALSE(fs::is_symlink(link));
            EXPECT_EQ(readFile(link), OWN_STAGE);
        } else {
            ASSERT_TRUE(fs::is_symlink(link)) << rel;
            EXPECT_EQ(fs::read_symlink(link), canonicalData / rel);
        }
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(playerData / "levels/level999.txt")));
    EXPECT_EQ(readFile(playerData / "notes.txt"), "route: up up");

    // The game reads the save there and writes the stage it wins there, on top of its score.
    Screenshot shot;
    ASSERT_TRUE(waitForScreen(run, menuShowing, shot)) << run.program->output();
    ASSERT_TRUE(run.key("Return"));
    ASSERT_TRUE(waitForScreen(run, hudShowing, shot)) << "the stage did not start";
    ASSERT_TRUE(run.display.xdotool("keydown Up"));
    const bool won = waitForScreen(run, tallyShowing, shot);
    run.display.xdotool("keyup Up");
    ASSERT_TRUE(won) << "no tally after holding up";
    ASSERT_TRUE(run.key("Return"));
    std::string saved;
    for (int i = 0; i < 100 && saved.rfind("2 ", 0) != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        saved = readFile(save);
    }
    ASSERT_EQ(saved.rfind("2 ", 0), 0u) << "save file: \"" << saved << "\"";
    EXPECT_GT(std::atoi(saved.c_str() + 2), 5000) << saved;

    ASSERT_TRUE(run.key("Escape"));
    std::optional<int> status = run.program->wait(EXIT_TIMEOUT_MS);
    ASSERT_TRUE(status.has_value()) << "still running after Escape";
    EXPECT_EQ(*status, 0) << run.program->output();

    // Nothing was written into the install, and an upgrade that drops a stage and adds one
    // shows in the links at the next start while the player's files stay as they are.
    EXPECT_EQ(filesBelow(installed), before);
    fs::rename(installed / "levels/level2.txt", installed / "levels/level9999.txt");
    // The links are renewed before the game starts; without a display it then ends at once.
    const std::string launcher = (root / LAUNCHER).string();
    const std::string command = "cd '" + elsewhere.string() + "' && env -u XDG_DATA_HOME HOME='" + home.string() +
                                "' DISPLAY= '" + launcher + "' >/dev/null 2>&1";
    (void)std::system(command.c_str());
    EXPECT_FALSE(fs::exists(fs::symlink_status(playerData / "levels/level2.txt")));
    EXPECT_EQ(fs::read_symlink(playerData / "levels/level9999.txt"), canonicalData / "levels/level9999.txt");
    EXPECT_EQ(readFile(save), saved);
    EXPECT_EQ(readFile(playerData / "levels/level1.txt"), OWN_STAGE);
}
