// The game's flow through a real Application: menu, playing, losing, winning, the tally and
// the save file, the last stage with the highscore entry, and the text screens.
#include "AppWorld.h"

#include "media/ofAppRunner.h"
#include "media/ofUtils.h"
#include "replay/ReplayRun.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using apptest::AppWorld;
using apptest::rowStage;

namespace {

constexpr int ENTER = Application::KEY_ENTER;
constexpr int UP = Application::KEY_UP;
constexpr int DOWN = Application::KEY_DOWN;

bool onMainMenu(const Application& app)
{
    return !app.player.stageWon && !app.playing && !app.showInfo && !app.showHighscores;
}

} // namespace

TEST(ApplicationFlow, StartsOnTheMenuOverTheStageTheSaveFileNames)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    auto second = rowStage();
    second.timeLimit = 45;
    world.writeStage(2, second);
    world.writeFile("data/DoNotReadMe.txt", "2 730");
    Application& app = world.start();
    world.frames(3);

    EXPECT_TRUE(onMainMenu(app));
    EXPECT_EQ(app.stage, 2);
    EXPECT_EQ(app.gui.totalScore, 730);
    EXPECT_FLOAT_EQ(app.level.timeLimit, 45.0f);
    EXPECT_EQ(app.level.cubes.size(), 3u);
    EXPECT_EQ(app.gui.menuCursor, 0);
    EXPECT_FALSE(app.player.stageRunning);
}

TEST(ApplicationFlow, GarbledSaveStartsAtStageOneWithNoScore)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    world.writeFile("data/DoNotReadMe.txt", "stage five");
    testsupport::StdoutCapture capture;
    Application& app = world.start();
    const std::string output = capture.finish();
    EXPECT_EQ(app.stage, 1);
    EXPECT_EQ(app.gui.totalScore, 0);
    EXPECT_NE(output.find("save file: [data/DoNotReadMe.txt]"), std::string::npos) << output;
    // Reading is all it does: the file is only ever written when a won stage is left.
    EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "stage five");
}

TEST(ApplicationFlow, TimeOutReturnsToTheMenuWithoutSaving)
{
    AppWorld world;
    auto quick = rowStage();
    quick.timeLimit = 1.0f;
    world.writeStage(1, quick);
    world.writeFile("data/DoNotReadMe.txt", "1 500");
    Application& app = world.start();
    world.frame();
    world.tap(ENTER);
    ASSERT_TRUE(app.playing);

    ASSERT_TRUE(world.framesUntil([&] { return !app.playing; }, 2000));
    EXPECT_LT(app.timeLeft, 0.0f);
    EXPECT_TRUE(onMainMenu(app));
    EXPECT_FALSE(app.player.stageWon);
    EXPECT_EQ(app.stage, 1);
    EXPECT_EQ(app.gui.totalScore, 500);
    EXPECT_EQ(app.gui.menuCursor, 0);
    EXPECT_TRUE(app.sounds.loseSound.getIsPlaying());
    EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "1 500");
}

TEST(ApplicationFlow, TimeLeftOfExactlyZeroDoesNotEndTheStage)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    Application& app = world.start();
    world.chooseContinue();

    // The clock counts whole milliseconds: put the end on a coming millisecond and update
    // as soon as the clock reaches it, until an update samples exactly that time.
    int exactZero = 0;
    for (int attempt = 0; attempt < 50 && exactZero < 3; ++attempt) {
        if (!app.playing) {
            world.chooseContinue();
        }
        const int target = ofGetElapsedTimeMillis() + 3;
        app.endTime = static_cast<float>(target / 1000.0);
        while (ofGetElapsedTimeMillis() < target) {
        }
        app.update();
        if (app.timeLeft == 0.0f) {
            ++exactZero;
            EXPECT_TRUE(app.playing);
            EXPECT_TRUE(app.player.stageRunning);
        } else {
            EXPECT_LT(app.timeLeft, 0.0f);
            EXPECT_FALSE(app.playing);
        }
        app.endTime = app.now + 100.0f;
    }
    EXPECT_GT(exactZero, 0) << "no update ever sampled the same millisecond";
}

TEST(ApplicationFlow, FallingOutReturnsToTheMenuWithoutSaving)
{
    AppWorld world;
    auto small = rowStage();
    small.fallRadius = 1.0f;   // the start, 1.35 from the origin, is already outside
    world.writeStage(1, small);
    Application& app = world.start();
    world.chooseContinue();
    ASSERT_TRUE(world.framesUntil([&] { return !app.playing; }, 10));
    EXPECT_TRUE(onMainMenu(app));
    EXPECT_TRUE(app.sounds.loseSound.getIsPlaying());
    EXPECT_FALSE(world.exists("data/DoNotReadMe.txt"));
}

