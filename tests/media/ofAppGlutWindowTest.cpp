// The frame loop, driven one GLUT callback at a time on the test window. Every test runs
// in a process of its own (ctest), so the loop's counters start fresh in each.
#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"
#include "media/ofBaseApp.h"
#include "media/ofEvents.h"
#include "media/ofGraphics.h"
#include "media/ofSwapControl.h"
#include "media/ofUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>   // before Xlib, whose None macro it would trip over

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <GL/glxext.h>
#include <Poco/Delegate.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testsupport::ensureGlContext()); }
};

double millisSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Records what the window's events deliver, in order.
struct EventLog {
    std::vector<std::string> lines;

    void onKeyPressed(ofKeyEventArgs& a) { lines.push_back("pressed " + std::to_string(a.key)); }
    void onKeyReleased(ofKeyEventArgs& a) { lines.push_back("released " + std::to_string(a.key)); }
    void onMousePressed(ofMouseEventArgs& a) { add("mousePressed", a); }
    void onMouseReleased(ofMouseEventArgs& a) { add("mouseReleased", a); }
    void onMouseDragged(ofMouseEventArgs& a) { add("mouseDragged", a); }
    void onMouseMoved(ofMouseEventArgs& a) { lines.push_back("mouseMoved " + std::to_string(a.x) + "," + std::to_string(a.y)); }
    void onResized(ofResizeEventArgs& a) { lines.push_back("resized " + std::to_string(a.width) + "x" + std::to_string(a.height)); }

    void add(const char* what, const ofMouseEventArgs& a)
    {
        lines.push_back(std::string(what) + " " + std::to_string(a.x) + "," + std::to_string(a.y) + " b" + std::to_string(a.button));
    }

    EventLog()
    {
        ofEvents.keyPressed += Poco::delegate(this, &EventLog::onKeyPressed);
        ofEvents.keyReleased += Poco::delegate(this, &EventLog::onKeyReleased);
        ofEvents.mousePressed += Poco::delegate(this, &EventLog::onMousePressed);
        ofEvents.mouseReleased += Poco::delegate(this, &EventLog::onMouseReleased);
        ofEvents.mouseDragged += Poco::delegate(this, &EventLog::onMouseDragged);
        ofEvents.mouseMoved += Poco::delegate(this, &EventLog::onMouseMoved);
        ofEvents.windowResized += Poco::delegate(this, &EventLog::onResized);
    }

    ~EventLog()
    {
        ofEvents.keyPressed -= Poco::delegate(this, &EventLog::onKeyPressed);
        ofEvents.keyReleased -= Poco::delegate(this, &EventLog::onKeyReleased);
        ofEvents.mousePressed -= Poco::delegate(this, &EventLog::onMousePressed);
        ofEvents.mouseReleased -= Poco::delegate(this, &EventLog::onMouseReleased);
        ofEvents.mouseDragged -= Poco::delegate(this, &EventLog::onMouseDragged);
        ofEvents.mouseMoved -= Poco::delegate(this, &EventLog::onMouseMoved);
        ofEvents.windowResized -= Poco::delegate(this, &EventLog::onResized);
    }
};

// What the draw event sees: the display step has cleared and set up the frame by then.
struct DrawProbe {
    unsigned char pixel[4] = {0, 0, 0, 0};
    GLint viewport[4] = {0, 0, 0, 0};
    GLfloat projection[16] = {};
    int draws = 0;

    void onDraw(ofEventArgs&)
    {
        glReadBuffer(GL_BACK);
        glReadPixels(3, 3, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        glGetIntegerv(GL_VIEWPORT, viewport);
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        draws++;
    }

    DrawProbe() { ofEvents.draw += Poco::delegate(this, &DrawProbe::onDraw); }
    ~DrawProbe() { ofEvents.draw -= Poco::delegate(this, &DrawProbe::onDraw); }
};

} // namespace

