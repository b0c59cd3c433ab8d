#include "gui/SaveFile.h"

#include "gui/AtomicFile.h"
#include "media/ofUtils.h"

#include <fstream>
#include <sstream>

bool readSaveStream(std::istream& in, SaveState& state)
{
    int stage = 0;
    int totalScore = 0;
    if (in >> stage >> totalScore) {
        state.stage = stage;
        state.totalScore = totalScore;
        return true;
    }
    state = SaveState{};
    return false;
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
        state = SaveState{};
        return false;
    }
    if (!readSaveStream(in, state)) {
        ofLog(OF_LOG_ERROR, "save file: [%s] does not hold a stage number and a score, starting at stage 1 with score 0",
              path.c_str());
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