TEST(ApplicationFlow, WinningShowsTheTallyAndEnterSavesTheNextStage)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    world.writeStage(2, rowStage());
    world.writeFile("data/DoNotReadMe.txt", "1 40");
    Application& app = world.start();
    world.chooseContinue();
    ASSERT_TRUE(world.winRowStage());

    world.frames(3);
    EXPECT_FALSE(app.allCleared);   // stage 2 exists: the tally, not the end
    EXPECT_FALSE(app.playing);
    EXPECT_EQ(app.gui.coinsCollected, 1);
    EXPECT_EQ(app.gui.diceCollected, 1);
    EXPECT_EQ(app.gui.objectBonus, 100);
    // Ten points for each whole second of the 90 left when the finish was reached.
    EXPECT_GT(app.gui.timeBonus, 0);
    EXPECT_LE(app.gui.timeBonus, 900);
    EXPECT_EQ(app.gui.timeBonus % 10, 0);
    const int expected = 40 + app.gui.timeBonus + app.gui.objectBonus;
    EXPECT_EQ(app.gui.totalScore, expected);
    // Nothing is saved before Enter; keys other than Enter do nothing here.
    EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "1 40");
    world.tap(UP);
    world.tap('x');
    world.frame();
    EXPECT_TRUE(app.player.stageWon);

    world.tap(ENTER);
    EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "2 " + std::to_string(expected));
    world.frame();
    EXPECT_TRUE(onMainMenu(app));
    EXPECT_EQ(app.stage, 2);
    EXPECT_EQ(app.gui.totalScore, expected);
}

TEST(ApplicationFlow, LastStageAsksForANameAndStoresIt)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    world.writeStage(2, rowStage());
    world.writeFile("data/DoNotReadMe.txt", "2 100");
    world.writeFile("data/hs.txt", "ann 5000\nbob 300\ncy 100\n");
    Application& app = world.start();
    world.chooseContinue();
    ASSERT_TRUE(world.winRowStage());
    world.frame();
    ASSERT_TRUE(app.allCleared);
    ASSERT_TRUE(app.gui.newHighscore);
    const int total = app.gui.totalScore;

    // Capitals are lowered, other keys never reach the name, one letter is not enough.
    world.tap('K');
    world.tap(ENTER);
    world.tap('7');
    world.frame();
    EXPECT_EQ(app.gui.playerName, "k");
    EXPECT_TRUE(app.player.stageWon);
    for (int key : {int('i'), int('m'), int('b'), int('e'), int('r')}) {
        world.tap(key);
    }
    EXPECT_EQ(app.gui.playerName, "kimbe");
    world.tap(ENTER);
    world.frame();

    EXPECT_EQ(world.read("data/hs.txt"), "ann 5000\nkimbe " + std::to_string(total) + "\nbob 300\n");
    EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "3 " + std::to_string(total));
    EXPECT_TRUE(onMainMenu(app));
    EXPECT_TRUE(app.allCleared);   // the menu offers stage 1 until a stage starts

    // Continue after the last stage starts over at stage 1 with no score.
    world.tap(ENTER);
    world.frame();
    EXPECT_TRUE(app.playing);
    EXPECT_EQ(app.stage, 1);
    EXPECT_EQ(app.gui.totalScore, 0);
    EXPECT_FALSE(app.allCleared);
}

TEST(ApplicationFlow, LastStageWithoutANewHighscoreShowsTheEnd)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    world.writeFile("data/hs.txt", "ann 90000\nbob 80000\ncy 70000\n");
    Application& app = world.start();
    world.chooseContinue();
    ASSERT_TRUE(world.winRowStage());
    world.frame();
    EXPECT_TRUE(app.allCleared);
    EXPECT_FALSE(app.gui.newHighscore);
    const int total = app.gui.totalScore;

    world.tap('a');
    world.tap('b');
    EXPECT_EQ(app.gui.playerName, "");
    world.tap(ENTER);
    EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "2 " + std::to_string(total));
    EXPECT_EQ(world.read("data/hs.txt"), "ann 90000\nbob 80000\ncy 70000\n");
}

