// The ball as the game drives it: the real Application, with keys handled between a frame's
// update and its draw, the way the window loop delivers them. The timings that matter are
// the ones a player can hit by chance, such as a key in the very frame a jump ends.

#include "app/AppWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr float REST_DISTANCE = 1.35f;   // cube centre to the centre of a ball resting on it
// A roll over an edge leaves the ball off the middle of its new face by however far its
// centre had passed the edge, less than one frame's travel.
constexpr float OFF_MIDDLE = 0.1f + 1e-3f;
constexpr int STUCK_FRAMES = 200;

// Two cubes, the second one level higher: a jump from the first ends against its wall.
const char* const WALL_AHEAD = "face_red_bricks.png\n"
                               "sky_nebula.png\n"
                               "12\n"
                               "60\n"
                               "0 0 1.35\n"
                               "0 2 3.35\n"
                               "1\n"
                               "0 0 -1.35\n"
                               "0\n"
                               "2\n"
                               "0 0 0\n"
                               "0 2 2\n"
                               "jump at the wall, then turn as the ball lands.\n";

bool isAxis(const Vec3& v)
{
    for (const Vec3& axis : {Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, 0, 1)}) {
        if (v == axis || v == -axis) {
            return true;
        }
    }
    return false;
}

std::string describe(const Vec3& v)
{
    std::ostringstream out;
    out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
    return out.str();
}

// Plays the application frame by frame and watches the ball after every update: what a
// player must never see, whatever keys they press and whenever they press them.
class BallWatch {
public:
    explicit BallWatch(apptest::AppWorld& world) : world(world) {}

    Application& app() { return *world.app; }

    // From the main menu, Enter on Continue with stage `stage` chosen.
    void startStage(int stage)
    {
        app().stage = stage;
        world.tap(Application::KEY_ENTER);
        updates = 0;
        busyFrames = 0;
        scoreBefore = app().gui.totalScore;
    }

    // One frame; `keys` are pressed and released after its update. Returns the first
    // broken rule, or "".
    std::string frame(const std::vector<int>& keys = {}, bool draw = true)
    {
        app().update();
        std::string fault = check();
        ++updates;
        for (int key : keys) {
            world.tap(key);
        }
        if (draw) {
            app().draw();
        }
        return fault;
    }

    // The rules, read from the application after an update.
    std::string check()
    {
        const Player& ball = app().player;
        const std::vector<Cube>& cubes = app().level.cubes;
        const std::string at = "after update " + std::to_string(updates) + ", ball at " + describe(ball.Position) +
                               ", gravity " + describe(ball.Gravity) + ": ";
        for (const Vec3& v : {ball.Position, ball.Velocity, ball.Gravity, ball.Front, ball.Left}) {
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) {
                return at + "a value is not a number";
            }
        }
        if (!app().playing || ball.stageWon) {
            return "";
        }
        if (!ball.animateRotation && !isAxis(ball.Gravity)) {
            return at + "gravity is not an axis direction while no roll turns it";
        }
        for (const Cube& cube : cubes) {
            const Vec3 d = ball.Position - cube.position;
            if (std::fabs(d.x) < 1.0f && std::fabs(d.y) < 1.0f && std::fabs(d.z) < 1.0f) {
                return at + "the ball's centre is inside the cube at " + describe(cube.position);
            }
        }
        if (ball.enableMovement) {
            if (ball.animateRotation) {
                return at + "ready while a roll turns it";
            }
            bool resting = false;
            for (const Cube& cube : cubes) {
                const Vec3 d = ball.Position - (cube.position - ball.Gravity * REST_DISTANCE);
                const float along = dot(d, ball.Gravity);
                const Vec3 across = d - ball.Gravity * along;
                resting = resting || (std::fabs(along) < 1e-3f && std::fabs(across.x) <= OFF_MIDDLE &&
                                      std::fabs(across.y) <= OFF_MIDDLE && std::fabs(across.z) <= OFF_MIDDLE);
            }
            if (!resting) {
                return at + "ready without resting in the middle of a face";
            }
            busyFrames = 0;
        } else if (++busyFrames > STUCK_FRAMES) {
            return at + "busy for " + std::to_string(busyFrames) + " frames";
        }
        return "";
    }

    // Once the stage is won: the tally scores it in its first frame and never again, the
    // coins taken counting 100 each; Enter (and a name after the last stage) leaves it.
    std::string leaveTally()
    {
        Application& a = app();
        const int coins = a.level.coinsTotal - a.level.remainingCoins();
        a.draw();
        const int scored = a.gui.totalScore;
        if (a.gui.objectBonus != 100 * coins) {
            return "the tally counts " + std::to_string(a.gui.objectBonus) + " for " + std::to_string(coins) + " coins";
        }
        if (scored != scoreBefore + a.gui.timeBonus + a.gui.objectBonus) {
            return "the won stage added " + std::to_string(scored - scoreBefore) + " to the total";
        }
        for (int i = 0; i < 3; ++i) {
            a.update();
            a.draw();
        }
        if (a.allCleared && a.gui.newHighscore) {
            world.tap('a');
            world.tap('b');
        }
        world.tap(Application::KEY_ENTER);
        a.update();
        a.draw();
        if (a.gui.totalScore != scored) {
            return "the won stage was scored again: total " + std::to_string(a.gui.totalScore) + ", not " +
                   std::to_string(scored);
        }
        return "";
    }

    apptest::AppWorld& world;
    int updates = 0;
    int busyFrames = 0;
    int scoreBefore = 0;
};

// A key pressed and released after the stage's update number `afterUpdate`, counted from 0.
struct Timed {
    int afterUpdate;
    int key;
};

