// Feeds arbitrary bytes to the stage file reader. Besides the sanitizers it checks what
// every caller relies on: the read ends, lists never hold more points than the text could
// spell, and a message keeps to five words a line without a trailing line break.
#include "level/StageFile.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

void checkMessage(const std::string& message)
{
    if (message.empty()) {
        return;
    }
    require(message.back() == ' ');
    int words = 0;
    size_t start = 0;
    while (start <= message.size()) {
        size_t end = message.find('\n', start);
        std::string line = message.substr(start, end == std::string::npos ? std::string::npos : end - start);
        require(!line.empty() && line.back() == ' ');
        std::istringstream in(line);
        int onLine = 0;
        for (std::string w; in >> w;) {
            ++onLine;
        }
        require(onLine >= 1 && onLine <= StageFile::MESSAGE_WORDS_PER_LINE);
        words += onLine;
        if (end == std::string::npos) {
            break;
        }
        require(onLine == StageFile::MESSAGE_WORDS_PER_LINE);
        start = end + 1;
    }
    require(words > 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    StageFile stage;
    const bool complete = readStageFile(in, "fuzz input", stage);

    // Every point needs at least three tokens of one byte and a separator each.
    const size_t points = stage.dice.size() + stage.coins.size() + stage.cubes.size();
    require(points * 6 <= size + 6);
    if (!complete) {
        require(stage.message.empty());
    }
    checkMessage(stage.message);
    for (const Cube& cube : stage.cubes) {
        require(cube.faces[0].normal == Vec3(0, 0, 1));
    }
    return 0;
}
