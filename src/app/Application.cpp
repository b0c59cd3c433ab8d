#include "app/Application.h"

#include "gui/SaveFile.h"
#include "replay/ReplayRun.h"
#include "replay/StageRules.h"
#include "media/ofAppRunner.h"
#include "media/ofSwapControl.h"
#include "media/ofUtils.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <algorithm>
#include <fstream>
#include <string>

Application::Application() : player(Vec3(0, 0, 0)) {}

Application::Application(const LaunchOptions& launch) : player(Vec3(0, 0, 0)), launch(launch) {}

void Application::setup()
{
    initGl();
    input = PlayInput{};
    playing = false;
    allCleared = false;
    showInfo = false;
    showHighscores = false;
    gui.setup();
    sounds.load();

    SaveState save;
    readSaveFile(SAVE_FILE_PATH, save);
    stage = save.stage;
    gui.totalScore = save.totalScore;

    level.setup(stage, gui.totalScore);
    player.reset(level.startPosition);
    backgroundStage = stage;
    now = 0.0f;
    timeLeft = 0.0f;
    endTime = 0.0f;
    timeLimit = level.timeLimit;

    setupSettings();
    setupProgress();
    applyLaunch();
}

void Application::update()
{
    // Game time: what the fixed steps simulated, so a slow frame or a stall costs the stage
    // clock no more than the ball moved.
    now = ofGetGameTimef();
    pollPad();
    if (paused) {
        // The stage stands still: its clock keeps the seconds it had.
        endTime = now + pausedLeft;
        timeLeft = pausedLeft;
        sounds.update();
        return;
    }
    const bool inPlay = playing && !player.stageWon;
    timeLeft = endTime - now;
    if (inPlay && watching) {
        // A watched run's keys reach the ball at their steps, its clock shows what it showed.
        feedWatchedKeys();
        timeLeft = replayTimeLeft(watched.startLeft, playSteps);
        endTime = now + timeLeft;
    }
    if (inPlay && playSteps == 0) {
        startLeft = timeLeft;
        recorder.setStartLeft(startLeft);
    }
    level.update();

    const bool wonBefore = player.stageWon;
    stagerules::step(level, player, sounds, input, playing, timeLeft);
    if (playing && !wonBefore) {
        ++playSteps;
        if (player.stageWon) {
            finishStep = playSteps;
            finishLeft = timeLeft;
        }
        gui.updateHud(timeLeft, level);
        camera.update(player);
    } else if (showStageSelect) {
        showSelectedStage();
        Vec3 centre;
        float radius = 0.0f;
        level.bounds(centre, radius);
        camera.orbitFramed(now, centre, radius);
    } else {
        camera.orbit(now);
    }
    if (inPlay && !playing && !player.stageWon) {
        stageLost();
    }
    watchFocus();
    sounds.update();
}

void Application::draw()
{
    watchRetrace();
    const int w = ofGetWidth();
    const int h = ofGetHeight();
    gui.setSize(w, h);
    camera.apply(w, h, player);

    // The scene's one light sits at (50, 50, 25).
    glPushMatrix();
    {
        glTranslatef(50, 50, 25);
        drawLight(0, 1, 1, 1);
    }
    glPopMatrix();

    level.draw();
    player.draw();
    drawGhost();

    begin2d(w, h);
    ofHideCursor();
    if (player.stageWon) {
        // The last stage is the one after which no stage file follows; a practice stage,
        // a watched run or a stage file of one's own is never the last.
        if (!allCleared && !practice && !watching && launch.mode != LaunchOptions::Mode::Play) {
            std::ifstream next(Level::stageFileName(stage + 1));
            if (!next.is_open()) {
                allCleared = true;
            }
        }
        const bool scoring = gui.tallyPending;
        gui.drawTally(allCleared, stage);
        if (scoring && !gui.tallyPending) {
            stageScored();
        }
        drawTallyRecord();
    } else if (playing) {
        gui.drawHud(level);
        if (paused) {
            pauseScreen.draw(gui);
        }
    } else if (showInfo) {
        gui.drawInfo();
    } else if (showStageSelect) {
        drawStageSelect();
    } else if (showOptions) {
        optionsScreen.draw(gui, settings);
    } else if (!showHighscores) {
        gui.drawMenu(stage, allCleared);
    } else {
        gui.drawHighscores();
    }
    end2d();

    ofSetWindowTitle("Tumbrix Velquor FPS: " + ofToString(ofGetFrameRate(), 0));
}

void Application::windowResized(int, int) {}

void Application::keyPressed(int key)
{
    const int k = key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key;
    if (globalKey(k)) {
        return;
    }
    if (watching) {
        // Any key ends a watched run.
        stopWatching();
        return;
    }
    if (player.stageWon) {
        // Keys wait for the first tally frame: it scores the stage and settles allCleared
        // and newHighscore, so a key from the winning frame cannot skip the score.
        if (gui.tallyPending) {
            return;
        }
        if (allCleared && gui.newHighscore) {
            if (gui.nameEntryKey(k)) {
                nextStage();
            }
        } else if (k == KEY_ENTER) {
            tallyEnter();
        }
    } else if (playing) {
        if (paused) {
            pauseKey(k);
        } else if (k == 'p') {
            pause();
        } else {
            recordKey(k, true);
            if (stagerules::pressKey(player, input, k)) {
                takeLookAround();
            }
        }
    } else if (showStageSelect) {
        stageSelectKey(k);
    } else if (showOptions) {
        optionsKey(k);
    } else {
        menuKey(k);
    }
}

void Application::keyReleased(int key)
{
    if (watching) {
        return;
    }
    if (playing && !player.stageWon) {
        recordKey(key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key, false);
    }
    stagerules::releaseKey(input);
}

