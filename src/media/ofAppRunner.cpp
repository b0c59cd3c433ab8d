#include "media/ofAppRunner.h"

#include "media/ofAppGlutWindow.h"
#include "media/ofBaseApp.h"
#include "media/ofEvents.h"
#include "media/ofLibraries.h"
#include "media/ofSwapControl.h"
#include "media/ofUtils.h"

#include <cstdlib>

namespace {

ofAppBaseWindow* window = nullptr;   // the process's window, set by ofSetupOpenGL
ofBaseApp* appPtr = nullptr;         // owned from ofRunApp to the exit path

// Runs once at process exit, whatever called exit (Escape, closing the window).
// Libraries go first so that nothing the app still holds plays or draws into them.
void exitApp()
{
    ofSoundShutdown();
    ofImageLibraryShutdown();
    if (appPtr != nullptr) {
        appPtr->exit();
    }
    ofEventArgs args;
    ofNotifyEvent(ofEvents.exit, args);
    delete appPtr;
    appPtr = nullptr;
}

} // namespace

void ofSetupOpenGL(ofAppBaseWindow* windowPtr, int w, int h, int screenMode)
{
    window = windowPtr;
    if (window != nullptr) {
        window->setupOpenGL(w, h, screenMode);
    }
}

void ofSetupOpenGL(int w, int h, int screenMode)
{
    // Lives as long as the process, like the window it opens.
    ofSetupOpenGL(new ofAppGlutWindow, w, h, screenMode);
}

void ofRunApp(ofBaseApp* app)
{
    appPtr = app;
    if (appPtr != nullptr) {
        appPtr->mouseX = 0;
        appPtr->mouseY = 0;
    }
    static bool exitRegistered = false;
    if (!exitRegistered) {
        std::atexit(exitApp);
        exitRegistered = true;
    }
    if (window == nullptr) {
        ofLog(OF_LOG_ERROR, "ofRunApp: no window; call ofSetupOpenGL first");
        return;
    }
    window->initializeWindow();
    ofSeedRandom();
    ofResetElapsedTimeCounter();
    window->runAppViaInfiniteLoop(appPtr);
}

ofBaseApp* ofGetAppPtr() { return appPtr; }
ofAppBaseWindow* ofGetWindowPtr() { return window; }

int ofGetWidth() { return window ? static_cast<int>(window->getWindowSize().x) : 0; }
int ofGetHeight() { return window ? static_cast<int>(window->getWindowSize().y) : 0; }
float ofGetFrameRate() { return window ? window->getFrameRate() : 0.0f; }
int ofGetFrameNum() { return window ? window->getFrameNum() : 0; }
double ofGetLastFrameTime() { return window ? window->getLastFrameTime() : 0.0; }

void ofSetUpdateRate(int stepsPerSecond) { ofAppGlutWindow::setUpdateRate(stepsPerSecond); }
float ofGetGameTimef() { return static_cast<float>(ofAppGlutWindow::getGameTime()); }
void ofPassTimeUnsimulated() { ofAppGlutWindow::passTimeUnsimulated(); }

void ofSetFrameRate(int targetRate)
{
    if (window) {
        window->setFrameRate(static_cast<float>(targetRate));
    }
}

void ofSetWindowTitle(std::string title)
{
    if (window) {
        window->setWindowTitle(title);
    }
}

void ofHideCursor()
{
    if (window) {
        window->hideCursor();
    }
}

void ofShowCursor()
{
    if (window) {
        window->showCursor();
    }
}

void ofSetWindowPosition(int x, int y)
{
    if (window) {
        window->setWindowPosition(x, y);
    }
}

void ofSetWindowShape(int width, int height)
{
    if (window) {
        window->setWindowShape(width, height);
    }
}

int ofGetWindowPositionX() { return window ? static_cast<int>(window->getWindowPosition().x) : 0; }
int ofGetWindowPositionY() { return window ? static_cast<int>(window->getWindowPosition().y) : 0; }
int ofGetScreenWidth() { return window ? static_cast<int>(window->getScreenSize().x) : 0; }
int ofGetScreenHeight() { return window ? static_cast<int>(window->getScreenSize().y) : 0; }
int ofGetWindowMode() { return window ? window->getWindowMode() : 0; }

void ofSetFullscreen(bool fullscreen)
{
    if (window) {
        window->setFullscreen(fullscreen);
    }
}

void ofToggleFullscreen()
{
    if (window) {
        window->toggleFullscreen();
    }
}

bool ofWindowHasFocus() { return window ? window->hasFocus() : false; }

void ofEnableSetupScreen()
{
    if (window) {
        window->enableSetupScreen();
    }
}

void ofDisableSetupScreen()
{
    if (window) {
        window->disableSetupScreen();
    }
}

void ofSetVerticalSync(bool on)
{
    ofSetSwapInterval(on ? 1 : 0);
}
