#include "media/ofAppGlutWindow.h"

#include "media/ofAppRunner.h"
#include "media/ofBaseApp.h"
#include "media/ofEvents.h"
#include "media/ofFixedStep.h"
#include "media/ofGraphics.h"
#include "media/ofUtils.h"
#include "media/ofWindowFocus.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

ofBaseApp* appPtr = nullptr;
int windowMode = 0;               // 0 window, 1 full screen, 2 game mode
bool newScreenMode = true;        // a mode change waits for the next display step
bool setupScreenOn = true;        // run ofSetupScreen before every draw
bool frameRateSet = false;        // pace frames to the target duration
int millisForFrame = 0;           // target frame duration, ms
float frameRate = 60.0f;          // smoothed frames per second
float fps = 60.0f;                // 1 / last frame time
float timeNow = 0.0f;             // s of the elapsed clock at the last idle step
float timeThen = 0.0f;
double lastFrameTime = 0.0;       // s between the last two idle steps
int prevMillis = 0;               // elapsed ms at the end of the last pacing check
int nFrameCount = 0;              // display steps completed
int nFramesSinceWindowResized = 0;
int requestedWidth = 0;           // size to restore when leaving full screen
int requestedHeight = 0;
int windowW = 0;                  // current size as GLUT reports it
int windowH = 0;
int nonFullScreenX = -1;          // position saved before going full screen
int nonFullScreenY = -1;
int buttonInUse = 0;
int updateRate = 0;               // fixed game steps a second; 0: one update a frame
std::unique_ptr<ofFixedStep> fixedStep;   // runs from the first idle step after the rate is set
bool processExiting = false;      // exit() has begun; GLUT tears the window down after us

ofEventArgs voidEventArgs;
ofResizeEventArgs resizeEventArgs;
ofKeyEventArgs keyEventArgs;
ofMouseEventArgs mouseEventArgs;

void initDisplayMode(const std::string& displayString)
{
    if (!displayString.empty()) {
        glutInitDisplayString(displayString.c_str());
    } else {
        glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    }
}

void markProcessExiting()
{
    processExiting = true;
}

void runUpdate()
{
    if (appPtr != nullptr) {
        appPtr->update();
    }
    ofNotifyEvent(ofEvents.update, voidEventArgs);
}

void notifyKey(ofEvent<ofKeyEventArgs>& event, int key)
{
    keyEventArgs.key = key;
    ofNotifyEvent(event, keyEventArgs);
}

} // namespace

void ofAppGlutWindow::setGlutDisplayString(std::string displayStr)
{
    displayString = displayStr;
}

void ofAppGlutWindow::setupOpenGL(int w, int h, int screenMode)
{
    int argc = 1;
    char programName[] = "tumbrix";
    char* argv[] = {programName, nullptr};
    glutInit(&argc, argv);
    initDisplayMode(displayString);

    windowMode = screenMode;
    newScreenMode = true;

    if (windowMode == 2) {
        initDisplayMode(displayString);
        char gameStr[64];
        std::snprintf(gameStr, sizeof gameStr, "%dx%d:%d@%d", w, h, 32, 60);
        glutGameModeString(gameStr);
        if (!glutGameModeGet(GLUT_GAME_MODE_POSSIBLE)) {
            ofLog(OF_LOG_ERROR, "game mode error: selected format (%s) not available \n", gameStr);
        }
        glutEnterGameMode();
    } else {
        glutInitWindowSize(w, h);
        glutCreateWindow("");
        ofSetupGraphicDefaults();
        requestedWidth = glutGet(GLUT_WINDOW_WIDTH);
        requestedHeight = glutGet(GLUT_WINDOW_HEIGHT);
    }

    windowW = glutGet(GLUT_WINDOW_WIDTH);
    windowH = glutGet(GLUT_WINDOW_HEIGHT);
}

void ofAppGlutWindow::initializeWindow()
{
    glutMouseFunc(mouse);
    glutMotionFunc(motion);
    glutPassiveMotionFunc(passiveMotion);
    glutIdleFunc(idle);
    glutDisplayFunc(display);
    glutKeyboardFunc(keyboard);
    glutKeyboardUpFunc(keyboardUp);
    glutSpecialFunc(special);
    glutSpecialUpFunc(specialUp);
    glutReshapeFunc(resize);
    nFramesSinceWindowResized = 0;
    // Closing the window must end the process through the same exit path as Escape.
    glutCloseFunc(close);
    // GLUT destroys its windows at process exit and calls the close callback for them;
    // a second exit() from there would be undefined and would replace the exit status.
    std::atexit(markProcessExiting);
}

void ofAppGlutWindow::runAppViaInfiniteLoop(ofBaseApp* app)
{
    appPtr = app;
    if (appPtr != nullptr) {
        appPtr->setup();
        appPtr->update();
    }
    ofNotifyEvent(ofEvents.setup, voidEventArgs);
    ofNotifyEvent(ofEvents.update, voidEventArgs);
    glutMainLoop();
}

