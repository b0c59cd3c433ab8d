#include "RouteSearch.h"

#include "level/Level.h"
#include "player/GameSounds.h"
#include "player/Player.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <unordered_map>

namespace {

// An action that has not ended after this many frames (50 s) leaves the ball stuck.
constexpr int MAX_ACTION_FRAMES = 3000;

constexpr float EXACT_STEP = 0.001f;   // world units: the same ball state
constexpr float PLACE_STEP = 0.5f;     // world units: the same place

// A ball whose centre stays this far from every collectible cannot pick anything up: the
// pickup distances are below 0.6. Only a quick way to skip the pickup pass.
constexpr float NEAR = 1.0f;

// Stands in the dice list while the ball is only being moved, so that the finish stays shut
// and nothing is picked up; no ball ever comes near it.
const Vec3 OUT_OF_REACH(1.0e6f, 1.0e6f, 1.0e6f);

struct StateKey {
    int node;
    std::uint64_t dice;
    std::uint64_t coins;
    bool operator==(const StateKey& other) const = default;
};

struct StateKeyHash {
    std::size_t operator()(const StateKey& k) const
    {
        std::size_t h = std::hash<int>()(k.node);
        h = h * 1000003u ^ std::hash<std::uint64_t>()(k.dice);
        h = h * 1000003u ^ std::hash<std::uint64_t>()(k.coins);
        return h;
    }
};

std::uint64_t allOf(std::size_t count)
{
    return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

} // namespace

const char* keyName(BallAction action)
{
    switch (action) {
    case BallAction::TurnLeft:
        return "Left";
    case BallAction::TurnRight:
        return "Right";
    case BallAction::Step:
        return "Up";
    case BallAction::Jump:
        return "Enter";
    case BallAction::Wait:
        break;
    }
    return "wait";
}

void pressKey(Player& player, BallAction action)
{
    switch (action) {
    case BallAction::TurnLeft:
        player.turnLeft = true;
        break;
    case BallAction::TurnRight:
        player.turnRight = true;
        break;
    case BallAction::Step:
        player.moveForward = true;
        break;
    case BallAction::Jump:
        player.jump = true;
        break;
    case BallAction::Wait:
        return;   // no key: enableMovement stays as it is
    }
    player.enableMovement = false;
}

RouteSearch::RouteSearch(Player& player, Level& level, GameSounds& sounds)
    : player(player), level(level), sounds(sounds), allDice(level.dice.begin(), level.dice.end()),
      allCoins(level.coins.begin(), level.coins.end())
{
}

RouteSearch::~RouteSearch()
{
    restoreLists();
}

void RouteSearch::restoreLists()
{
    level.dice.assign(allDice.begin(), allDice.end());
    level.coins.assign(allCoins.begin(), allCoins.end());
}

int RouteSearch::nodeFor(const BallState& state)
{
    auto [it, added] = nodeIndex.emplace(ballKey(state, EXACT_STEP), static_cast<int>(nodes.size()));
    if (added) {
        nodes.push_back(std::make_unique<Node>());
        nodes.back()->ball = state;
        auto place = placeIndex.emplace(ballKey(state, PLACE_STEP), static_cast<int>(placeIndex.size())).first;
        nodes.back()->place = place->second;
    }
    return it->second;
}

bool RouteSearch::nearCollectible(const std::vector<Vec3>& trail) const
{
    auto near = [&](const Vec3& item) {
        for (const Vec3& p : trail) {
            if (lengthSquared(p - item) < NEAR * NEAR) {
                return true;
            }
        }
        return false;
    };
    return std::any_of(allDice.begin(), allDice.end(), near) || std::any_of(allCoins.begin(), allCoins.end(), near) ||
           near(level.targetPosition);
}

const RouteSearch::Edge& RouteSearch::edgeFrom(int node, BallAction action)
{
    Edge& edge = nodes[static_cast<std::size_t>(node)]->edges[static_cast<std::size_t>(action)];
    if (edge.played) {
        return edge;
    }
    edge.played = true;

    level.dice.assign(1, OUT_OF_REACH);
    level.coins.clear();
    restoreBall(player, nodes[static_cast<std::size_t>(node)]->ball);
    pressKey(player, action);

    for (int frame = 0; frame < MAX_ACTION_FRAMES; ++frame) {
        // Beyond the fall radius the next frame's pickup pass resets the ball, reloading its
        // picture, which costs more than the rest of the search: the fall ends here, with
        // the very test that pass makes.
        if (lengthSquared(player.Position) > level.fallRadius * level.fallRadius) {
            return edge;
        }
        edge.trail.push_back(player.Position);
        player.update(level, sounds);
        if (!player.stageRunning) {
            return edge;   // fell out of the world
        }
        if (player.enableMovement) {
            edge.to = nodeFor(saveBall(player));
            // Ready again one frame later without a key: the ball is not rolling on by itself.
            if (action == BallAction::Wait && edge.trail.size() == 1) {
                nodes[static_cast<std::size_t>(node)]->atRest = true;
            }
            // Waiting is a choice only while the ball still changes by itself.
            edge.usable = !(action == BallAction::Wait && edge.to == node);
            edge.frames = static_cast<int>(edge.trail.size());
            edge.nearCollectible = nearCollectible(edge.trail);
            if (!edge.nearCollectible) {
                edge.trail = std::vector<Vec3>();
            }
            return edge;
        }
    }
    return edge;
}

void RouteSearch::layOut(const std::vector<Vec3>& all, std::uint64_t left, bool dice)
{
    std::list<Vec3>& list = dice ? level.dice : level.coins;
    list.clear();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if ((left >> i) & 1u) {
            list.push_back(all[i]);
        }
    }
}

