#pragma once
// The game as the window loop runs it, one step at a time: an Application set up in the
// current GL context, then update and draw per frame and key presses in between, as the
// loop's callbacks deliver them. Also a bare Level for timing stage loads.

#include "level/Level.h"

#include <memory>

class Application;

class GameDriver {
public:
    // Constructs and sets up the Application (the save file names the stage), then runs the
    // one update the loop runs before its first frame.
    GameDriver();
    ~GameDriver();
    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    void update();
    void draw();   // Application::draw only; the loop's clear and swap are the caller's

    // Enter on the main menu's Continue item.
    void startStage();
    // Keys for frame `frame` of play: the up arrow held most of the time, released every few
    // seconds for a left turn. A stage lost (a fall, the clock) is started again from the
    // menu, and a stage won is left for the menu and started again.
    void steer(int frame);

    Application& application() { return *app; }
    int cubeCount() const;
    int collectibleCount() const;   // dice and coins not yet collected

private:
    std::unique_ptr<Application> app;
    int stageNumber = 0;   // the stage set up, so a won stage can be played again
    bool turned = false;   // the left turn of this steering cycle has been made
};

// Times Level::clear and Level::load of one stage file in a Level of its own.
class StageLoader {
public:
    double loadMillis(int stage);

private:
    Level level;
};
