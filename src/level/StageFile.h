#pragma once

#include "level/Cube.h"
#include "player/Vec3.h"

#include <istream>
#include <list>
#include <string>
#include <vector>

// The contents of one stage file, read without any GL work, so the reader can serve the
// game, the fuzzer and the benchmark alike. Level::load moves it into the Level.
struct StageFile {
    static constexpr int MESSAGE_WORDS_PER_LINE = 5;

    std::string faceTexture;      // below levels/levelTextures/; "" when not read
    std::string skyTexture;       // same
    float fallRadius = 0.0f;      // world units from the origin
    float timeLimit = 0.0f;       // seconds
    Vec3 startPosition{0, 0, 0};
    Vec3 targetPosition{0, 0, 0};
    std::list<Vec3> dice;         // centres, in file order
    std::list<Vec3> coins;        // centres, in file order
    std::vector<Cube> cubes;      // in file order
    std::string message;          // five words to a line, each word followed by a blank
};

// Reads the stage tokens of `in` into `stage` in file order, appending to its lists.
// Returns false at the first value that is missing, not a number, or not finite where a
// number is due: everything read before it is kept, later fields keep the values they
// had, the message stays as it was, and one error line names `fileName` and what was
// expected. Counts only bound loops; nothing is reserved from them, so a huge count in a
// short file costs only what the file holds.
bool readStageFile(std::istream& in, const std::string& fileName, StageFile& stage);