TEST(ApplicationFlow, EnterInTheWinningFrameWaitsForTheTally)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    world.writeStage(2, rowStage());
    world.writeFile("data/DoNotReadMe.txt", "1 40");
    world.writeFile("data/hs.txt", "ann 5000\nbob 300\ncy 100\n");
    Application& app = world.start();
    world.chooseContinue();

    // A late jump, or Enter held with key repeat, arrives between the winning update and its
    // draw: the tally must still score the stage before Enter can leave it.
    ASSERT_TRUE(world.winRowStageBeforeDraw());
    world.tap(ENTER);
    world.tap(ENTER);
    app.draw();
    EXPECT_TRUE(app.player.stageWon);
    EXPECT_FALSE(app.allCleared);
    const int first = 40 + app.gui.timeBonus + app.gui.objectBonus;
    EXPECT_GT(app.gui.timeBonus, 0);
    EXPECT_EQ(app.gui.totalScore, first);
    EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "1 40");
    world.tap(ENTER);
    EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "2 " + std::to_string(first));
    world.frame();

    // On the last stage the same Enter must not skip the highscore entry either.
    world.tap(ENTER);
    world.frame();
    ASSERT_TRUE(app.playing);
    ASSERT_TRUE(world.winRowStageBeforeDraw());
    world.tap(ENTER);
    app.draw();
    EXPECT_TRUE(app.player.stageWon);
    EXPECT_TRUE(app.allCleared);
    EXPECT_TRUE(app.gui.newHighscore);
    EXPECT_EQ(app.gui.totalScore, first + app.gui.timeBonus + app.gui.objectBonus);
    EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "2 " + std::to_string(first));
}

TEST(ApplicationFlow, NewGameStartsStageOneWithNoScoreAndKeepsTheOldSave)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    world.writeStage(3, rowStage());
    world.writeFile("data/DoNotReadMe.txt", "3 2000");
    Application& app = world.start();
    world.frame();
    world.tap(DOWN);
    world.frame();
    world.tap(ENTER);
    world.frame();
    EXPECT_TRUE(app.playing);
    EXPECT_EQ(app.stage, 1);
    EXPECT_EQ(app.gui.totalScore, 0);
    EXPECT_EQ(app.gui.menuCursor, 0);
    EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "3 2000");
}

TEST(ApplicationFlow, EnterOnTheTextScreensOnlyReturnsToTheMenu)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    Application& app = world.start();
    world.frame();

    // Highscores: down twice, Enter.
    world.tap(DOWN);
    world.tap(DOWN);
    world.frame();
    world.tap(ENTER);
    world.frame();
    EXPECT_TRUE(app.showHighscores);
    // The arrows still move the hidden cursor; Enter returns without acting on it.
    world.tap(UP);
    world.tap(UP);
    world.tap(ENTER);
    world.frame();
    EXPECT_TRUE(onMainMenu(app));
    EXPECT_EQ(app.gui.menuCursor, 0);
    EXPECT_FALSE(app.player.stageRunning);
    // The next Enter does act: Continue.
    world.tap(ENTER);
    world.frame();
    EXPECT_TRUE(app.playing);
}

TEST(ApplicationFlow, UpOnContinueWrapsToOptionsAndOnToTheInfoScreenAndEnterLeavesIt)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    Application& app = world.start();
    world.frame();
    world.tap(UP);
    world.frame();
    EXPECT_EQ(app.gui.menuCursor, 6);   // "options", the last item
    world.tap(UP);
    world.tap(UP);
    world.frame();
    EXPECT_EQ(app.gui.menuCursor, 4);
    world.tap(ENTER);
    world.frame();
    EXPECT_TRUE(app.showInfo);
    world.tap(ENTER);
    world.frame();
    EXPECT_TRUE(onMainMenu(app));
    EXPECT_EQ(app.gui.menuCursor, 4);
}

TEST(ApplicationFlow, MusicItemTogglesTheMusic)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    Application& app = world.start();
    world.frame();
    ASSERT_TRUE(app.sounds.music.getIsPlaying());
    for (int i = 0; i < 3; ++i) {
        world.tap(DOWN);
    }
    world.frame();
    world.tap(ENTER);
    world.frame();
    EXPECT_FALSE(app.sounds.music.getIsPlaying());
    EXPECT_TRUE(onMainMenu(app));
    world.tap(ENTER);
    world.frame();
    EXPECT_TRUE(app.sounds.music.getIsPlaying());
}