TEST_F(WindowTest, FrameRateStartsAt60AndAveragesEachFrameWithWeightOneTenth)
{
    EXPECT_FLOAT_EQ(ofGetFrameRate(), 60.0f);
    EXPECT_EQ(ofGetFrameNum(), 0);

    // The first frame is measured from the reset of the elapsed clock.
    ofResetElapsedTimeCounter();
    ofSleepMillis(50);
    ofAppGlutWindow::idle();
    double first = ofGetLastFrameTime();
    EXPECT_GE(first, 0.049);
    EXPECT_LT(first, 5.0);
    EXPECT_NEAR(ofGetFrameRate(), 60.0 * 0.9 + 0.1 / first, 1e-3);

    for (int i = 0; i < 5; i++) {
        float before = ofGetFrameRate();
        ofSleepMillis(25);
        ofAppGlutWindow::idle();
        double frame = ofGetLastFrameTime();
        ASSERT_GE(frame, 0.024);
        EXPECT_NEAR(ofGetFrameRate(), before * 0.9 + 0.1 / frame, 1e-3);
        EXPECT_LT(ofGetFrameRate(), before);   // drifting toward 40 fps
    }
}

TEST_F(WindowTest, FrameRatePacingSleepsFromTheSecondFrameOn)
{
    ofSetFrameRate(4);   // 250 ms a frame
    EXPECT_FLOAT_EQ(ofGetFrameRate(), 4.0f);

    // Nothing has been displayed yet: no pacing.
    auto start = std::chrono::steady_clock::now();
    ofAppGlutWindow::idle();
    EXPECT_LT(millisSince(start), 200.0);

    // The next idle step waits until a frame's time has passed since the last one.
    ofAppGlutWindow::display();
    ofAppGlutWindow::idle();
    EXPECT_GE(millisSince(start), 248.0);

    // Switching pacing off leaves the reported rate alone.
    float rate = ofGetFrameRate();
    ofSetFrameRate(0);
    EXPECT_FLOAT_EQ(ofGetFrameRate(), rate);
    ofAppGlutWindow::display();
    ofAppGlutWindow::idle();
    start = std::chrono::steady_clock::now();
    ofAppGlutWindow::display();
    ofAppGlutWindow::idle();
    EXPECT_LT(millisSince(start), 200.0);
}

TEST_F(WindowTest, DisplayStepClearsToTheBackgroundAndCountsFrames)
{
    DrawProbe probe;
    ofAppGlutWindow::resize(640, 480);
    ofBackground(0, 0, 255);
    ofAppGlutWindow::display();

    EXPECT_EQ(probe.draws, 1);
    EXPECT_EQ(ofGetFrameNum(), 1);
    EXPECT_EQ(probe.pixel[0], 0);
    EXPECT_EQ(probe.pixel[2], 255);
    EXPECT_EQ(probe.viewport[2], 640);
    EXPECT_EQ(probe.viewport[3], 480);
    // ofSetupScreen ran: a perspective projection, not the identity.
    EXPECT_FLOAT_EQ(probe.projection[11], -1.0f);

    // With setup-screen off the app's own projection stays as it is.
    ofDisableSetupScreen();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ofBackground(255, 0, 0);
    ofAppGlutWindow::display();
    EXPECT_EQ(ofGetFrameNum(), 2);
    EXPECT_EQ(probe.pixel[0], 255);
    EXPECT_FLOAT_EQ(probe.projection[11], 0.0f);
    EXPECT_FLOAT_EQ(probe.projection[15], 1.0f);
}

