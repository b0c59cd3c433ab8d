#pragma once
// The search for the fastest way through a stage, played with the game's own Player and
// Level frame by frame.
//
// The ball takes a new key only when it is ready (enableMovement), so a route is a list of
// actions, each started in the frame after the previous one ended. The search runs over
// the ball's states at those moments (its position, heading frame, gravity and flags) and
// the set of dice (and, when asked, coins) still lying, by Dijkstra on frames.
//
// Moving the ball does not depend on what it picks up, so each (state, action) is played
// once with no collectibles in the way, and the positions the ball passed are kept. The
// pickups of a path are then found by handing those positions, one frame at a time, to
// the Player's own pickup pass with the collectibles still lying on that path.
//
// Every roll leaves the ball a little off the middle of its new face, by however far it
// had passed the edge, so the exact states are countless on a large stage. The search
// therefore counts ball states that differ by less than half a unit in position as one
// place, and goes on from the quickest arrival there, played exactly. Every route it
// reports is a real one; it may be a few frames slower than a route that needed a
// particular slightly different arrival.

#include "BallState.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class GameSounds;
class Level;
class Player;

// What the player does while the ball is ready: one key, or nothing for a frame while
// the ball is still settling by itself.
enum class BallAction { TurnLeft, TurnRight, Step, Jump, Wait };

const char* keyName(BallAction action);

// What the application does with a key while the ball is ready: clears enableMovement and
// starts the action. Wait presses nothing.
void pressKey(Player& player, BallAction action);

struct RouteStep {
    BallAction action = BallAction::Wait;
    int startFrame = 0;   // frames played before the action begins
};

struct Route {
    bool found = false;
    int frames = 0;                   // frames played up to and including the one that reaches the finish
    std::vector<RouteStep> steps;
    std::size_t statesSearched = 0;   // (ball state, collected set) pairs taken from the queue
    std::size_t ballStates = 0;       // distinct ball states met
    std::size_t places = 0;           // of them, the ones that differ by half a unit or more
};

class RouteSearch {
public:
    static constexpr int MAX_ITEMS = 64;   // dice, and coins, that a collected set can hold

    // `level` must hold the loaded stage with all its dice and coins; the search changes
    // its lists and the ball while it runs and puts the lists back when it ends.
    RouteSearch(Player& player, Level& level, GameSounds& sounds);
    ~RouteSearch();
    RouteSearch(const RouteSearch&) = delete;
    RouteSearch& operator=(const RouteSearch&) = delete;

    // The fastest route that collects every die (and every coin when `everyCoin`) and
    // reaches the finish within `frameLimit` frames; not found when there is none.
    Route fastest(bool everyCoin, int frameLimit);

private:
    static constexpr int ACTIONS = 5;

    // One action played from a ready ball until it is ready again.
    struct Edge {
        bool played = false;
        bool usable = false;        // false when the ball fell off or never came to rest
        int to = -1;                // the node it ends in
        int frames = 0;
        bool nearCollectible = false;   // the trail comes near a die, a coin or the finish
        std::vector<Vec3> trail;    // the ball's centre at the start of each frame, kept when near
    };
    // One exact ready state of the ball.
    struct Node {
        BallState ball;
        int place = -1;             // the coarse place it counts as
        bool atRest = false;        // a frame without a key leaves it as it is
        std::array<Edge, ACTIONS> edges;
    };

    int nodeFor(const BallState& state);
    bool nearCollectible(const std::vector<Vec3>& trail) const;
    const Edge& edgeFrom(int node, BallAction action);
    // Plays the edge's positions through the Player's pickup pass with the collectibles
    // given by the two sets; returns the frame (within the edge, from 1) in which the
    // finish is reached, or 0, and leaves what is still lying in the two sets.
    int pickUpAlong(const Edge& edge, std::uint64_t& diceLeft, std::uint64_t& coinsLeft, bool withCoins);
    void layOut(const std::vector<Vec3>& all, std::uint64_t left, bool dice);
    std::uint64_t stillLying(const std::vector<Vec3>& all, std::uint64_t before, bool dice) const;
    void restoreLists();

    Player& player;
    Level& level;
    GameSounds& sounds;
    std::vector<Vec3> allDice;    // in file order
    std::vector<Vec3> allCoins;
    std::vector<std::unique_ptr<Node>> nodes;
    std::map<std::vector<int>, int> nodeIndex;    // exact ballKey -> node
    std::map<std::vector<int>, int> placeIndex;   // coarse ballKey -> place
};
