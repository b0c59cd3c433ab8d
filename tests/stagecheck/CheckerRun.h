#pragma once
// Runs the stage checker program the way an author does and collects what it says.

#include "player/Vec3.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

struct CheckerRun {
    int status = -1;      // exit status; -1 when it did not end in time
    std::string output;   // standard output and error together
};

// Runs stagecheck with `args` in `workDir`, with no usable X display.
CheckerRun runChecker(const std::vector<std::string>& args, const std::filesystem::path& workDir);

// A stage written the customary way, one value or point to a line.
struct StageText {
    std::string face = "face.png";
    std::string sky = "sky.png";
    std::string fallRadius = "24";
    std::string timeLimit = "60";
    Vec3 start{0, 0, 1.35f};
    Vec3 target{0, 4, 1.35f};
    std::vector<Vec3> dice;
    std::vector<Vec3> coins;
    std::vector<Vec3> cubes;
    std::string message = "a test stage";

    std::string text() const;
};

// A row of `length` cubes along +y from the origin.
std::vector<Vec3> rowOfCubes(int length);

// A folder holding data/levels/<name> and the two textures a StageText names by default,
// laid out as the game's data folder.
class StageFolder {
public:
    // Writes `text` as data/levels/<name>; returns its path.
    std::filesystem::path write(const std::string& name, const std::string& text) const;
    const std::filesystem::path& path() const { return dir.path(); }

private:
    testsupport::ScratchDir dir;
};

// The lines of `output` that contain `part`.
std::vector<std::string> linesWith(const std::string& output, const std::string& part);
