#include "progress/Records.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string contentsOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Loaded {
    Records records;
    SideFileResult result;
    std::string output;   // what the game said on the console
};

Loaded load(const fs::path& file, int stageCount = 100)
{
    Loaded loaded;
    testsupport::StdoutCapture capture;
    loaded.result = loaded.records.load(file.string(), stageCount);
    loaded.output = capture.finish();
    return loaded;
}

int countLines(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// Runs this test program's test `name` alone as the unprivileged user "nobody"; its exit status.
int runAsNobody(const std::string& name)
{
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(126);
        }
        const std::string filter = "--gtest_filter=" + name;
        ::execl("/proc/self/exe", "test_progress", filter.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TEST(Records, WinsSavedAndLoadedComeBackTheSame)
{
    testsupport::ScratchDir dir;
    const fs::path file = dir.path() / "records.txt";
    Records records;
    records.recordWin(12, 1234, 1130, 1765300000);
    records.recordWin(3, 164, 200, 1765300100);
    records.recordWin(100, 1980, 240, 1765300200);
    ASSERT_TRUE(records.save(file.string()));
    EXPECT_EQ(contentsOf(file), "tumbrix-records 1\n"
                                "stage 3 time 164 1765300100 score 200 1765300100\n"
                                "stage 12 time 1234 1765300000 score 1130 1765300000\n"
                                "stage 100 time 1980 1765300200 score 240 1765300200\n");

    const Loaded loaded = load(file);
    EXPECT_EQ(loaded.result.status, SideFileStatus::Read);
    EXPECT_EQ(loaded.output, "");
    EXPECT_EQ(loaded.records.recordsText(), records.recordsText());
    ASSERT_NE(loaded.records.find(12), nullptr);
    EXPECT_EQ(loaded.records.find(12)->bestSteps, 1234);
    EXPECT_EQ(loaded.records.find(12)->bestScore, 1130);
    EXPECT_EQ(loaded.records.find(12)->bestScoreAt, 1765300000);
    EXPECT_EQ(loaded.records.find(4), nullptr);

    // No file is a first start: no records, nothing said, nothing written.
    const Loaded none = load(dir.path() / "none.txt");
    EXPECT_EQ(none.result.status, SideFileStatus::Missing);
    EXPECT_TRUE(none.records.all().empty());
    EXPECT_EQ(none.output, "");
    EXPECT_FALSE(fs::exists(dir.path() / "none.txt"));
}

TEST(Records, BetterOfTwoWinsKeptForTimeAndScoreEachOnItsOwn)
{
    Records records;
    RecordWin first = records.recordWin(5, 600, 150, 1000);
    EXPECT_TRUE(first.firstWin);
    EXPECT_TRUE(first.newBestTime);
    EXPECT_TRUE(first.newBestScore);
    EXPECT_EQ(first.previousBestSteps, 0);

    // Quicker but with fewer coins: the time is new, the score stays.
    RecordWin quicker = records.recordWin(5, 540, 100, 2000);
    EXPECT_FALSE(quicker.firstWin);
    EXPECT_TRUE(quicker.newBestTime);
    EXPECT_FALSE(quicker.newBestScore);
    EXPECT_EQ(quicker.previousBestSteps, 600);
    EXPECT_EQ(quicker.previousBestScore, 150);

    // Slower with more coins: the score is new, the time stays.
    RecordWin richer = records.recordWin(5, 700, 400, 3000);
    EXPECT_FALSE(richer.newBestTime);
    EXPECT_TRUE(richer.newBestScore);
    EXPECT_EQ(richer.previousBestSteps, 540);

    // A tie improves nothing and keeps the moment the best was first reached.
    RecordWin tie = records.recordWin(5, 540, 400, 4000);
    EXPECT_FALSE(tie.improved());

    const StageRecord* r = records.find(5);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->bestSteps, 540);
    EXPECT_EQ(r->bestStepsAt, 2000);
    EXPECT_EQ(r->bestScore, 400);
    EXPECT_EQ(r->bestScoreAt, 3000);

    // What is no win changes nothing.
    EXPECT_FALSE(records.recordWin(0, 100, 100, 1).improved());
    EXPECT_FALSE(records.recordWin(6, 0, 100, 1).improved());
    EXPECT_EQ(records.all().size(), 1u);
}

TEST(Records, DamagedLinesSkippedWithTheirLineAndTheRestWrittenBack)
{
    testsupport::ScratchDir dir;
    const fs::path file = dir.write("records.txt", "tumbrix-records 1\n"
                                                   "stage 1 time 164 1765300000 score 200 1765300000\n"
                                                   "stage 0 time 164 1765300000 score 200 1765300000\n"
                                                   "stage 2 time 3x1 1765300000 score 200 1765300000\n"
                                                   "stage 3 time 400 1765300000 score 99999999999 1765300000\n"
                                                   "\n"
                                                   "what is this\n"
                                                   "stage 1 time 100 1765300000 score 900 1765300000\n"
                                                   "stage 4 time 500 1765300001 score 310 1765300002\r\n"
                                                   "stage 150 time 900 1765300001 score 310 1765300002\n");
    const Loaded loaded = load(file, 100);
    EXPECT_EQ(loaded.result.status, SideFileStatus::Skipped);
    EXPECT_EQ(loaded.result.skipped, 5);
    const std::string where = "records: [" + file.string() + "] line ";
    EXPECT_EQ(countLines(loaded.output, where + "3: stage 0 out of range"), 1) << loaded.output;
    EXPECT_EQ(countLines(loaded.output, where + "4: bad time '3x1'"), 1) << loaded.output;
    EXPECT_EQ(countLines(loaded.output, where + "5: score 99999999999 out of range"), 1) << loaded.output;
    EXPECT_EQ(countLines(loaded.output, where + "7: not a record"), 1) << loaded.output;
    EXPECT_EQ(countLines(loaded.output, where + "8: a second record of stage 1"), 1) << loaded.output;
    EXPECT_EQ(countLines(loaded.output, "skipped"), 5) << loaded.output;

    // The first line of a stage counts; a stage beyond the stages there are now (a player's
    // own stage whose file is away) is kept for when it returns.
    ASSERT_NE(loaded.records.find(1), nullptr);
    EXPECT_EQ(loaded.records.find(1)->bestSteps, 164);
    EXPECT_EQ(loaded.records.find(2), nullptr);
    ASSERT_NE(loaded.records.find(4), nullptr);
    EXPECT_EQ(loaded.records.find(4)->bestScoreAt, 1765300002);
    EXPECT_NE(loaded.records.find(150), nullptr);
    const std::string good = "tumbrix-records 1\n"
                             "stage 1 time 164 1765300000 score 200 1765300000\n"
                             "stage 4 time 500 1765300001 score 310 1765300002\n"
                             "stage 150 time 900 1765300001 score 310 1765300002\n";
    EXPECT_EQ(contentsOf(file), good);

    // Read again, the file is clean and nothing is said.
    const Loaded again = load(file, 100);
    EXPECT_EQ(again.result.status, SideFileStatus::Read);
    EXPECT_EQ(again.output, "");

    // The text form reads the same.
    Records text;
    int skipped = -1;
    EXPECT_TRUE(text.parseText(good + "junk\n", 100, skipped));
    EXPECT_EQ(skipped, 1);
    EXPECT_EQ(text.recordsText(), good);
    EXPECT_FALSE(text.parseText("tumbrix-records 2\n" + good.substr(good.find('\n') + 1), 100, skipped));
    EXPECT_TRUE(text.all().empty());
}

TEST(Records, UnreadableFilesKeptAsideUnderNewNamesAndNeverOverwritten)
{
    testsupport::ScratchDir dir;
    const std::string junk("\x89PNG\r\n\x1a\n\0\0\0\rIHDR binary junk", 28);
    const fs::path file = dir.write("records.txt", junk);

    // Records held before are not mixed with a file that cannot be read.
    Loaded loaded;
    loaded.records.recordWin(9, 300, 10, 1);
    {
        testsupport::StdoutCapture capture;
        loaded.result = loaded.records.load(file.string(), 100);
        loaded.output = capture.finish();
    }
    EXPECT_EQ(loaded.result.status, SideFileStatus::KeptAside);
    EXPECT_TRUE(loaded.records.all().empty());
    EXPECT_EQ(loaded.result.asidePath, file.string() + ".damaged");
    EXPECT_EQ(contentsOf(file.string() + ".damaged"), junk);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(countLines(loaded.output, "records: [" + file.string() + "]"), 1) << loaded.output;
    EXPECT_EQ(countLines(loaded.output, "starts without it"), 1) << loaded.output;

    // The game goes on, wins, and saves: a new file, the damaged one untouched.
    loaded.records.recordWin(1, 200, 100, 5);
    ASSERT_TRUE(loaded.records.save(file.string()));
    EXPECT_EQ(contentsOf(file.string() + ".damaged"), junk);

    // A second damaged file (here one without the header) gets a second name.
    dir.write("records.txt", "stage 1 time 164 1765300000 score 200 1765300000\n");
    const Loaded second = load(file);
    EXPECT_EQ(second.result.status, SideFileStatus::KeptAside);
    EXPECT_EQ(second.result.asidePath, file.string() + ".damaged-2");
    EXPECT_EQ(contentsOf(file.string() + ".damaged"), junk);
    EXPECT_EQ(contentsOf(file.string() + ".damaged-2"), "stage 1 time 164 1765300000 score 200 1765300000\n");
}

TEST(Records, ReadOnlyFolderSaysSoOnceAndLeavesTheFilesAlone)
{
    if (::geteuid() == 0) {
        // Root writes into any folder: the case runs again in a child as the user "nobody".
        EXPECT_EQ(runAsNobody("Records.ReadOnlyFolderSaysSoOnceAndLeavesTheFilesAlone"), 0);
        return;
    }
    testsupport::ScratchDir dir;
    const fs::path folder = dir.path() / "data";
    const fs::path file = dir.write("data/records.txt", "no header here\n");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);

    // Neither moved aside nor readable: the game goes on without records and never writes
    // over that file.
    Loaded loaded = load(file);
    EXPECT_EQ(loaded.result.status, SideFileStatus::KeptAside);
    EXPECT_EQ(loaded.result.asidePath, "");
    EXPECT_TRUE(loaded.records.all().empty());
    loaded.records.recordWin(1, 200, 100, 5);
    {
        testsupport::StdoutCapture capture;
        EXPECT_FALSE(loaded.records.save(file.string()));
        const std::string said = capture.finish();
        EXPECT_EQ(countLines(said, "records: [" + file.string() + "]"), 1) << said;
    }
    EXPECT_EQ(contentsOf(file), "no header here\n");

    // A good file in a read-only folder: a win cannot be saved, which is said, not crashed on.
    fs::permissions(folder, fs::perms::owner_all);
    dir.write("data/records.txt", "tumbrix-records 1\nstage 2 time 300 1 score 20 1\n");
    fs::permissions(file, fs::perms::owner_read);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    Loaded good = load(file);
    EXPECT_EQ(good.result.status, SideFileStatus::Read);
    good.records.recordWin(2, 250, 30, 9);
    {
        testsupport::StdoutCapture capture;
        EXPECT_FALSE(good.records.save(file.string()));
        EXPECT_NE(capture.finish(), "");
    }
    EXPECT_EQ(contentsOf(file), "tumbrix-records 1\nstage 2 time 300 1 score 20 1\n");
    fs::permissions(folder, fs::perms::owner_all);
}

TEST(Records, StepsShownAsSecondsToTheHundredth)
{
    EXPECT_EQ(stepsAsSeconds(164), "2.73");
    EXPECT_EQ(stepsAsSeconds(60), "1.00");
    EXPECT_EQ(stepsAsSeconds(1), "0.02");
    EXPECT_EQ(stepsAsSeconds(1234), "20.57");
    EXPECT_EQ(stepsAsSeconds(0), "0.00");
}
