#include "gui/SaveFile.h"

#include "progress/AtomicFile.h"
#include "media/ofUtils.h"

#include <fstream>
#include <sstream>

namespace {

// Reads what it can into `state`; returns how many of the two values were read.
int readSaveValues(std::istream& in, SaveState& state)
{
    int stage = 0;
    if (!(in >> stage)) {
        return 0;
    }
    state.stage = stage;
    int totalScore = 0;
    if (!(in >> totalScore)) {
        return 1;
    }
    state.totalScore = totalScore;
    return 2;
}

} // namespace

bool readSaveStream(std::istream& in, SaveState& state)
{
    return readSaveValues(in, state) == 2;
}

bool readSaveText(const std::string& bytes, SaveState& state)
{
    std::istringstream in(bytes);
    return readSaveStream(in, state);
}

bool readSaveFile(const std::string& path, SaveState& state)
{
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    const int values = readSaveValues(in, state);
    if (values < 2) {
        const char* what = values == 0 ? "does not hold a stage number and a score" : "holds a stage number but no score";
        ofLog(OF_LOG_ERROR, "save file: [%s] %s, starting at stage %d with score %d", path.c_str(), what, state.stage,
              state.totalScore);
        return false;
    }
    return true;
}

std::string saveFileText(const SaveState& state)
{
    return std::to_string(state.stage) + " " + std::to_string(state.totalScore);
}

bool writeSaveFile(const std::string& path, const SaveState& state)
{
    return replaceFileAtomically(path, saveFileText(state));
}
