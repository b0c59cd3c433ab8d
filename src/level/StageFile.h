#pragma once

#include "level/Cube.h"
#include "player/Vec3.h"

#include <istream>
#include <list>
#include <string>
#include <vector>

// What a stage file sets apart from its two texture names, read without any GL work.
// A Level is one of these (it derives from it), so the game reads a stage straight into
// its Level; the stage checker, the fuzzer and the benchmark read into a StageFile, which
// adds the texture names. They cannot read into a Level: it needs a GL context.
struct StageValues {
    static constexpr int MESSAGE_WORDS_PER_LINE = 5;

    float fallRadius = 0.0f;      // world units from the origin
    float timeLimit = 0.0f;       // seconds
    Vec3 startPosition{0, 0, 0};
    Vec3 targetPosition{0, 0, 0};
    std::list<Vec3> dice;         // centres not yet collected, in file order
    std::list<Vec3> coins;        // same
    std::vector<Cube> cubes;      // in file order; the collision pass writes `touched`
    std::string message;          // five words to a line, each word followed by a blank
};

// The contents of one stage file.
struct StageFile : StageValues {
    std::string faceTexture;      // below levels/levelTextures/; "" when not read
    std::string skyTexture;       // same
};

// Reads the stage tokens of `in` into `stage` and the two texture names in file order,
// appending to the lists. Returns false at the first value that is missing, not a number,
// or not finite where a number is due: everything read before it is kept, later fields
// keep the values they had, the message stays as it was, and one error line names
// `fileName` and what was expected. Counts only bound loops; nothing is reserved from
// them, so a huge count in a short file costs only what the file holds.
bool readStageValues(std::istream& in, const std::string& fileName, StageValues& stage, std::string& faceTexture,
                     std::string& skyTexture);
// The same into a StageFile.
bool readStageFile(std::istream& in, const std::string& fileName, StageFile& stage);