TEST_F(WindowTest, ZeroHeightWindowGetsAOnePixelViewport)
{
    DrawProbe probe;
    ofAppGlutWindow::resize(300, 0);
    ofAppGlutWindow::display();
    EXPECT_EQ(probe.viewport[2], 300);
    EXPECT_EQ(probe.viewport[3], 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(WindowTest, KeysArriveWithTheirCodes)
{
    EventLog log;
    ofAppGlutWindow::keyboard('a', 0, 0);
    ofAppGlutWindow::keyboardUp('a', 0, 0);
    ofAppGlutWindow::keyboard(13, 0, 0);
    ofAppGlutWindow::keyboard(8, 0, 0);
    ofAppGlutWindow::keyboard(200, 0, 0);   // a byte above 127 stays positive
    ofAppGlutWindow::special(GLUT_KEY_UP, 0, 0);
    ofAppGlutWindow::specialUp(GLUT_KEY_UP, 0, 0);
    ofAppGlutWindow::special(GLUT_KEY_DOWN, 0, 0);
    ofAppGlutWindow::special(GLUT_KEY_LEFT, 0, 0);
    ofAppGlutWindow::special(GLUT_KEY_RIGHT, 0, 0);
    ofAppGlutWindow::special(GLUT_KEY_F1, 0, 0);
    ofAppGlutWindow::special(GLUT_KEY_INSERT, 0, 0);

    std::vector<std::string> expected = {
        "pressed 97", "released 97", "pressed 13", "pressed 8", "pressed 200",
        "pressed 357", "released 357", "pressed 359", "pressed 356", "pressed 358",
        "pressed 257", "pressed 364",
    };
    EXPECT_EQ(log.lines, expected);
}

TEST_F(WindowTest, ListenersAreCalledFirstInFirstOut)
{
    std::vector<int> order;
    struct Tag {
        std::vector<int>* order;
        int id;
        void on(ofKeyEventArgs&) { order->push_back(id); }
    };
    Tag a{&order, 1};
    Tag b{&order, 2};
    Tag c{&order, 3};
    ofEvents.keyReleased += Poco::delegate(&b, &Tag::on);
    ofEvents.keyReleased += Poco::delegate(&c, &Tag::on);
    ofEvents.keyReleased += Poco::delegate(&a, &Tag::on);
    ofAppGlutWindow::keyboardUp('x', 0, 0);
    ofEvents.keyReleased -= Poco::delegate(&a, &Tag::on);
    ofEvents.keyReleased -= Poco::delegate(&b, &Tag::on);
    ofEvents.keyReleased -= Poco::delegate(&c, &Tag::on);
    EXPECT_EQ(order, (std::vector<int>{2, 3, 1}));
}

TEST_F(WindowTest, MouseIsIgnoredUntilTheFirstFrame)
{
    EventLog log;
    ofAppGlutWindow::mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 20);
    ofAppGlutWindow::motion(11, 21);
    ofAppGlutWindow::passiveMotion(12, 22);
    EXPECT_TRUE(log.lines.empty());

    ofAppGlutWindow::display();
    ofAppGlutWindow::mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 10, 20);
    ofAppGlutWindow::motion(11, 21);
    ofAppGlutWindow::mouse(GLUT_RIGHT_BUTTON, GLUT_UP, 12, 22);
    ofAppGlutWindow::passiveMotion(13, 23);
    std::vector<std::string> expected = {
        "mousePressed 10,20 b2", "mouseDragged 11,21 b2", "mouseReleased 12,22 b2", "mouseMoved 13,23",
    };
    EXPECT_EQ(log.lines, expected);
}

TEST_F(WindowTest, ReshapeUpdatesTheReportedSize)
{
    EventLog log;
    ofAppGlutWindow::resize(640, 480);
    EXPECT_EQ(ofGetWidth(), 640);
    EXPECT_EQ(ofGetHeight(), 480);
    EXPECT_EQ(log.lines, std::vector<std::string>{"resized 640x480"});
    EXPECT_EQ(ofGetScreenWidth(), 1024);   // the test command's virtual screen
    EXPECT_EQ(ofGetScreenHeight(), 768);
}

