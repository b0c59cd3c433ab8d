// The save file, the records file and the highscore file survive the game being killed while
// it writes them: a writer that rewrites all three through the game's own code, round after
// round, is killed with SIGKILL at a random moment, again and again. After every kill each
// file must hold exactly the text of a round that was written in full (the old contents or
// newer ones), never a mixture, never nothing, and the game's readers must accept it.
// TUMBRIX_KILL_ROUNDS sets the number of kills (scripts/killtest.sh runs a thousand).
#include "apps/KillRounds.h"
#include "gui/HighscoreFile.h"
#include "gui/SaveFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int DEFAULT_KILLS = 60;
constexpr int START_TIMEOUT_MS = 30000;
constexpr int MAX_DELAY_US = 20000;   // kills land up to this long after the writer's first write

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The highscore text after round n: the three latest totals under the writer's name.
std::string tableAfterRound(int n)
{
    HighscoreEntry table[HIGHSCORE_RANKS] = {{"kill", 10 * n}, {"kill", 10 * (n - 1)}, {"kill", 10 * (n - 2)}};
    return highscoreFileText(table);
}

// The round whose text `text` is exactly, or -1 when it is no round's text.
int saveRound(const std::string& text)
{
    SaveState state;
    if (!readSaveText(text, state) || text != saveFileText(SaveState{state.stage, state.stage * 10})) {
        return -1;
    }
    return state.stage;
}

int tableRound(const std::string& text)
{
    HighscoreEntry table[HIGHSCORE_RANKS];
    if (readHighscoreText(text, table) != HIGHSCORE_VALUES || table[0].score % 10 != 0 ||
        text != tableAfterRound(table[0].score / 10)) {
        return -1;
    }
    return table[0].score / 10;
}

int recordsRound(const std::string& text)
{
    Records records;
    int skipped = 0;
    if (!records.parseText(text, KILL_RECORD_STAGES, skipped) || skipped != 0 || records.find(1) == nullptr) {
        return -1;
    }
    const int round = static_cast<int>(records.find(1)->bestStepsAt);
    return text == recordsOfRound(round).recordsText() ? round : -1;
}

// Starts the writer in `dir`, waits for its first write, lets it run for `delayUs` and kills
// it. False when it could not be started or did not get going.
bool runAndKill(const fs::path& dir, int delayUs, std::string& problem)
{
    int out[2];
    if (pipe(out) != 0) {
        problem = "pipe failed";
        return false;
    }
    const std::string program = (testsupport::binaryDir() / "save_writer_app").string();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        if (chdir(dir.c_str()) == 0) {
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    close(out[1]);
    if (pid < 0) {
        close(out[0]);
        problem = "fork failed";
        return false;
    }

    // "writing\n" arrives before the first write.
    std::string said;
    pollfd wait{out[0], POLLIN, 0};
    while (said.find('\n') == std::string::npos && poll(&wait, 1, START_TIMEOUT_MS) > 0) {
        char buffer[64];
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        said.append(buffer, static_cast<size_t>(n));
    }
    const bool going = said == "writing\n";
    if (going) {
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(out[0]);
    if (!going) {
        problem = "the writer did not start: '" + said + "'";
        return false;
    }
    if (!WIFSIGNALED(status)) {
        problem = "the writer ended by itself, status " + std::to_string(status);
        return false;
    }
    return true;
}

} // namespace

TEST(SavesSurviveKills, EveryKillLeavesOldOrNewContentsOfEveryFile)
{
    const char* env = std::getenv("TUMBRIX_KILL_ROUNDS");
    const int kills = env != nullptr && std::atoi(env) > 0 ? std::atoi(env) : DEFAULT_KILLS;

    testsupport::ScratchDir dir;
    const fs::path save = dir.write("data/DoNotReadMe.txt", saveFileText(SaveState{1, 10}));
    const fs::path table = dir.write("data/hs.txt", tableAfterRound(1));
    const fs::path records = dir.write("data/records.txt", recordsOfRound(1).recordsText());

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delay(0, MAX_DELAY_US);
    int lastSave = 1;
    int lastTable = 1;
    int lastRecords = 1;
    int cutMidWrite = 0;   // kills that left a temporary file behind: the writer was inside a write
    for (int i = 0; i < kills; ++i) {
        std::string problem;
        ASSERT_TRUE(runAndKill(dir.path(), delay(random), problem)) << "kill " << i << ": " << problem;

        const std::string saveText = readAll(save);
        const std::string tableText = readAll(table);
        const int saveNow = saveRound(saveText);
        const int tableNow = tableRound(tableText);
        const std::string recordsText = readAll(records);
        const int recordsNow = recordsRound(recordsText);
        ASSERT_GE(saveNow, lastSave) << "kill " << i << ": save file holds '" << saveText << "'";
        ASSERT_GE(tableNow, lastTable) << "kill " << i << ": highscore file holds '" << tableText << "'";
        ASSERT_GE(recordsNow, lastRecords) << "kill " << i << ": records file holds '" << recordsText << "'";
        // Each round writes the save, the records, the table in that order, so none runs
        // ahead of the one written before it.
        ASSERT_LE(recordsNow, saveNow)
            << "kill " << i << ": save of round " << saveNow << ", records of round " << recordsNow;
        ASSERT_LE(tableNow, recordsNow)
            << "kill " << i << ": records of round " << recordsNow << ", table of round " << tableNow;
        ASSERT_FALSE(fs::exists(dir.path() / "data/records.txt.damaged")) << "kill " << i << ": the reader found a damaged file";
        lastSave = saveNow;
        lastTable = tableNow;
        lastRecords = recordsNow;
        cutMidWrite += fs::exists(dir.path() / "data/DoNotReadMe.txt.tmp") || fs::exists(dir.path() / "data/hs.txt.tmp") ||
                       fs::exists(dir.path() / "data/records.txt.tmp");
    }

    // The game reads what the kills left.
    SaveState state;
    EXPECT_TRUE(readSaveFile(save.string(), state));
    EXPECT_EQ(state.stage, lastSave);
    HighscoreEntry entries[HIGHSCORE_RANKS];
    EXPECT_EQ(readHighscoreFile(table.string(), entries), HIGHSCORE_VALUES);
    Records read;
    {
        testsupport::StdoutCapture capture;
        EXPECT_EQ(read.load(records.string(), KILL_RECORD_STAGES).status, SideFileStatus::Read);
        EXPECT_EQ(capture.finish(), "");
    }
    EXPECT_EQ(read.recordsText(), recordsOfRound(lastRecords).recordsText());
    EXPECT_GT(lastSave, 1) << "no round was ever completed: the kills came too early to test anything";
    std::printf("%d kills, %d rounds written, %d kills left a half-written temporary file\n", kills, lastSave - 1,
                cutMidWrite);
}
