#pragma once
// Start-up and the window functions. Each query forwards to the window given to
// ofSetupOpenGL; before there is one, queries return 0 and commands do nothing.

#include <string>

class ofAppBaseWindow;
class ofBaseApp;

// Stores `window` as the process's window and opens it (screenMode 0 window,
// 1 full screen, 2 game mode).
void ofSetupOpenGL(ofAppBaseWindow* window, int w, int h, int screenMode);
// The same with a GLUT window of its own.
void ofSetupOpenGL(int w, int h, int screenMode);

// Takes ownership of `app` (deleted at process exit) and runs the loop; never returns.
void ofRunApp(ofBaseApp* app);
ofBaseApp* ofGetAppPtr();
ofAppBaseWindow* ofGetWindowPtr();

int ofGetWidth();
int ofGetHeight();
float ofGetFrameRate();
int ofGetFrameNum();
double ofGetLastFrameTime();   // seconds between the last two frames
void ofSetFrameRate(int targetRate);   // 0 switches pacing off

void ofSetWindowTitle(std::string title);
void ofHideCursor();
void ofShowCursor();
void ofSetWindowPosition(int x, int y);
void ofSetWindowShape(int width, int height);
int ofGetWindowPositionX();
int ofGetWindowPositionY();
int ofGetScreenWidth();
int ofGetScreenHeight();
int ofGetWindowMode();
void ofSetFullscreen(bool fullscreen);
void ofToggleFullscreen();

// Whether the loop runs ofSetupScreen before every draw.
void ofEnableSetupScreen();
void ofDisableSetupScreen();

// Asks the driver to wait for the vertical retrace at every buffer swap; nothing
// happens when it offers no swap-interval control.
void ofSetVerticalSync(bool on);
