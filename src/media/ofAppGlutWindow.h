#pragma once

#include "media/ofAppBaseWindow.h"

#include <string>

// The GLUT window and its frame loop. The window state lives in the module, one per
// process; the object only carries the GLUT display string.
class ofAppGlutWindow : public ofAppBaseWindow {
public:
    ofAppGlutWindow() = default;
    ~ofAppGlutWindow() override = default;

    // A GLUT display string used instead of the default RGBA, double, alpha, depth mode.
    void setGlutDisplayString(std::string displayStr);

    void setupOpenGL(int w, int h, int screenMode) override;
    void initializeWindow() override;
    void runAppViaInfiniteLoop(ofBaseApp* app) override;   // never returns

    void hideCursor() override;
    void showCursor() override;
    void setWindowPosition(int x, int y) override;
    void setWindowShape(int w, int h) override;

    int getFrameNum() override;
    float getFrameRate() override;
    double getLastFrameTime() override;

    ofPoint getWindowPosition() override;
    ofPoint getWindowSize() override;
    ofPoint getScreenSize() override;

    void setFrameRate(float rate) override;
    void setWindowTitle(std::string title) override;

    int getWindowMode() override;
    bool hasFocus() override;   // asks X at most every FOCUS_POLL_MS (ofWindowFocus)
    void setFullscreen(bool full) override;
    void toggleFullscreen() override;

    void enableSetupScreen() override;
    void disableSetupScreen() override;

    // Fixed game steps (ofFixedStep): from the next idle step on, each one runs as many
    // updates as the time since the last frame calls for (at most four; a longer stall is
    // dropped) instead of exactly one. 0 goes back to one update a frame.
    static void setUpdateRate(int stepsPerSecond);
    // Seconds on the game clock: the fixed steps' clock while they run, else the elapsed clock.
    static double getGameTime();
    // The time since the last frame counts on the game clock without being simulated.
    static void passTimeUnsimulated();

    // GLUT callbacks, registered by initializeWindow. The idle step measures the frame
    // and updates the app; the display step clears, draws and swaps.
    static void idle();
    static void display();
    static void keyboard(unsigned char key, int x, int y);
    static void keyboardUp(unsigned char key, int x, int y);
    static void special(int key, int x, int y);
    static void specialUp(int key, int x, int y);
    static void mouse(int button, int state, int x, int y);
    static void motion(int x, int y);
    static void passiveMotion(int x, int y);
    static void resize(int w, int h);
    static void close();

private:
    std::string displayString;
};
