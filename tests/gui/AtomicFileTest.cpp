#include "progress/AtomicFile.h"
#include "gui/HighscoreFile.h"
#include "gui/SaveFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string contentsOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Starts a child process that saves `first` and `second` in turn for ever, kills it after a
// random moment of up to 20 ms (a synced write can take several ms) and waits for it to end.
template <typename Save>
void killWhileSaving(std::mt19937& random, Save save)
{
    const pid_t child = ::fork();
    if (child == 0) {
        for (unsigned i = 0;; ++i) {
            save(i % 2 == 0);
        }
    }
    EXPECT_GT(child, 0);
    std::uniform_int_distribution<int> pause(0, 20000);
    ::usleep(static_cast<useconds_t>(pause(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
}

// Runs `save` in a child process, as the unprivileged user "nobody" when the tests run as
// root (root may create files in any folder, whatever its permissions say), and returns
// whether it reported success. Output goes where this process's standard output goes.
template <typename Save>
bool saveAsPlayer(Save save)
{
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        const bool ok = save();
        std::fflush(stdout);
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not become an unprivileged user";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(AtomicFile, KillWhileSavingLeavesTheOldOrTheNewSave)
{
    testsupport::ScratchDir dir;
    const std::string file = (dir.path() / "DoNotReadMe.txt").string();
    const SaveState first{3, 1130};
    const SaveState second{12, 987654321};
    ASSERT_TRUE(writeSaveFile(file, first));

    std::mt19937 random(12345);
    int sawFirst = 0;
    int sawSecond = 0;
    for (int round = 0; round < 150; ++round) {
        // Rounds alternate which contents the child saves first, so a kill after one whole save
        // can leave either.
        killWhileSaving(random, [&](bool even) { writeSaveFile(file, (even == (round % 2 == 0)) ? second : first); });
        const std::string text = contentsOf(file);
        ASSERT_TRUE(text == saveFileText(first) || text == saveFileText(second))
            << "round " << round << ": \"" << text << "\"";
        (text == saveFileText(first) ? sawFirst : sawSecond)++;
    }
    // Both contents must have been seen, or the child never got to save at all.
    EXPECT_GT(sawFirst, 0);
    EXPECT_GT(sawSecond, 0);
    // A temporary file left by a kill does not stand in the way of the next save.
    ASSERT_TRUE(writeSaveFile(file, SaveState{5, 55}));
    EXPECT_EQ(contentsOf(file), "5 55");
}

TEST(AtomicFile, KillWhileSavingHighscoresLeavesAWholeTable)
{
    testsupport::ScratchDir dir;
    const std::string file = (dir.path() / "hs.txt").string();
    const HighscoreEntry first[3] = {{"ann", 500}, {"bob", 300}, {"cy", 100}};
    const HighscoreEntry second[3] = {{"zelda", 90000}, {"ann", 500}, {"bob", 300}};
    ASSERT_TRUE(writeHighscoreFile(file, first));

    std::mt19937 random(777);
    for (int round = 0; round < 100; ++round) {
        killWhileSaving(random, [&](bool even) { writeHighscoreFile(file, even ? second : first); });
        const std::string text = contentsOf(file);
        ASSERT_TRUE(text == highscoreFileText(first) || text == highscoreFileText(second))
            << "round " << round << ": \"" << text << "\"";
    }
}

TEST(AtomicFile, FolderInTheWayIsReportedAndKept)
{
    testsupport::ScratchDir dir;
    // The target is a folder: renaming over it fails, the folder stays, no temporary file stays.
    std::filesystem::create_directories(dir.path() / "hs.txt");
    testsupport::StdoutCapture capture;
    EXPECT_FALSE(replaceFileAtomically((dir.path() / "hs.txt").string(), "ann 5\n"));
    const std::string output = capture.finish();
    EXPECT_NE(output.find("could not save ["), std::string::npos) << output;
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "hs.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "hs.txt.tmp"));
}

TEST(AtomicFile, ReadOnlyFolderFileAndLinksAreRespected)
{
    namespace fs = std::filesystem;
    testsupport::ScratchDir dir;

    // A folder that allows no new file, holding a writable table: rewritten in place, said once.
    const fs::path table = dir.write("locked/hs.txt", "ann 5\n");
    fs::permissions(table, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec);
    fs::permissions(table.parent_path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                             fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const HighscoreEntry ranks[3] = {{"zoe", 900}, {"ann", 5}, {"bob", 1}};
    testsupport::StdoutCapture capture;
    EXPECT_TRUE(saveAsPlayer([&] { return writeHighscoreFile(table.string(), ranks); }));
    std::string output = capture.finish();
    EXPECT_EQ(contentsOf(table), highscoreFileText(ranks));
    EXPECT_NE(output.find("OF_WARNING: saving [" + table.string() + "] in place"), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_FALSE(fs::exists(table.string() + ".tmp"));
    fs::permissions(table.parent_path(), fs::perms::owner_all);

    // A save the player made read-only is left alone and reported, even for root.
    const fs::path save = dir.write("DoNotReadMe.txt", "3 300");
    fs::permissions(save, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    testsupport::StdoutCapture capture2;
    EXPECT_FALSE(writeSaveFile(save.string(), SaveState{4, 400}));
    output = capture2.finish();
    EXPECT_EQ(contentsOf(save), "3 300");
    EXPECT_EQ(fs::status(save).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_NE(output.find("OF_ERROR: could not save [" + save.string() + "]: the file is read-only"), std::string::npos)
        << output;
    EXPECT_FALSE(fs::exists(save.string() + ".tmp"));

    // A save that is a link to a file elsewhere: written where it leads, the link stays a
    // link and the file keeps its permissions.
    const fs::path kept = dir.write("elsewhere/progress.txt", "1 0");
    fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path link = dir.path() / "data" / "DoNotReadMe.txt";
    fs::create_directories(link.parent_path());
    fs::create_symlink("../elsewhere/progress.txt", link);
    ASSERT_TRUE(writeSaveFile(link.string(), SaveState{5, 55}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contentsOf(kept), "5 55");
    EXPECT_EQ(fs::status(kept).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(link.string() + ".tmp"));
    EXPECT_FALSE(fs::exists(kept.string() + ".tmp"));
}