void Application::mouseMoved(int, int) {}
void Application::mouseDragged(int, int, int) {}
void Application::mousePressed(int, int, int) {}
void Application::mouseReleased(int, int, int) {}

void Application::control(int key)
{
    stagerules::control(player, input, key);
    takeLookAround();
}

// Space asks the camera to look around; the rules only note the wish.
void Application::takeLookAround()
{
    if (input.lookAround) {
        camera.lookAround = true;
        input.lookAround = false;
    }
}

void Application::menuKey(int key)
{
    if (key == KEY_ENTER) {
        if (!showInfo && !showHighscores) {
            selectMenuItem(gui.menuCursor);
        } else {
            showInfo = false;
            showHighscores = false;
        }
    } else if (key == KEY_BACKSPACE && (showInfo || showHighscores)) {
        showInfo = false;
        showHighscores = false;
    } else if (key == KEY_UP) {
        gui.menuCursor -= 1;   // wrapped into range when the menu is drawn
    } else if (key == KEY_DOWN) {
        gui.menuCursor += 1;
    }
}

void Application::selectMenuItem(int index)
{
    switch (index) {
    case 0: startStage(); break;
    case 1:
        // Only memory changes: the save file keeps the old game until a stage is won.
        gui.totalScore = 0;
        stage = 1;
        startStage();
        break;
    case 2: showHighscores = true; break;
    case 3:
        sounds.toggleMusic();
        settings.music = !settings.music;
        writeSettingsFile(SETTINGS_FILE_PATH, settings);
        break;
    case 4: showInfo = true; break;
    case 5:
        stageSelect.select(std::min(stage, stageSelect.stageCount()));
        notice.clear();
        showStageSelect = true;
        break;
    case 6:
        optionsScreen.open();
        showOptions = true;
        break;
    default: break;
    }
}

void Application::startStage()
{
    level.clear();
    if (launch.mode == LaunchOptions::Mode::Play) {
        level.loadFile(launch.file);
    } else {
        level.load(stage, gui.totalScore);
    }
    player.reset(level.startPosition);
    backgroundStage = launch.mode == LaunchOptions::Mode::Play ? 0 : stage;
    // Loading counts against the limit, but the world has nothing to catch up on.
    ofPassTimeUnsimulated();
    timeLimit = level.timeLimit;
    player.stageRunning = true;
    playing = true;
    allCleared = false;
    // Loading counts against the limit: the next update samples a later now.
    endTime = now + timeLimit;
    gui.menuCursor = 0;
    input = PlayInput{};
    paused = false;
    playSteps = 0;
    finishStep = 0;
    tallyRecord = TallyRecord{};
    recordStart();
}

void Application::nextStage()
{
    stage += 1;
    writeSaveFile(SAVE_FILE_PATH, SaveState{stage, gui.totalScore});
    player.stageWon = false;
}

void Application::initGl()
{
    // Ball, camera and spin move by fixed amounts per game step of 1 / GAME_FRAME_RATE s. The
    // retrace paces the frames where the refresh rate is a whole multiple of it; anywhere
    // else (75 or 144 Hz, a display that does not say, a driver without swap control) the
    // window paces them itself, with the retrace wait off so the two do not fight.
    const int interval = ofSwapIntervalFor(ofGetScreenRefreshRate(), GAME_FRAME_RATE);
    retracePaced = interval != 0 && ofSetSwapInterval(interval);
    if (!retracePaced) {
        ofSetSwapInterval(0);
        ofSetFrameRate(GAME_FRAME_RATE);
    }
    // Whatever the frame rate, the game moves in steps of 1/60 s, several a frame where
    // frames come slower.
    ofSetUpdateRate(GAME_FRAME_RATE);
    ofDisableSetupScreen();
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
}

// A driver may accept the swap interval and still not wait for the retrace: the window then
// takes over the pacing, for the rest of the run.
void Application::watchRetrace()
{
    if (!retracePaced || !retraceWatch.tooFast(ofGetElapsedTimeMillis() / 1000.0)) {
        return;
    }
    retracePaced = false;
    ofSetSwapInterval(0);
    ofSetFrameRate(GAME_FRAME_RATE);
    ofLog(OF_LOG_WARNING, "the display does not wait for its retrace: the game paces itself to %d frames a second",
          GAME_FRAME_RATE);
}

void Application::begin2d(int w, int h)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, w, 0, h);
    glScalef(1, -1, 1);
    glTranslatef(0, static_cast<float>(-h), 0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
}

void Application::end2d()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

void Application::drawLight(int index, float r, float g, float b)
{
    const GLenum light = GL_LIGHT0 + index;
    glEnable(light);
    const GLfloat colour[4] = {r, g, b, 1.0f};
    const GLfloat ambient[4] = {0.1f * r, 0.1f * g, 0.1f * b, 1.0f};
    const GLfloat origin[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(light, GL_DIFFUSE, colour);
    glLightfv(light, GL_SPECULAR, colour);
    glLightfv(light, GL_AMBIENT, ambient);
    glLightfv(light, GL_POSITION, origin);
    // The light's source shows as a small glowing ball.
    glMaterialfv(GL_FRONT, GL_EMISSION, colour);
    glColor3f(0, 0, 0);
    // Drawn as compiled as the stage is.
    if (level.compiledDrawing && lightSphere.empty()) {
        lightSphere.compile([] { glutSolidSphere(0.25, 43, 23); });
    }
    if (!level.compiledDrawing || !lightSphere.call()) {
        glutSolidSphere(0.25, 43, 23);
    }
}