TEST(ApplicationFlow, ARetraceThatDoesNotWaitHandsThePacingToTheWindow)
{
    // A driver that took the swap interval but does not wait: frames come as fast as they are
    // drawn (here, the watch that every drawn frame feeds, fed back to back), and the window
    // must pace them for the rest of the run.
    AppWorld world;
    world.writeStage(1, rowStage());
    Application& app = world.start();
    ofSetFrameRate(25);   // a rate the game never asks for, then pacing off: as the retrace path leaves it
    ofSetFrameRate(0);
    app.retracePaced = true;
    testsupport::StdoutCapture capture;
    for (int i = 0; i < 200; ++i) {
        app.watchRetrace();
    }
    EXPECT_EQ(capture.finish(),
              "OF_WARNING: the display does not wait for its retrace: the game paces itself to 60 frames a second\n");
    EXPECT_FALSE(app.retracePaced);
    EXPECT_EQ(ofGetFrameRate(), 60.0f);
    world.frames(3);
    EXPECT_TRUE(!app.playing && !app.player.stageWon);
}

namespace {

namespace fs = std::filesystem;

// Stage `number` as shipped, with its two pictures, becomes stage 1 of the world.
void shipShippedStage(AppWorld& world, int number)
{
    const fs::path shipped = testsupport::sourceDir() / "data" / "levels";
    std::ifstream in(shipped / ("level" + std::to_string(number) + ".txt"));
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    world.writeFile("data/levels/level1.txt", text);
    std::istringstream words(text);
    std::string face;
    std::string sky;
    words >> face >> sky;
    for (const std::string& picture : {face, sky}) {
        fs::copy_file(shipped / "levelTextures" / picture, world.scratch.path() / "data" / "levels" / "levelTextures" / picture,
            fs::copy_options::overwrite_existing);
    }
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
};

// The frame the application draws now, read back before any swap.
Picture drawnPicture(Application& app)
{
    app.draw();
    glFinish();
    Picture p;
    p.width = ofGetWidth();
    p.height = ofGetHeight();
    p.rgba.resize(static_cast<size_t>(p.width) * p.height * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, p.width, p.height, GL_RGBA, GL_UNSIGNED_BYTE, p.rgba.data());
    return p;
}

struct Difference {
    int pixels = 0;        // pixels with any channel different
    int largePixels = 0;   // pixels with a channel more than 2 levels apart
    int largest = 0;       // largest difference of a channel, 0 to 255
};

Difference compare(const Picture& a, const Picture& b)
{
    Difference d;
    for (size_t i = 0; i + 3 < a.rgba.size() && i + 3 < b.rgba.size(); i += 4) {
        int most = 0;
        for (size_t c = 0; c < 3; ++c) {
            most = std::max(most, std::abs(a.rgba[i + c] - b.rgba[i + c]));
        }
        d.pixels += most > 0;
        d.largePixels += most > 2;
        d.largest = std::max(d.largest, most);
    }
    return d;
}

// Draws the frame face by face and from the display lists, and says how the two differ.
Difference compiledAgainstFaceByFace(Application& app, const std::string& view, int stage)
{
    app.level.compiledDrawing = false;
    app.player.compiledDrawing = false;
    const Picture reference = drawnPicture(app);
    app.level.compiledDrawing = true;
    app.player.compiledDrawing = true;
    const Picture compiled = drawnPicture(app);
    const Difference d = compare(reference, compiled);
    std::printf("stage %d, %s: %d of %d pixels differ, %d by more than 2 levels, at most by %d\n", stage,
        view.c_str(), d.pixels, reference.width * reference.height, d.largePixels, d.largest);
    return d;
}

} // namespace

TEST(ApplicationFlow, StagesDrawnFromDisplayListsLookAsDrawnFaceByFace)
{
    // Shipped stages small and large, in the menu's orbit, in play behind the ball with dice
    // and coins about, and with the finish shown. Only pixels along edges shared by two
    // triangles may come out otherwise: the compiled faces are placed by adding the cube's
    // centre to their corners instead of by a translation of the matrix, which rounds
    // differently in the last bit.
    for (const int number : {1, 12, 27, 49}) {
        AppWorld world;
        shipShippedStage(world, number);
        Application& app = world.start();
        world.frames(45);
        const int frame = ofGetWidth() * ofGetHeight();
        const int edgeShare = frame / 10000;   // 0.01 % of the frame

        Difference d = compiledAgainstFaceByFace(app, "menu", number);
        EXPECT_LE(d.largePixels, edgeShare) << "stage " << number << " in the menu";

        // The cubes are in the picture: without them it is another one.
        const std::vector<Cube> cubes = app.level.cubes;
        app.level.cubes.clear();
        const Picture withoutCubes = drawnPicture(app);
        app.level.cubes = cubes;
        const Picture withCubes = drawnPicture(app);
        EXPECT_GT(compare(withoutCubes, withCubes).largePixels, frame / 100) << "stage " << number;

        world.tap(ENTER);
        world.frames(30);
        world.tap(UP);
        world.frames(12);
        ASSERT_TRUE(app.playing) << "stage " << number;
        d = compiledAgainstFaceByFace(app, "play", number);
        EXPECT_LE(d.largePixels, edgeShare) << "stage " << number << " in play";

        app.level.dice.clear();
        world.frames(2);
        d = compiledAgainstFaceByFace(app, "finish shown", number);
        EXPECT_LE(d.largePixels, edgeShare) << "stage " << number << " with the finish";
    }
}