void ofAppGlutWindow::hideCursor() { glutSetCursor(GLUT_CURSOR_NONE); }
void ofAppGlutWindow::showCursor() { glutSetCursor(GLUT_CURSOR_LEFT_ARROW); }
void ofAppGlutWindow::setWindowPosition(int x, int y) { glutPositionWindow(x, y); }

void ofAppGlutWindow::setWindowShape(int w, int h)
{
    glutReshapeWindow(w, h);
    requestedWidth = w;
    requestedHeight = h;
}

int ofAppGlutWindow::getFrameNum() { return nFrameCount; }
float ofAppGlutWindow::getFrameRate() { return frameRate; }
double ofAppGlutWindow::getLastFrameTime() { return lastFrameTime; }

ofPoint ofAppGlutWindow::getWindowPosition()
{
    return ofPoint(static_cast<float>(glutGet(GLUT_WINDOW_X)), static_cast<float>(glutGet(GLUT_WINDOW_Y)), 0.0f);
}

ofPoint ofAppGlutWindow::getWindowSize()
{
    return ofPoint(static_cast<float>(windowW), static_cast<float>(windowH), 0.0f);
}

ofPoint ofAppGlutWindow::getScreenSize()
{
    return ofPoint(static_cast<float>(glutGet(GLUT_SCREEN_WIDTH)), static_cast<float>(glutGet(GLUT_SCREEN_HEIGHT)), 0.0f);
}

void ofAppGlutWindow::setFrameRate(float rate)
{
    if (rate == 0.0f) {
        frameRateSet = false;
        return;
    }
    frameRateSet = true;
    float durationOfFrame = 1.0f / rate;
    millisForFrame = static_cast<int>(durationOfFrame * 1000.0);
    frameRate = rate;
}

void ofAppGlutWindow::setWindowTitle(std::string title) { glutSetWindowTitle(title.c_str()); }

int ofAppGlutWindow::getWindowMode() { return windowMode; }

bool ofAppGlutWindow::hasFocus()
{
    return glutGetWindow() != 0 && ofCurrentWindowHasFocus();
}

void ofAppGlutWindow::setFullscreen(bool full)
{
    if (windowMode == 2) {
        return;
    }
    int wanted = full ? 1 : 0;
    if (windowMode != wanted) {
        windowMode = wanted;
        newScreenMode = true;
    }
}

void ofAppGlutWindow::toggleFullscreen()
{
    if (windowMode == 2) {
        return;
    }
    windowMode = windowMode == 1 ? 0 : 1;
    newScreenMode = true;
}

void ofAppGlutWindow::enableSetupScreen() { setupScreenOn = true; }
void ofAppGlutWindow::disableSetupScreen() { setupScreenOn = false; }

void ofAppGlutWindow::idle()
{
    // Pace to the target frame duration, from the second frame on.
    if (nFrameCount != 0 && frameRateSet) {
        int diffMillis = ofGetElapsedTimeMillis() - prevMillis;
        if (diffMillis <= millisForFrame) {
            ofSleepMillis(millisForFrame - diffMillis);
        }
    }
    prevMillis = ofGetElapsedTimeMillis();

    // Exponential average of the frame rate; frames of 10 us or less are not sampled.
    timeNow = ofGetElapsedTimef();
    double diff = static_cast<double>(timeNow) - timeThen;
    if (diff > 0.00001) {
        fps = static_cast<float>(1.0 / diff);
        frameRate = static_cast<float>(frameRate * static_cast<double>(0.9f));
        frameRate = static_cast<float>(fps * static_cast<double>(0.1f) + frameRate);
    }
    lastFrameTime = diff;
    timeThen = timeNow;

    if (updateRate == 0) {
        runUpdate();
    } else {
        if (!fixedStep) {
            fixedStep = std::make_unique<ofFixedStep>(updateRate);
            fixedStep->start(ofGetElapsedTimeSecondsPrecise());
        }
        const int steps = fixedStep->stepsFor(ofGetElapsedTimeSecondsPrecise());
        for (int i = 0; i < steps; ++i) {
            fixedStep->step();
            runUpdate();
        }
    }
    glutPostRedisplay();
}

void ofAppGlutWindow::setUpdateRate(int stepsPerSecond)
{
    updateRate = stepsPerSecond > 0 ? stepsPerSecond : 0;
    fixedStep.reset();
}

double ofAppGlutWindow::getGameTime()
{
    return fixedStep ? fixedStep->gameSeconds() : ofGetElapsedTimef();
}

void ofAppGlutWindow::passTimeUnsimulated()
{
    if (fixedStep) {
        fixedStep->passUnsimulated(ofGetElapsedTimeSecondsPrecise());
    }
}

