#include "KeyReplay.h"

#include "level/Level.h"
#include "player/GameSounds.h"
#include "player/Player.h"
#include "support/TestSupport.h"

#include <regex>
#include <sstream>
#include <vector>

namespace {

constexpr int FRAMES_BEFORE_GIVING_UP = 20000;

bool readKeys(const std::string& line, std::vector<bool Player::*>& keys)
{
    std::istringstream in(line);
    std::string item;
    const std::regex hold(R"(hold Up \((\d+) steps\))");
    while (std::getline(in, item, ',')) {
        item.erase(0, item.find_first_not_of(' '));
        std::smatch match;
        if (std::regex_match(item, match, hold)) {
            keys.insert(keys.end(), std::stoul(match[1]), &Player::moveForward);
        } else if (item == "Up") {
            keys.push_back(&Player::moveForward);
        } else if (item == "Left") {
            keys.push_back(&Player::turnLeft);
        } else if (item == "Right") {
            keys.push_back(&Player::turnRight);
        } else if (item == "Enter") {
            keys.push_back(&Player::jump);
        } else if (item == "wait") {
            keys.push_back(nullptr);
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

KeyPlay playKeys(const std::filesystem::path& root, const std::string& line, int stage)
{
    KeyPlay play;
    std::vector<bool Player::*> keys;
    play.understood = readKeys(line, keys);
    if (!play.understood || !testsupport::ensureGlContext()) {
        return play;
    }

    testsupport::WorkingDir cwd(root);
    Level level;
    int score = 0;
    level.load(stage, score);
    GameSounds sounds;
    Player player(level.startPosition);
    player.stageRunning = true;

    std::size_t next = 0;
    while (play.frames < FRAMES_BEFORE_GIVING_UP && player.stageRunning) {
        // A key between frames: taken only when the ball is ready; a wait presses nothing
        // and lets one frame pass.
        if (player.enableMovement && next < keys.size()) {
            if (keys[next] != nullptr) {
                player.enableMovement = false;
                player.*keys[next] = true;
            }
            ++next;
        }
        player.update(level, sounds);
        ++play.frames;
        if (player.stageWon) {
            play.won = true;
            break;
        }
        if (next == keys.size() && player.enableMovement) {
            break;   // every key played and the ball at rest without the finish
        }
    }
    play.coinsTaken = level.coinsTotal - level.remainingCoins();
    return play;
}

std::string keysOf(const std::string& output, int route)
{
    std::size_t at = output.find("keys: ");
    for (int i = 0; i < route && at != std::string::npos; ++i) {
        at = output.find("keys: ", at + 1);
    }
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t begin = at + 6;
    return output.substr(begin, output.find('\n', begin) - begin);
}

int framesOf(const std::string& output, int route)
{
    const std::regex frames(R"((\d+) frames = )");
    auto it = std::sregex_iterator(output.begin(), output.end(), frames);
    for (int i = 0; i < route && it != std::sregex_iterator(); ++i) {
        ++it;
    }
    return it == std::sregex_iterator() ? -1 : std::stoi((*it)[1]);
}