// Beyond the menu's first five items: the stage select, practice, records, replays, options.

namespace {

constexpr int LEFT = Application::KEY_LEFT;
constexpr int BACKSPACE = Application::KEY_BACKSPACE;
constexpr int STAGES_ITEM = 5;
constexpr int OPTIONS_ITEM = 6;

void chooseMenuItem(AppWorld& world, int item)
{
    world.frame();
    world.app->gui.menuCursor = item;
    world.tap(ENTER);
    world.frame();
}

// Waits for the ball to be ready `idleSteps` steps before each press of up.
bool winRowStageSlowly(AppWorld& world, int idleSteps)
{
    Application& app = *world.app;
    for (int step = 0; step < 2 && !app.player.stageWon; ++step) {
        if (!world.framesUntil([&] { return app.player.enableMovement || app.player.stageWon; })) {
            return false;
        }
        world.frames(idleSteps);
        if (!app.player.stageWon) {
            world.tap(UP);
        }
    }
    return world.framesUntil([&] { return app.player.stageWon; });
}

} // namespace

TEST(ApplicationFlow, PracticeKeepsTheBetterRunAndItsReplayAndLeavesTheSaveAndTotalAlone)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    world.writeStage(2, rowStage());
    world.writeStage(3, rowStage());
    world.writeFile("data/DoNotReadMe.txt", "2 500");
    Application& app = world.start();

    chooseMenuItem(world, STAGES_ITEM);
    ASSERT_TRUE(app.showStageSelect);
    EXPECT_EQ(app.stageSelect.stage(), 2);   // the cursor starts on the stage reached
    // Stage 3 is locked: Enter there plays nothing and says why.
    world.tap(DOWN);
    world.tap(ENTER);
    world.frame();
    EXPECT_FALSE(app.playing);
    EXPECT_NE(app.notice.find("locked"), std::string::npos);

    // Stage 1 is below the stage reached: practice, won twice, slowly then quickly.
    std::vector<int> steps;
    for (int idle : {30, 0}) {
        world.tap(UP);
        world.tap(UP);
        ASSERT_EQ(app.stageSelect.stage(), 1);
        world.tap(ENTER);
        world.frame();
        ASSERT_TRUE(app.playing && app.practice);
        ASSERT_TRUE(winRowStageSlowly(world, idle));
        world.frames(2);
        steps.push_back(app.finishStep);
        EXPECT_EQ(app.gui.totalScore, 500);
        world.tap(ENTER);
        world.frame();
        EXPECT_TRUE(app.showStageSelect);
        EXPECT_EQ(app.stage, 2);
        EXPECT_EQ(world.read("data/DoNotReadMe.txt"), "2 500");
    }
    ASSERT_GT(steps[0], steps[1]);
    const StageRecord* record = app.records.find(1);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->bestSteps, steps[1]);

    // The file holds what memory holds, and a new start reads it back.
    Records reread;
    reread.load("data/records.txt", 3);
    ASSERT_NE(reread.find(1), nullptr);
    EXPECT_EQ(reread.find(1)->bestSteps, steps[1]);
    EXPECT_EQ(reread.find(1)->bestScore, record->bestScore);

    // Both runs were kept: the best is the quicker one, the last the latest.
    ReplayData best;
    ReplayData last;
    std::string problem;
    ASSERT_TRUE(readReplayFile("data/replays/stage1-best.replay", best, problem)) << problem;
    ASSERT_TRUE(readReplayFile("data/replays/stage1-last.replay", last, problem)) << problem;
    EXPECT_EQ(best.finishStep, steps[1]);
    EXPECT_EQ(last.finishStep, steps[1]);
    EXPECT_EQ(best.stage, 1);

    // Watching the best run wins it at the step it was won, and records nothing more.
    const std::string recordsBefore = world.read("data/records.txt");
    world.tap(UP);
    ASSERT_EQ(app.stageSelect.stage(), 1);
    world.tap('w');
    world.frame();
    ASSERT_TRUE(app.watching);
    ASSERT_TRUE(world.framesUntil([&] { return app.player.stageWon; }));
    world.frames(2);
    EXPECT_EQ(app.finishStep, best.finishStep);
    // The clock as the run recorded it (a test's clock is the wall's, so the score of the
    // run itself may differ by the seconds a busy machine took; the game's steps are 1/60 s).
    EXPECT_EQ(app.finishLeft, replayTimeLeft(best.startLeft, best.finishStep - 1));
    EXPECT_EQ(world.read("data/records.txt"), recordsBefore);
    world.tap('x');   // any key ends it
    world.frame();
    EXPECT_FALSE(app.watching);
    EXPECT_TRUE(app.showStageSelect);
    EXPECT_EQ(app.stage, 2);

    // Racing the best run: a ghost rolls along, and the tally tells the gap.
    world.tap(' ');
    world.frame();
    ASSERT_TRUE(app.racing);
    EXPECT_EQ(app.ghost.finishStep(), best.finishStep);
    ASSERT_TRUE(winRowStageSlowly(world, 12));
    world.frames(2);
    EXPECT_TRUE(app.tallyRecord.ghostRaced);
    EXPECT_EQ(app.tallyRecord.ghostSteps, best.finishStep);
    EXPECT_EQ(app.tallyRecord.steps, best.finishStep + 24);

    // Backspace leaves the stage select for the main menu.
    world.tap(ENTER);
    world.frame();
    world.tap(BACKSPACE);
    world.frame();
    EXPECT_TRUE(onMainMenu(app) && !app.showStageSelect);
}

