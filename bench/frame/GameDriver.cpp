#include "GameDriver.h"

#include "app/Application.h"

#include <chrono>

namespace {

const int KEY_ENTER = 13;
const int KEY_LEFT = 356;
const int KEY_UP = 357;
const int STEER_CYCLE = 150;   // frames: forward steps, then one left turn
const int TURN_AT = 100;       // frame within the cycle at which the up arrow is let go

} // namespace

GameDriver::GameDriver() : app(std::make_unique<Application>())
{
    // The benchmark plays on whatever has the focus.
    app->pauseWhenUnfocused = false;
    app->setup();
    app->update();
    stageNumber = app->stage;
}

GameDriver::~GameDriver() = default;

void GameDriver::update()
{
    app->update();
}

void GameDriver::draw()
{
    app->draw();
}

void GameDriver::startStage()
{
    app->keyPressed(KEY_ENTER);
    app->keyReleased(KEY_ENTER);
}

void GameDriver::steer(int frame)
{
    if (app->player.stageWon) {
        app->keyPressed(KEY_ENTER);   // leave the tally for the menu
        app->keyReleased(KEY_ENTER);
        app->stage = stageNumber;
        return;
    }
    if (!app->playing) {
        app->gui.menuCursor = 0;
        startStage();
        return;
    }
    const int phase = frame % STEER_CYCLE;
    if (phase == 0) {
        turned = false;
    }
    if (phase == TURN_AT) {
        app->keyReleased(KEY_UP);
    }
    if (!app->player.enableMovement) {
        return;   // a key now would be dropped
    }
    if (phase < TURN_AT) {
        app->keyPressed(KEY_UP);   // held from here on: auto-forward chains the steps
    } else if (!turned) {
        app->keyPressed(KEY_LEFT);
        app->keyReleased(KEY_LEFT);
        turned = true;
    }
}

int GameDriver::cubeCount() const
{
    return static_cast<int>(app->level.cubes.size());
}

int GameDriver::collectibleCount() const
{
    return app->level.remainingDice() + app->level.remainingCoins();
}

double StageLoader::loadMillis(int stage)
{
    int totalScore = 0;
    const auto start = std::chrono::steady_clock::now();
    level.clear();
    level.load(stage, totalScore);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
