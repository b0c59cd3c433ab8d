#pragma once
// The rules that decide a ball's run once a stage is under way, shared by the game and the
// replay checker so that a recorded run plays out the same in both: which keys reach the
// ball, the auto-forward of a held up arrow, the time-out, and the ball's own step. Nothing
// here reads a clock or draws; the caller hands in the seconds left.

class GameSounds;
class Level;
class Player;

struct PlayInput {
    bool upHeld = false;       // auto-forward: up was accepted and no key released since
    bool lookAround = false;   // Space reached the ball: the caller turns the camera round
};

namespace stagerules {

inline constexpr int KEY_ENTER = 13;
inline constexpr int KEY_SPACE = 32;
inline constexpr int KEY_LEFT = 356;
inline constexpr int KEY_UP = 357;
inline constexpr int KEY_RIGHT = 358;
inline constexpr int STEPS_PER_SECOND = 60;   // game steps a second

// A key (already lowercased) pressed while a stage is played. Keys that arrive while the ball
// is busy are dropped, not queued; any accepted key makes the ball busy, also one that starts
// nothing (the ball's update frees it again). True when the key was accepted.
bool pressKey(Player& player, PlayInput& input, int key);
// Sets the ball's flag for an accepted key (Enter jumps, Space looks around, left and right
// turn, up steps and starts auto-forward); other keys do nothing.
void control(Player& player, PlayInput& input, int key);
// Any key released, in any state, ends auto-forward.
void releaseKey(PlayInput& input);

enum class StepEnd {
    Running,    // the stage goes on
    Won,        // the ball reached the finish in this step
    TimedOut,   // the clock ran out: the ball is back at the start, the stage over
    Ended,      // the ball is not running (it fell off, or the stage was never started)
};

// One game step of a stage being played (`playing`: it was at the end of the last step) with
// `timeLeft` seconds on the clock: auto-forward, the time-out (a lose sound, the ball reset
// to the start), then the ball's update while it still runs. Sets `playing` to whether the
// stage still runs. The collectibles' spin (Level::update) is the caller's.
StepEnd step(Level& level, Player& player, GameSounds& sounds, PlayInput& input, bool& playing, float timeLeft);

// The tally's score of a stage won with `timeLeft` seconds on the clock and `coins` coins:
// ten points a whole second left, a hundred a coin.
int stageScore(float timeLeft, int coins);

} // namespace stagerules
