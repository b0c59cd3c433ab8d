#pragma once

#include "media/ofPoint.h"

#include <string>

class ofBaseApp;

// The window the framework runs in. Screen modes: 0 window, 1 full screen, 2 game mode.
class ofAppBaseWindow {
public:
    ofAppBaseWindow() = default;
    virtual ~ofAppBaseWindow() = default;

    virtual void setupOpenGL(int w, int h, int screenMode) { (void)w; (void)h; (void)screenMode; }
    virtual void initializeWindow() {}
    virtual void runAppViaInfiniteLoop(ofBaseApp* app) { (void)app; }

    virtual void hideCursor() {}
    virtual void showCursor() {}
    virtual void setWindowPosition(int x, int y) { (void)x; (void)y; }
    virtual void setWindowShape(int w, int h) { (void)w; (void)h; }

    virtual int getFrameNum() { return 0; }
    virtual float getFrameRate() { return 0.0f; }
    virtual double getLastFrameTime() { return 0.0; }

    virtual ofPoint getWindowPosition() { return ofPoint(); }
    virtual ofPoint getWindowSize() { return ofPoint(); }
    virtual ofPoint getScreenSize() { return ofPoint(); }

    virtual void setFrameRate(float rate) { (void)rate; }
    virtual void setWindowTitle(std::string title) { (void)title; }

    virtual int getWindowMode() { return 0; }

    // Whether the window holds the keyboard focus.
    virtual bool hasFocus() { return false; }

    virtual void setFullscreen(bool full) { (void)full; }
    virtual void toggleFullscreen() {}

    virtual void enableSetupScreen() {}
    virtual void disableSetupScreen() {}
};
