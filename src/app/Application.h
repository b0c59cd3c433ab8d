#pragma once
// The game. Owns every game object, fixes the order in which they are updated and drawn,
// decides from a handful of flags which screen is showing, turns keys into ball actions and
// menu choices, runs the stage clock and writes the save file when a won stage is left.
//
// Screens, by the flags (draw tests them in this order): stageWon gives the tally, or after
// the last stage the end or new-highscore screen; playing the in-game display; showInfo the
// info screen; otherwise the main menu, or the highscore table when showHighscores is set.

#include "gui/Gui.h"
#include "level/DisplayList.h"
#include "level/Level.h"
#include "media/ofBaseApp.h"
#include "media/ofSwapControl.h"
#include "player/Camera.h"
#include "player/GameSounds.h"
#include "player/Player.h"
#include "replay/StageRules.h"

class Application : public ofBaseApp {
public:
    // Needs the window's GL context (the stage and the ball create textures).
    Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    void setup() override;
    void update() override;
    void draw() override;
    void windowResized(int w, int h) override;
    void keyPressed(int key) override;
    void keyReleased(int key) override;
    void mouseMoved(int x, int y) override;
    void mouseDragged(int x, int y, int button) override;
    void mousePressed(int x, int y, int button) override;
    void mouseReleased(int x, int y, int button) override;
    using ofBaseApp::mouseReleased;

    static constexpr int KEY_BACKSPACE = 8;
    static constexpr int KEY_ENTER = 13;
    static constexpr int KEY_SPACE = 32;
    static constexpr int KEY_LEFT = 356;
    static constexpr int KEY_UP = 357;
    static constexpr int KEY_RIGHT = 358;
    static constexpr int KEY_DOWN = 359;
    // Frames a second the ball's and the camera's per-frame steps are tuned for.
    static constexpr int GAME_FRAME_RATE = 60;

    Level level;
    Player player;
    Gui gui;
    Camera camera;
    GameSounds sounds;
    int stage = 1;              // stage to play next, or being played; from 1
    float now = 0.0f;           // s of game time (ofGetGameTimef), sampled at the start of update
    float endTime = 0.0f;       // value of now at which the running stage's time is up
    float timeLeft = 0.0f;      // endTime - now
    float timeLimit = 0.0f;     // s allowed for the running stage
    bool playing = false;       // a stage is played: the ball's stageRunning, copied each update
    bool allCleared = false;    // the stage just won was the last one
    PlayInput input;            // auto-forward (upHeld) and the look-around wish of the play keys
    bool showInfo = false;
    bool showHighscores = false;
    bool retracePaced = false;  // the display's retrace paces the frames, not the window

    // Once a drawn frame (draw calls it first): a retrace that does not pace the frames
    // hands the pacing to the window, for the rest of the run.
    void watchRetrace();

private:
    void control(int key);
    void takeLookAround();
    void menuKey(int key);
    void selectMenuItem(int index);
    void startStage();
    void nextStage();
    void initGl();
    void begin2d(int w, int h);
    void end2d();
    void drawLight(int index, float r, float g, float b);

    ofRetraceWatch retraceWatch{GAME_FRAME_RATE};   // fed once a drawn frame
    DisplayList lightSphere;   // the light's glowing ball, tessellated once
};