TEST(ApplicationFlow, PausedStageKeepsItsClockAndBallUntilResumedAndCanBeLeft)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    Application& app = world.start();
    world.chooseContinue();
    world.framesUntil([&] { return app.player.enableMovement; });
    world.tap(UP);
    world.frames(5);
    world.tap('p');
    world.frame();
    ASSERT_TRUE(app.paused);
    const float left = app.timeLeft;
    const Vec3 at = app.player.Position;
    const int steps = app.playSteps;
    for (int i = 0; i < 120; ++i) {
        ofPassTimeUnsimulated();   // wall time goes by, as it would
        world.frame();
    }
    EXPECT_EQ(app.timeLeft, left);
    EXPECT_EQ(app.playSteps, steps);
    EXPECT_EQ(app.player.Position.y, at.y);
    world.tap('p');
    world.frames(3);
    EXPECT_FALSE(app.paused);
    EXPECT_GT(app.player.Position.y, at.y);
    EXPECT_LT(app.timeLeft, left);

    // Back to the menu from the panel: as a time-out, nothing saved.
    world.tap('p');
    world.tap(DOWN);
    world.tap(DOWN);
    world.tap(ENTER);
    world.frame();
    EXPECT_TRUE(onMainMenu(app));
    EXPECT_FALSE(app.paused);
    EXPECT_FALSE(world.exists("data/DoNotReadMe.txt"));
}

TEST(ApplicationFlow, OptionsAreKeptAcrossARestart)
{
    AppWorld world;
    world.writeStage(1, rowStage());
    {
        Application& app = world.start();
        chooseMenuItem(world, OPTIONS_ITEM);
        ASSERT_TRUE(app.showOptions);
        world.tap(LEFT);   // music volume 10 -> 8
        world.tap(LEFT);
        world.tap(DOWN);
        world.tap(LEFT);   // effects volume 10 -> 9
        world.tap(DOWN);
        world.tap(DOWN);
        world.tap(ENTER);  // music off
        world.frame();
        EXPECT_FALSE(app.sounds.music.getIsPlaying());
        world.tap(BACKSPACE);
        world.frame();
        EXPECT_TRUE(onMainMenu(app) && !app.showOptions);
    }
    Application& again = world.start();
    world.frame();
    EXPECT_EQ(again.settings.musicVolume, 8);
    EXPECT_EQ(again.settings.effectsVolume, 9);
    EXPECT_FALSE(again.settings.music);
    EXPECT_FALSE(again.sounds.music.getIsPlaying());
}