std::uint64_t RouteSearch::stillLying(const std::vector<Vec3>& all, std::uint64_t before, bool dice) const
{
    // The pickup pass only erases, so the list is what was laid out, in order, minus what was taken.
    const std::list<Vec3>& list = dice ? level.dice : level.coins;
    auto it = list.begin();
    std::uint64_t left = 0;
    for (std::size_t i = 0; i < all.size() && it != list.end(); ++i) {
        if (((before >> i) & 1u) && it->x == all[i].x && it->y == all[i].y && it->z == all[i].z) {
            left |= std::uint64_t{1} << i;
            ++it;
        }
    }
    return left;
}

int RouteSearch::pickUpAlong(const Edge& edge, std::uint64_t& diceLeft, std::uint64_t& coinsLeft, bool withCoins)
{
    layOut(allDice, diceLeft, true);
    if (withCoins) {
        layOut(allCoins, coinsLeft, false);
    } else {
        level.coins.clear();
    }
    int finish = 0;
    for (std::size_t k = 0; k < edge.trail.size(); ++k) {
        player.Position = edge.trail[k];
        player.stageRunning = true;
        player.stageWon = false;
        player.checkPickups(level, sounds);
        if (player.stageWon) {
            finish = static_cast<int>(k) + 1;
            break;
        }
    }
    diceLeft = stillLying(allDice, diceLeft, true);
    if (withCoins) {
        coinsLeft = stillLying(allCoins, coinsLeft, false);
    }
    return finish;
}

Route RouteSearch::fastest(bool everyCoin, int frameLimit)
{
    Route route;
    if (allDice.size() > MAX_ITEMS || (everyCoin && allCoins.size() > MAX_ITEMS)) {
        return route;
    }

    player.reset(level.startPosition);
    player.stageRunning = true;
    const int start = nodeFor(saveBall(player));

    struct State {
        StateKey key;        // the place and what is still lying
        int node;            // the exact ball state of the quickest arrival
        int frames;
        int parent;          // index into states, -1 for the start
        BallAction action;   // the action that led here from the parent
    };
    std::vector<State> states;
    std::unordered_map<StateKey, int, StateKeyHash> seen;
    using Entry = std::pair<int, int>;   // frames, state index (the goal has place -1)
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;

    auto reach = [&](int node, std::uint64_t dice, std::uint64_t coins, int frames, int parent, BallAction action) {
        if (frames > frameLimit) {
            return;
        }
        const StateKey key{node < 0 ? -1 : nodes[static_cast<std::size_t>(node)]->place, dice, coins};
        auto [it, added] = seen.emplace(key, static_cast<int>(states.size()));
        if (!added) {
            State& known = states[static_cast<std::size_t>(it->second)];
            if (known.frames <= frames) {
                return;
            }
            known = {key, node, frames, parent, action};
            queue.emplace(frames, it->second);
            return;
        }
        states.push_back({key, node, frames, parent, action});
        queue.emplace(frames, it->second);
    };

    const std::uint64_t coinsAtStart = everyCoin ? allOf(allCoins.size()) : 0;
    reach(start, allOf(allDice.size()), coinsAtStart, 0, -1, BallAction::Wait);
    int goal = -1;
    while (!queue.empty()) {
        auto [frames, index] = queue.top();
        queue.pop();
        const State current = states[static_cast<std::size_t>(index)];
        if (current.frames != frames) {
            continue;   // a quicker way here was found after this entry was queued
        }
        if (current.node < 0) {
            goal = index;
            break;
        }
        ++route.statesSearched;
        // A ball that is ready but not at rest (it rolls on by itself in the next frame)
        // is let go on: a key pressed in that one frame would start an action in the
        // middle of a roll, which no stage should ask of a player.
        edgeFrom(current.node, BallAction::Wait);
        const bool atRest = nodes[static_cast<std::size_t>(current.node)]->atRest;
        for (int a = 0; a < ACTIONS; ++a) {
            const BallAction action = static_cast<BallAction>(a);
            if (!atRest && action != BallAction::Wait) {
                continue;
            }
            const Edge& edge = edgeFrom(current.node, action);
            if (!edge.usable) {
                continue;
            }
            std::uint64_t diceLeft = current.key.dice;
            std::uint64_t coinsLeft = current.key.coins;
            const int finish = edge.nearCollectible ? pickUpAlong(edge, diceLeft, coinsLeft, everyCoin) : 0;
            if (finish > 0) {
                if (coinsLeft == 0) {
                    reach(-1, 0, 0, frames + finish, index, action);
                }
                continue;   // the finish ends the stage, with every coin or not
            }
            reach(edge.to, diceLeft, coinsLeft, frames + edge.frames, index, action);
        }
    }
    route.ballStates = nodes.size();
    route.places = placeIndex.size();
    restoreLists();
    if (goal < 0) {
        return route;
    }

    route.found = true;
    route.frames = states[static_cast<std::size_t>(goal)].frames;
    for (int i = goal; states[static_cast<std::size_t>(i)].parent >= 0; i = states[static_cast<std::size_t>(i)].parent) {
        const State& s = states[static_cast<std::size_t>(i)];
        route.steps.push_back({s.action, states[static_cast<std::size_t>(s.parent)].frames});
    }
    std::reverse(route.steps.begin(), route.steps.end());
    return route;
}
