#include "progress/Worlds.h"

#include "media/ofUtils.h"
#include "progress/TextLine.h"

#include <fstream>
#include <iterator>

namespace {

constexpr long MAX_FILE_BYTES = 64 * 1024;

// "world N Name ..."; returns what is wrong, or "".
std::string readLine(const std::string& line, std::map<int, std::string>& names)
{
    const std::vector<std::string> words = splitWords(line);
    if (words.size() < 3 || words[0] != "world") {
        return "not a world (expected \"world N name\")";
    }
    long long world = 0;
    if (!readWholeNumber(words[1], 1, WORLDS_MAX, world)) {
        return numberProblem("world", words[1], 1, WORLDS_MAX);
    }
    // The name is the rest of the line, blanks inside kept.
    std::size_t begin = 0;
    for (int skip = 0; skip < 2; ++skip) {
        begin = line.find_first_not_of(" \t", begin);
        begin = line.find_first_of(" \t", begin);
    }
    std::string name = line.substr(line.find_first_not_of(" \t", begin));
    name.erase(name.find_last_not_of(" \t") + 1);
    if (name.size() > static_cast<std::size_t>(WORLD_NAME_MAX_BYTES)) {
        return "name of " + std::to_string(name.size()) + " bytes (limit " + std::to_string(WORLD_NAME_MAX_BYTES) + ")";
    }
    for (const char c : name) {
        // The game's fonts draw printable ASCII.
        if (c < 0x20 || c > 0x7e) {
            return "a name with a character that cannot be shown";
        }
    }
    if (!names.emplace(static_cast<int>(world), name).second) {
        return "a second name for world " + words[1];
    }
    return "";
}

} // namespace

bool Worlds::load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        names.clear();
        ofLog(OF_LOG_ERROR, "worlds: [%s] cannot be opened; the worlds are numbered", path.c_str());
        return false;
    }
    std::string bytes;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (static_cast<long>(bytes.size()) > MAX_FILE_BYTES) {
            names.clear();
            ofLog(OF_LOG_ERROR, "worlds: [%s] is too big (limit %ld bytes); the worlds are numbered", path.c_str(),
                  MAX_FILE_BYTES);
            return false;
        }
    }
    return loadText(bytes, path);
}

bool Worlds::loadText(const std::string& text, const std::string& name)
{
    std::map<int, std::string> read;
    std::string firstProblem;
    int problems = 0;
    int number = 0;
    for (const std::string& line : splitLines(text)) {
        ++number;
        if (number == 1) {
            if (line != WORLDS_HEADER) {
                names.clear();
                ofLog(OF_LOG_ERROR, "worlds: [%s] does not start with \"%s\"; the worlds are numbered", name.c_str(),
                      WORLDS_HEADER);
                return false;
            }
            continue;
        }
        if (line.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        const std::string problem = readLine(line, read);
        if (!problem.empty() && problems++ == 0) {
            firstProblem = "line " + std::to_string(number) + ": " + problem;
        }
    }
    names = std::move(read);
    if (number == 0) {
        ofLog(OF_LOG_ERROR, "worlds: [%s] is empty; the worlds are numbered", name.c_str());
        return false;
    }
    if (problems > 0) {
        ofLog(OF_LOG_ERROR, "worlds: [%s] %s (%d bad %s skipped); those worlds are numbered", name.c_str(),
              firstProblem.c_str(), problems, problems == 1 ? "line" : "lines");
        return false;
    }
    return true;
}

std::string Worlds::name(int world) const
{
    const auto found = names.find(world);
    return found != names.end() ? found->second : "World " + std::to_string(world);
}