// Plays `frames` updates from the watch's update count on; every rule must hold after
// every one of them.
void play(BallWatch& watch, int frames, const std::vector<Timed>& keys)
{
    const int end = watch.updates + frames;
    while (watch.updates < end) {
        std::vector<int> now;
        for (const Timed& k : keys) {
            if (k.afterUpdate == watch.updates) {
                now.push_back(k.key);
            }
        }
        const std::string fault = watch.frame(now);
        ASSERT_EQ(fault, "");
    }
}

} // namespace

TEST(BallInPlay, JumpAtATallerCubeClimbsItsWallWhateverKeyFollows)
{
    // A jump ends pressed against the wall of the taller cube, in mid-air; a key in that
    // frame, or in the frame after, must not find the ball ready. Left there once turned
    // the gravity off the axes for good; Enter froze the climb half-way.
    for (int key : {0, Application::KEY_LEFT, Application::KEY_ENTER}) {
        for (int when : {21, 22}) {
            SCOPED_TRACE("key " + std::to_string(key) + " after update " + std::to_string(when));
            apptest::AppWorld world;
            world.copyShippedStages();
            world.writeFile("data/levels/level1.txt", WALL_AHEAD);
            world.start();
            BallWatch watch(world);
            watch.startStage(1);

            std::vector<Timed> keys = {{0, Application::KEY_ENTER}};
            if (key != 0) {
                keys.push_back({when, key});
            }
            play(watch, when + 1, keys);
            const Player& ball = world.app->player;
            EXPECT_FALSE(ball.turnLeft || ball.jump) << "a key was taken in mid-air";
            play(watch, 60, {});

            // Up the wall and still, in the middle of the wall face.
            ASSERT_TRUE(ball.enableMovement);
            EXPECT_EQ(ball.Gravity.x, 0.0f);
            EXPECT_EQ(ball.Gravity.y, 1.0f);
            EXPECT_EQ(ball.Gravity.z, 0.0f);
            EXPECT_NEAR(ball.Position.x, 0.0f, 1e-4f);
            EXPECT_NEAR(ball.Position.y, 0.65f, 1e-4f);
            EXPECT_NEAR(ball.Position.z, 2.0f, 1e-4f);
        }
    }
}

TEST(BallInPlay, JumpsAndATurnOnTheFortressStage)
{
    // Two jumps and a turn timed by a player on the last stage, which once left the ball
    // tumbling through the cube corners until the clock ran out.
    apptest::AppWorld world;
    world.copyShippedStages();
    world.start();
    BallWatch watch(world);
    watch.startStage(19);
    play(watch, 400, {{0, Application::KEY_ENTER}, {42, Application::KEY_ENTER}, {63, Application::KEY_RIGHT}});
    EXPECT_TRUE(world.app->player.enableMovement);
}

TEST(BallInPlay, RandomGamesOnEveryShippedStageKeepTheRules)
{
    // Seeded random players: keys at random frames (Up held for a while, the others
    // tapped), each game bounded by its stage's time limit at 60 frames a second. The
    // long run (scripts/ball-games.sh) sets TUMBRIX_GAMES_PER_STAGE to 1000.
    const char* games = std::getenv("TUMBRIX_GAMES_PER_STAGE");
    const int gamesPerStage = games != nullptr ? std::max(1, std::atoi(games)) : 5;
    const int stages = apptest::shippedStageCount();
    ASSERT_GT(stages, 0);

    apptest::AppWorld world;
    world.copyShippedStages(false);
    world.start();
    BallWatch watch(world);
    Application& app = *world.app;
    int won = 0;
    int lost = 0;
    long long frames = 0;

    for (int stage = 1; stage <= stages; ++stage) {
        for (int game = 0; game < gamesPerStage; ++game) {
            const unsigned seed = static_cast<unsigned>(stage * 100003 + game);
            std::mt19937 random(seed);
            const std::string trace = "stage " + std::to_string(stage) + ", seed " + std::to_string(seed) + ", ";
            watch.startStage(stage);
            ASSERT_TRUE(app.playing) << trace << "the stage did not start";
            // The stage clock runs on wall time, which a test does not keep: it is held
            // here, and the game ends by the clock after as many frames as the limit allows.
            const int frameLimit = static_cast<int>(app.level.timeLimit * 60.0f);
            bool holdingUp = false;
            while (app.playing && !app.player.stageWon) {
                app.endTime = app.now + (watch.updates < frameLimit ? 1000.0f : -1.0f);
                std::vector<int> keys;
                if (holdingUp && random() % 16 == 0) {
                    app.keyReleased(Application::KEY_UP);
                    holdingUp = false;
                }
                if (random() % 4 == 0) {
                    const int pick = static_cast<int>(random() % 10);
                    if (pick < 4) {
                        app.keyPressed(Application::KEY_UP);
                        holdingUp = true;
                    } else {
                        keys.push_back(pick < 6 ? Application::KEY_LEFT
                                                : pick < 8 ? Application::KEY_RIGHT
                                                           : pick < 9 ? Application::KEY_ENTER : Application::KEY_SPACE);
                        holdingUp = false;   // any key released ends the hold
                    }
                }
                const std::string fault = watch.frame(keys, false);
                ASSERT_EQ(fault, "") << trace;
                ++frames;
            }
            if (holdingUp) {
                app.keyReleased(Application::KEY_UP);
            }
            if (app.player.stageWon) {
                ++won;
                ASSERT_EQ(watch.leaveTally(), "") << trace;
            } else {
                ++lost;
            }
            app.update();   // back on the menu
        }
    }
    std::printf("%d random games over %d stages: %d won, %d lost, %lld frames\n", won + lost, stages, won, lost, frames);
    EXPECT_EQ(won + lost, gamesPerStage * stages);
}
