#include "media/ofAppRunner.h"

#include "media/ofAppGlutWindow.h"
#include "media/ofBaseApp.h"
#include "media/ofEvents.h"
#include "media/ofLibraries.h"
#include "media/ofUtils.h"

#include <GL/glx.h>
#include <cstdlib>
#include <cstring>

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

bool hasGlxExtension(const char* extensions, const char* name)
{
    size_t len = std::strlen(name);
    for (const char* p = extensions; (p = std::strstr(p, name)) != nullptr; p += len) {
        bool startsWord = p == extensions || p[-1] == ' ';
        bool endsWord = p[len] == ' ' || p[len] == '\0';
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
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
    Display* display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) {
        return;   // no current context
    }
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (extensions == nullptr) {
        return;
    }
    int interval = on ? 1 : 0;
    auto lookup = [](const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); };

    if (hasGlxExtension(extensions, "GLX_EXT_swap_control")) {
        using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
        if (auto fn = reinterpret_cast<SwapIntervalExt>(lookup("glXSwapIntervalEXT"))) {
            fn(display, drawable, interval);
            return;
        }
    }
    if (hasGlxExtension(extensions, "GLX_MESA_swap_control")) {
        using SwapIntervalMesa = int (*)(unsigned int);
        if (auto fn = reinterpret_cast<SwapIntervalMesa>(lookup("glXSwapIntervalMESA"))) {
            fn(static_cast<unsigned int>(interval));
            return;
        }
    }
    // The SGI form cannot switch sync off: an interval of 0 is an error there.
    if (on && hasGlxExtension(extensions, "GLX_SGI_swap_control")) {
        using SwapIntervalSgi = int (*)(int);
        if (auto fn = reinterpret_cast<SwapIntervalSgi>(lookup("glXSwapIntervalSGI"))) {
            fn(interval);
        }
    }
}
