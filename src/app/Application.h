#pragma once
// The game. Owns every game object, fixes the order in which they are updated and drawn,
// decides from a handful of flags which screen is showing, turns keys into ball actions and
// menu choices, runs the stage clock and writes the save file when a won stage is left.
//
// Screens, by the flags (draw tests them in this order): stageWon gives the tally, or after
// the last stage the end or new-highscore screen; playing the in-game display (with the pause
// panel over it while paused); showInfo the info screen; showStageSelect the stage select;
// showOptions the options; otherwise the main menu, or the highscore table when
// showHighscores is set.
//
// What players add to the specified game lives in classes of its own, each a member here:
// the records and medals (progress/), recording, watching and racing runs (replay/), the
// gamepad (input/), the settings and the new screens (gui/). The Application's own files
// only decide what shows and where an event goes: ApplicationStages.cpp (stage select,
// practice, the command line's stages, records of a win), ApplicationReplay.cpp (recording,
// watching, the ghost), ApplicationInput.cpp (the pad, pause, options, F11).

#include "app/LaunchOptions.h"
#include "gui/Gui.h"
#include "gui/OptionsScreen.h"
#include "gui/PauseScreen.h"
#include "gui/Settings.h"
#include "input/Gamepad.h"
#include "progress/ProvenTimes.h"
#include "progress/Records.h"
#include "progress/StageSelect.h"
#include "progress/Worlds.h"
#include "replay/Ghost.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayRecorder.h"
#include "level/DisplayList.h"
#include "level/Level.h"
#include "media/ofBaseApp.h"
#include "media/ofSwapControl.h"
#include "player/Camera.h"
#include "player/GameSounds.h"
#include "player/Player.h"
#include "replay/StageRules.h"

#include <map>
#include <memory>
#include <string>

class Application : public ofBaseApp {
public:
    // Needs the window's GL context (the stage and the ball create textures).
    Application();
    explicit Application(const LaunchOptions& launch);
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
    static constexpr int KEY_F11 = 11 | 256;
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

    // Beyond the specified game.
    LaunchOptions launch;       // the command line
    Records records;            // best time and score of every stage
    ProvenTimes provenTimes;    // each stage's proven fastest time, for the medals
    Worlds worlds;              // names of the worlds of ten stages
    StageSelect stageSelect;    // the stage select's page and cursor
    Settings settings;          // volumes, full screen, music
    PauseScreen pauseScreen;
    OptionsScreen optionsScreen;
    Gamepad pad;
    ReplayRecorder recorder;    // the run being played
    Ghost ghost;                // the best run raced against
    bool showStageSelect = false;
    bool showOptions = false;
    bool paused = false;        // the stage's steps and clock stand still
    bool practice = false;      // a stage below the one reached: records only, no save, no total
    bool racing = false;        // the ghost of the stage's best run rolls along
    bool watching = false;      // a recorded run plays itself
    bool fromStageSelect = false;   // the running stage was chosen there, and returns there
    int reachedStage = 1;       // the save's stage while a practice stage is played
    int practiceTotal = 0;      // total score to restore after a practice win
    int playSteps = 0;          // play steps run since the stage started
    int finishStep = 0;         // the step that won, the winning step counted
    float startLeft = 0.0f;     // seconds left as the first play step saw them
    float finishLeft = 0.0f;    // seconds left in the winning step
    float pausedLeft = 0.0f;    // seconds left when the pause began
    ReplayData watched;         // the run played while watching
    std::size_t watchedNext = 0;    // its next event
    // The tally's record lines for the stage just won.
    struct TallyRecord {
        bool shown = false;
        int steps = 0;
        int bestSteps = 0;
        bool newBest = false;
        bool ghostRaced = false;
        int ghostSteps = 0;     // the ghost's finish step
        std::string medal;
    } tallyRecord;
    std::string notice;         // one line for the stage select
    bool pauseWhenUnfocused = true;   // a stage pauses when the window loses the focus

    // The stage select's choice: the stage reached plays as Continue does, one below it is
    // practice; `race` brings the ghost of the stage's best run. False (with a notice) for a
    // locked stage or a race without a best run.
    bool playFromSelect(int pick, bool race);
    // Plays the stage's best run in the window; false (with a notice) without one.
    bool watchBest(int pick);
    // Plays a replay file (launch option); false when it cannot be played here.
    bool watchReplay(const ReplayData& data, const std::string& source);
    static std::string replayPath(int stage, const char* which);   // "best" or "last"

    // Once a drawn frame (draw calls it first): a retrace that does not pace the frames
    // hands the pacing to the window, for the rest of the run.
    void watchRetrace();

private:
    void control(int key);
    // ApplicationStages.cpp
    void setupProgress();
    void applyLaunch();
    void stageSelectKey(int key);
    void showSelectedStage();
    void stageScored();
    void stageLost();
    void leaveStage();
    void tallyEnter();
    void drawStageSelect();
    void drawTallyRecord();
    void startPlayFile();
    std::string stageName(int stage);
    // ApplicationReplay.cpp
    void recordStart();
    void recordKey(int key, bool press);
    void feedWatchedKeys();
    void stopWatching();
    void saveReplays(int score, bool newBest);
    bool buildGhost(const ReplayData& data);
    void drawGhost();
    // ApplicationInput.cpp
    void setupSettings();
    void pollPad();
    int padKey(PadButton button) const;
    bool globalKey(int key);
    void pause();
    void resume();
    void pauseKey(int key);
    void optionsKey(int key);
    void applySettings(OptionsScreen::Action changed);
    void watchFocus();
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
    std::unique_ptr<Player> ghostBall;   // the ghost's own ball, made for the first race
    std::map<int, std::string> stageNames;   // messages of the stages, read for the stage select
    int focusCheck = 0;        // steps until the window's focus is looked at again
    int backgroundStage = 0;   // the stage loaded into the level (0: a stage file of one's own)
};
