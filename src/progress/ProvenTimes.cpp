#include "progress/ProvenTimes.h"

#include "media/ofUtils.h"
#include "progress/SideFile.h"
#include "progress/TextLine.h"

#include <climits>
#include <fstream>
#include <iterator>

namespace {

// "stage N steps S"; returns what is wrong, or "".
std::string readLine(const std::string& line, std::map<int, int>& times)
{
    const std::vector<std::string> words = splitWords(line);
    if (words.size() != 4 || words[0] != "stage" || words[2] != "steps") {
        return "not a proven time (expected \"stage N steps S\")";
    }
    long long stage = 0;
    long long steps = 0;
    if (!readWholeNumber(words[1], 1, PROVEN_TIMES_MAX_STAGE, stage)) {
        return numberProblem("stage", words[1], 1, PROVEN_TIMES_MAX_STAGE);
    }
    if (!readWholeNumber(words[3], 1, INT_MAX, steps)) {
        return numberProblem("steps", words[3], 1, INT_MAX);
    }
    if (!times.emplace(static_cast<int>(stage), static_cast<int>(steps)).second) {
        return "a second time for stage " + words[1];
    }
    return "";
}

} // namespace

bool ProvenTimes::load(const std::string& path)
{
    times.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ofLog(OF_LOG_ERROR, "proven times: [%s] cannot be opened; stages show no medal targets and every win is bronze",
              path.c_str());
        return false;
    }
    std::string bytes;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (static_cast<long>(bytes.size()) > SIDE_FILE_MAX_BYTES) {
            ofLog(OF_LOG_ERROR, "proven times: [%s] is too big (limit %ld bytes); stages show no medal targets",
                  path.c_str(), SIDE_FILE_MAX_BYTES);
            return false;
        }
    }
    if (in.bad()) {
        ofLog(OF_LOG_ERROR, "proven times: [%s] cannot be read; stages show no medal targets", path.c_str());
        return false;
    }
    return loadText(bytes, path);
}

bool ProvenTimes::loadText(const std::string& text, const std::string& name)
{
    std::map<int, int> read;
    int number = 0;
    for (const std::string& line : splitLines(text)) {
        ++number;
        if (number == 1) {
            if (line != PROVEN_TIMES_HEADER) {
                ofLog(OF_LOG_ERROR, "proven times: [%s] does not start with \"%s\"; stages show no medal targets",
                      name.c_str(), PROVEN_TIMES_HEADER);
                times.clear();
                return false;
            }
            continue;
        }
        if (line.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        const std::string problem = readLine(line, read);
        if (!problem.empty()) {
            ofLog(OF_LOG_ERROR, "proven times: [%s] line %d: %s, skipped", name.c_str(), number, problem.substr(0, 200).c_str());
        }
    }
    if (number == 0) {
        ofLog(OF_LOG_ERROR, "proven times: [%s] is empty; stages show no medal targets", name.c_str());
    }
    times = std::move(read);
    return number > 0;
}

int ProvenTimes::steps(int stage) const
{
    const auto found = times.find(stage);
    return found == times.end() ? 0 : found->second;
}

void ProvenTimes::set(int stage, int steps)
{
    if (stage >= 1 && stage <= PROVEN_TIMES_MAX_STAGE && steps >= 1) {
        times[stage] = steps;
    }
}

std::string ProvenTimes::text() const
{
    std::string text = std::string(PROVEN_TIMES_HEADER) + "\n";
    for (const auto& [stage, steps] : times) {
        text += "stage " + std::to_string(stage) + " steps " + std::to_string(steps) + "\n";
    }
    return text;
}