void ofAppGlutWindow::display()
{
    // A pending screen-mode change takes effect here, in the first frame after it.
    if (windowMode != 2 && newScreenMode) {
        if (windowMode == 1) {
            nonFullScreenX = glutGet(GLUT_WINDOW_X);
            nonFullScreenY = glutGet(GLUT_WINDOW_Y);
            glutFullScreen();
        } else if (windowMode == 0) {
            glutReshapeWindow(requestedWidth, requestedHeight);
            if (nFrameCount > 0) {
                glutPositionWindow(nonFullScreenX, nonFullScreenY);
            }
        }
        newScreenMode = false;
    }

    int width = ofGetWidth();
    int height = ofGetHeight();
    height = height > 0 ? height : 1;
    glViewport(0, 0, width, height);

    float* bgPtr = ofBgColorPtr();
    bool bClearAuto = ofbClearBg();

    if (!bClearAuto) {
        glDrawBuffer(GL_FRONT);
    }
    if (bClearAuto || nFrameCount < 3) {
        glClearColor(bgPtr[0], bgPtr[1], bgPtr[2], bgPtr[3]);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    if (setupScreenOn) {
        ofSetupScreen();
    }

    if (appPtr != nullptr) {
        appPtr->draw();
    }
    ofNotifyEvent(ofEvents.draw, voidEventArgs);

    if (bClearAuto) {
        glutSwapBuffers();
    } else if (nFramesSinceWindowResized < 3) {
        // Both buffers of a freshly resized window hold garbage until cleared.
        glClearColor(bgPtr[0], bgPtr[1], bgPtr[2], bgPtr[3]);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    } else if (nFrameCount < 3) {
        glutSwapBuffers();
    } else {
        glFlush();
    }

    nFramesSinceWindowResized++;
    nFrameCount++;
}

void ofAppGlutWindow::keyboard(unsigned char key, int, int)
{
    if (appPtr != nullptr) {
        appPtr->keyPressed(key);
    }
    notifyKey(ofEvents.keyPressed, key);
    if (key == 27) {
        ofLog(OF_LOG_VERBOSE, "GLUT OF app is being terminated!");
        std::exit(0);
    }
}

void ofAppGlutWindow::keyboardUp(unsigned char key, int, int)
{
    if (appPtr != nullptr) {
        appPtr->keyReleased(key);
    }
    notifyKey(ofEvents.keyReleased, key);
}

void ofAppGlutWindow::special(int key, int, int)
{
    if (appPtr != nullptr) {
        appPtr->keyPressed(key | 256);
    }
    notifyKey(ofEvents.keyPressed, key | 256);
}

void ofAppGlutWindow::specialUp(int key, int, int)
{
    if (appPtr != nullptr) {
        appPtr->keyReleased(key | 256);
    }
    notifyKey(ofEvents.keyReleased, key | 256);
}

void ofAppGlutWindow::mouse(int button, int state, int x, int y)
{
    // Clicks before the first frame is on screen are ignored.
    if (nFrameCount <= 0) {
        return;
    }
    if (appPtr != nullptr) {
        appPtr->mouseX = x;
        appPtr->mouseY = y;
    }
    mouseEventArgs.x = x;
    mouseEventArgs.y = y;
    mouseEventArgs.button = button;
    if (state == GLUT_DOWN) {
        if (appPtr != nullptr) {
            appPtr->mousePressed(x, y, button);
        }
        ofNotifyEvent(ofEvents.mousePressed, mouseEventArgs);
    } else if (state == GLUT_UP) {
        if (appPtr != nullptr) {
            appPtr->mouseReleased(x, y, button);
            appPtr->mouseReleased();
        }
        ofNotifyEvent(ofEvents.mouseReleased, mouseEventArgs);
    }
    buttonInUse = button;
}

void ofAppGlutWindow::motion(int x, int y)
{
    if (nFrameCount <= 0) {
        return;
    }
    if (appPtr != nullptr) {
        appPtr->mouseX = x;
        appPtr->mouseY = y;
        appPtr->mouseDragged(x, y, buttonInUse);
    }
    mouseEventArgs.x = x;
    mouseEventArgs.y = y;
    mouseEventArgs.button = buttonInUse;
    ofNotifyEvent(ofEvents.mouseDragged, mouseEventArgs);
}

void ofAppGlutWindow::passiveMotion(int x, int y)
{
    if (nFrameCount <= 0) {
        return;
    }
    if (appPtr != nullptr) {
        appPtr->mouseX = x;
        appPtr->mouseY = y;
        appPtr->mouseMoved(x, y);
    }
    mouseEventArgs.x = x;
    mouseEventArgs.y = y;
    ofNotifyEvent(ofEvents.mouseMoved, mouseEventArgs);
}

void ofAppGlutWindow::resize(int w, int h)
{
    windowW = w;
    windowH = h;
    if (appPtr != nullptr) {
        appPtr->windowResized(w, h);
    }
    resizeEventArgs.width = w;
    resizeEventArgs.height = h;
    ofNotifyEvent(ofEvents.windowResized, resizeEventArgs);
    nFramesSinceWindowResized = 0;
}

void ofAppGlutWindow::close()
{
    if (!processExiting) {
        std::exit(0);
    }
}
