#pragma once
// A real Application on the test GL context, started in a scratch working directory whose
// data/ folder holds the game's fonts, models, ball picture and sounds, one face texture, and
// stage files written by the test.

#include "app/Application.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace apptest {

struct Point {
    float x, y, z;
};

// The text of a stage file.
struct Stage {
    float fallRadius = 24.0f;
    float timeLimit = 90.0f;
    Point start{0, 0, 1.35f};
    Point target{0, 4, 1.7f};
    std::vector<Point> dice;
    std::vector<Point> coins;
    std::vector<Point> cubes;
    std::string message = "roll to the gate";

    std::string text() const;
};

// How many stages the repository ships: level1.txt, level2.txt, ... without a gap.
int shippedStageCount();

// Three cubes in a row along +y, the ball on the first, the finish above the third, a coin
// on the way and a die on the middle cube: pressing up twice wins it.
Stage rowStage();

class AppWorld {
public:
    AppWorld();
    ~AppWorld();

    void writeStage(int number, const Stage& stage) const;
    // The shipped stages, copied next to the game's other data, with the pictures they name
    // or without any pictures at all (not even the ball's): those only serve the drawing,
    // and reading them again at every stage start and every reset of the ball would take
    // most of a long run's time.
    void copyShippedStages(bool withPictures = true) const;
    void writeFile(const std::string& relative, const std::string& text) const;
    bool exists(const std::string& relative) const;
    std::string read(const std::string& relative) const;

    // Creates and sets up the application, then runs the update the window loop runs
    // before its first frame.
    Application& start();
    // One frame as the window loop runs it: update, then draw.
    void frame();
    void frames(int n);
    // Runs frames until `done` holds, at most `limit` frames; false when it never did.
    template <typename Condition>
    bool framesUntil(Condition done, int limit = 400)
    {
        for (int i = 0; i < limit; ++i) {
            if (done()) {
                return true;
            }
            frame();
        }
        return done();
    }
    // A key pressed and released between two frames.
    void tap(int key);

    // From the main menu: Enter on the highlighted item.
    void chooseContinue();
    // Plays the row stage to its finish with two presses of up; false when it was not won.
    bool winRowStage();
    // The same, but returns right after the update in which the ball reaches the finish,
    // before that frame's draw: the window loop delivers pending keys exactly there.
    bool winRowStageBeforeDraw();

    testsupport::ScratchDir scratch;
    std::unique_ptr<testsupport::WorkingDir> workingDir;
    std::unique_ptr<Application> app;
};

} // namespace apptest
