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
// Fixed game steps a second: the loop then runs as many updates before each frame as the
// time since the last one calls for, at most four (ofFixedStep). 0: one update a frame.
void ofSetUpdateRate(int stepsPerSecond);
// Seconds on the game clock: time the updates simulated (a stall beyond four steps is not
// counted), or the elapsed clock while the loop runs one update a frame.
float ofGetGameTimef();
// The time since the last frame counts on the game clock, but no update catches up on it:
// for work that must cost game time without the world moving on, such as loading a stage.
void ofPassTimeUnsimulated();

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
// Switches between a window and the whole screen at the next frame; either way round, as
// often as wanted (game mode excepted).
void ofSetFullscreen(bool fullscreen);
void ofToggleFullscreen();
// Whether the game window holds the keyboard focus (another window was clicked or raised
// over it when not); false before there is a window. Cheap enough to ask every step.
bool ofWindowHasFocus();

// Whether the loop runs ofSetupScreen before every draw.
void ofEnableSetupScreen();
void ofDisableSetupScreen();

// Asks the driver to wait for the vertical retrace at every buffer swap; nothing
// happens when it offers no swap-interval control.
void ofSetVerticalSync(bool on);