TEST_F(WindowTest, ScreenModeChangesWaitForTheNextFrame)
{
    EXPECT_EQ(ofGetWindowMode(), 0);
    ofSetFullscreen(false);
    EXPECT_EQ(ofGetWindowMode(), 0);
    ofToggleFullscreen();
    EXPECT_EQ(ofGetWindowMode(), 1);
    ofSetFullscreen(true);
    EXPECT_EQ(ofGetWindowMode(), 1);
    ofAppGlutWindow::display();
    ofSetFullscreen(false);
    EXPECT_EQ(ofGetWindowMode(), 0);
    ofAppGlutWindow::display();
    EXPECT_EQ(ofGetFrameNum(), 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(WindowFunctions, AnswerZeroBeforeThereIsAWindow)
{
    if (ofGetWindowPtr() != nullptr) {
        GTEST_SKIP() << "a window was opened earlier in this process";
    }
    EXPECT_EQ(ofGetWidth(), 0);
    EXPECT_EQ(ofGetHeight(), 0);
    EXPECT_EQ(ofGetFrameNum(), 0);
    EXPECT_EQ(ofGetFrameRate(), 0.0f);
    ofSetWindowTitle("nothing");
    ofHideCursor();
    ofSetVerticalSync(true);   // no context: does nothing
    EXPECT_FALSE(ofWindowHasFocus());
    EXPECT_EQ(ofGetAppPtr(), nullptr);
}

TEST_F(WindowTest, VerticalSyncSetsTheSwapInterval)
{
    Display* display = glXGetCurrentDisplay();
    ASSERT_NE(display, nullptr);
    std::string extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    auto intervalNow = [&]() -> int {
        if (extensions.find("GLX_EXT_swap_control ") != std::string::npos) {
            unsigned int value = 99;
            glXQueryDrawable(display, glXGetCurrentDrawable(), GLX_SWAP_INTERVAL_EXT, &value);
            return static_cast<int>(value);
        }
        using GetInterval = int (*)();
        auto get = reinterpret_cast<GetInterval>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXGetSwapIntervalMESA")));
        return get != nullptr && extensions.find("GLX_MESA_swap_control") != std::string::npos ? get() : -1;
    };
    if (intervalNow() < 0) {
        // Mesa's software path under Xvfb offers no swap control: nothing may be called
        // that the server would reject (an X error ends the process).
        ofSetVerticalSync(true);
        ofSetVerticalSync(false);
        glutSwapBuffers();
        glFinish();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return;
    }
    ofSetVerticalSync(true);
    EXPECT_EQ(intervalNow(), 1);
    ofSetVerticalSync(false);
    EXPECT_EQ(intervalNow(), 0);
    ofSetVerticalSync(true);
    EXPECT_EQ(intervalNow(), 1);
}

TEST(SwapControl, RetracePacesSixtyFramesOnlyOnWholeMultiplesOfSixty)
{
    // Where the retrace would give any other rate, 0 leaves the pacing to the window.
    EXPECT_EQ(ofSwapIntervalFor(60.0f, 60), 1);
    EXPECT_EQ(ofSwapIntervalFor(59.94f, 60), 1);
    EXPECT_EQ(ofSwapIntervalFor(120.0f, 60), 2);
    EXPECT_EQ(ofSwapIntervalFor(119.88f, 60), 2);
    EXPECT_EQ(ofSwapIntervalFor(240.0f, 60), 4);
    EXPECT_EQ(ofSwapIntervalFor(75.0f, 60), 0);
    EXPECT_EQ(ofSwapIntervalFor(144.0f, 60), 0);
    EXPECT_EQ(ofSwapIntervalFor(90.0f, 60), 0);
    EXPECT_EQ(ofSwapIntervalFor(50.0f, 60), 0);
    EXPECT_EQ(ofSwapIntervalFor(30.0f, 60), 0);
    // A display that does not say.
    EXPECT_EQ(ofSwapIntervalFor(0.0f, 60), 0);
    EXPECT_EQ(ofSwapIntervalFor(-60.0f, 60), 0);
    EXPECT_EQ(ofSwapIntervalFor(std::nanf(""), 60), 0);
    EXPECT_EQ(ofSwapIntervalFor(INFINITY, 60), 0);
}

TEST(SwapControl, RetraceWatchTellsFramesThatTheRetraceDidNotPace)
{
    // Clocks as a driver gives them, one reading a frame.
    auto firstTooFast = [](double frameSeconds, int frames, int stallAt = -1, double stall = 0.0) {
        ofRetraceWatch watch(60);
        double t = 1000.0;
        for (int i = 0; i < frames; ++i) {
            if (watch.tooFast(t)) {
                return i;
            }
            t += frameSeconds + (i == stallAt ? stall : 0.0);
        }
        return -1;
    };
    // Paced: 60 Hz, a 59.94 Hz mode, 61 Hz, a machine that cannot keep up; never.
    EXPECT_EQ(firstTooFast(1.0 / 60, 6000), -1);
    EXPECT_EQ(firstTooFast(1.0 / 59.94, 6000), -1);
    EXPECT_EQ(firstTooFast(1.0 / 61, 6000), -1);
    EXPECT_EQ(firstTooFast(1.0 / 40, 6000), -1);
    // Not paced: a 120 Hz display shown every retrace, or no wait at all; told at the end
    // of the first run of 60 frames, and from then on.
    EXPECT_EQ(firstTooFast(1.0 / 120, 6000), 60);
    EXPECT_EQ(firstTooFast(0.0005, 6000), 60);
    // A stage load stalls the first run; the next run tells.
    EXPECT_EQ(firstTooFast(1.0 / 120, 6000, 10, 0.5), 120);
    ofRetraceWatch watch(60);
    for (int i = 0; i <= 60; ++i) {
        watch.tooFast(i * 0.001);
    }
    EXPECT_TRUE(watch.tooFast(100.0));
}
