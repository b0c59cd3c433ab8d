#include "StoredRoute.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace {

constexpr std::array<BallAction, 5> EVERY_ACTION = {BallAction::TurnLeft, BallAction::TurnRight, BallAction::Step,
                                                    BallAction::Jump, BallAction::Wait};
constexpr std::size_t MAX_ACTIONS = 100000;   // far beyond any stage; a longer file is not a route

} // namespace

std::string routeFile(const std::string& dir, const std::string& stageFile)
{
    return (std::filesystem::path(dir) / (std::filesystem::path(stageFile).stem().string() + ".route")).string();
}

bool readStoredRoute(const std::string& path, std::vector<BallAction>& actions, std::string& problem)
{
    problem.clear();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return false;
    }
    std::ifstream in(path);
    if (!in) {
        problem = "stored route: [" + path + "] cannot be opened";
        return false;
    }
    std::vector<BallAction> read;
    std::string word;
    while (in >> word) {
        bool known = false;
        for (BallAction action : EVERY_ACTION) {
            if (word == keyName(action)) {
                read.push_back(action);
                known = true;
            }
        }
        if (!known) {
            problem = "stored route: [" + path + "] word " + std::to_string(read.size() + 1) + " is \"" + word +
                      "\", not a key (Up, Left, Right, Enter or wait)";
            return false;
        }
        if (read.size() > MAX_ACTIONS) {
            problem = "stored route: [" + path + "] holds more than " + std::to_string(MAX_ACTIONS) + " actions";
            return false;
        }
    }
    if (read.empty()) {
        problem = "stored route: [" + path + "] holds no key";
        return false;
    }
    actions = std::move(read);
    return true;
}

bool writeStoredRoute(const std::string& path, const std::vector<BallAction>& actions, std::string& problem)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream out(path, std::ios::trunc);
    for (std::size_t i = 0; out && i < actions.size(); ++i) {
        out << keyName(actions[i]) << ((i + 1) % 10 == 0 || i + 1 == actions.size() ? "\n" : " ");
    }
    out.flush();
    if (!out) {
        problem = "stored route: [" + path + "] cannot be written";
        return false;
    }
    return true;
}
