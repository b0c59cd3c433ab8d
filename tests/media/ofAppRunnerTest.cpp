// The whole loop in a child process of its own: start-up order, the exit path, and the
// window functions while the loop runs. The child writes what happens to standard error,
// which the death-test machinery matches.
#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"
#include "media/ofBaseApp.h"
#include "media/ofEvents.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <Poco/Delegate.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

void say(const char* word)
{
    std::fprintf(stderr, "%s ", word);
    std::fflush(stderr);
}

// Ends the run from the first update after two frames were drawn, the way `how` says.
enum class Ending { escape, closeWindow, plainExit };

class RecordingApp : public ofBaseApp {
public:
    explicit RecordingApp(Ending how) : how(how) {}
    ~RecordingApp() override { say("destroyed"); }

    void setup() override
    {
        std::fprintf(stderr, "setup(mouse %d,%d) ", mouseX, mouseY);
        ofSetWindowTitle("recording");
    }

    void update() override
    {
        say("update");
        if (draws == 2) {
            draws++;
            std::fprintf(stderr, "size %dx%d ", ofGetWidth(), ofGetHeight());
            switch (how) {
            case Ending::escape: ofAppGlutWindow::keyboard(27, 0, 0); break;
            case Ending::closeWindow: ofAppGlutWindow::close(); break;
            case Ending::plainExit: std::exit(3);
            }
        }
    }

    void draw() override
    {
        say("draw");
        draws++;
    }
    void exit() override { say("exit"); }
    void keyPressed(int key) override { std::fprintf(stderr, "keyPressed(%d) ", key); }
    void keyReleased(int key) override { std::fprintf(stderr, "keyReleased(%d) ", key); }

    Ending how;
    int draws = 0;
};

struct EventWords {
    void onSetup(ofEventArgs&) { say("E:setup"); }
    void onUpdate(ofEventArgs&) { say("E:update"); }
    void onExit(ofEventArgs&) { say("E:exit"); }
    void onKey(ofKeyEventArgs& a) { std::fprintf(stderr, "E:key(%d) ", a.key); }

    EventWords()
    {
        ofEvents.setup += Poco::delegate(this, &EventWords::onSetup);
        ofEvents.update += Poco::delegate(this, &EventWords::onUpdate);
        ofEvents.exit += Poco::delegate(this, &EventWords::onExit);
        ofEvents.keyPressed += Poco::delegate(this, &EventWords::onKey);
    }
};

void runUntil(Ending how)
{
    static EventWords words;   // outlives the exit path
    ofAppGlutWindow window;
    ofSetupOpenGL(&window, 320, 240, 0);
    testsupport::pinGlDriver();
    RecordingApp* app = new RecordingApp(how);
    app->mouseX = 5;
    app->mouseY = 7;
    ofRunApp(app);
    say("returned");   // the loop never comes back
}

class RunnerTest : public ::testing::Test {
protected:
    // A fresh process for each run: GLUT can be initialised once per process only.
    void SetUp() override { ::testing::GTEST_FLAG(death_test_style) = "threadsafe"; }
};

} // namespace

TEST_F(RunnerTest, SetupAndOneUpdateComeBeforeTheFirstFrame)
{
    EXPECT_EXIT(runUntil(Ending::plainExit), ::testing::ExitedWithCode(3),
        "^setup\\(mouse 0,0\\) update E:setup E:update (update E:update )*draw");
}

TEST_F(RunnerTest, EscapeEndsThroughTheExitPathInOrder)
{
    EXPECT_EXIT(runUntil(Ending::escape), ::testing::ExitedWithCode(0),
        "size 320x240 keyPressed\\(27\\) E:key\\(27\\) exit E:exit destroyed $");
}

TEST_F(RunnerTest, ClosingTheWindowTakesTheSameExitPath)
{
    EXPECT_EXIT(runUntil(Ending::closeWindow), ::testing::ExitedWithCode(0),
        "size 320x240 exit E:exit destroyed $");
}

// GLUT destroys the window at exit, which calls the close callback once more.
TEST_F(RunnerTest, AnyExitRunsTheExitPathOnceAndKeepsItsStatus)
{
    EXPECT_EXIT(runUntil(Ending::plainExit), ::testing::ExitedWithCode(3),
        "draw update size 320x240 exit E:exit destroyed $");
}

TEST_F(RunnerTest, GameModeReportsAnUnavailableFormat)
{
    auto openGameMode = [] {
        ::dup2(STDERR_FILENO, STDOUT_FILENO);   // ofLog writes to standard output
        ofAppGlutWindow window;
        ofSetupOpenGL(&window, 801, 599, 2);
        testsupport::pinGlDriver();
        std::fprintf(stderr, "mode %d", ofGetWindowMode());
        std::exit(0);
    };
    EXPECT_EXIT(openGameMode(), ::testing::ExitedWithCode(0),
        "OF_ERROR: game mode error: selected format \\(801x599:32@60\\) not available .*mode 2");
}
