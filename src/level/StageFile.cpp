#include "level/StageFile.h"

#include "media/ofUtils.h"

#include <cmath>
#include <iomanip>
#include <limits>
#include <type_traits>
#include <utility>

namespace {

// Longest part of an offending token that an error line shows, in bytes.
constexpr std::streamsize MAX_SHOWN_TOKEN = 32;

// A token from the file as an error line may show it: bytes outside printable ASCII (line
// breaks, terminal escapes, C1 controls) become '?', and a long token is cut, so a hostile
// file can neither steer the terminal nor flood the console.
std::string shownToken(std::string token)
{
    if (token.size() > static_cast<size_t>(MAX_SHOWN_TOKEN)) {
        token.resize(static_cast<size_t>(MAX_SHOWN_TOKEN));
        token += "...";
    }
    for (char& c : token) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) {
            c = '?';
        }
    }
    return token;
}

// Token reader that turns the first failed read into one error line.
class StageTokens {
public:
    StageTokens(std::istream& in, const std::string& fileName) : in(in), fileName(fileName) {}

    bool word(std::string& out, const char* what)
    {
        if (in >> out) {
            return true;
        }
        report(what, "");
        return false;
    }

    template <typename Number>
    bool number(Number& out, const char* what, int index = -1)
    {
        Number value{};
        if (!(in >> value)) {
            // The stream gives the largest value of the type when the text overflows it.
            const bool overflow = value == std::numeric_limits<Number>::max() ||
                                  value == std::numeric_limits<Number>::lowest();
            report(what, overflow ? "a number out of range" : "", index);
            return false;
        }
        if constexpr (std::is_floating_point_v<Number>) {
            if (!std::isfinite(value)) {
                report(what, "a number that is not finite", index);
                return false;
            }
        }
        out = value;
        return true;
    }

    bool point(Vec3& out, const char* what, int index = -1)
    {
        float x = 0, y = 0, z = 0;
        if (number(x, what, index) && number(y, what, index) && number(z, what, index)) {
            out = Vec3(x, y, z);
            return true;
        }
        return false;
    }

    // The words up to the end of the file, five to a line.
    std::string message()
    {
        std::string text;
        std::string w;
        int wordsOnLine = 0;
        while (in >> w) {
            if (wordsOnLine == StageValues::MESSAGE_WORDS_PER_LINE) {
                text += '\n';
                wordsOnLine = 0;
            }
            text += w;
            text += ' ';
            ++wordsOnLine;
        }
        return text;
    }

private:
    // what: the value that was due; found: why it was refused, or "" to describe the next token.
    void report(const char* what, const char* found, int index = -1)
    {
        std::string item = what;
        if (index >= 0) {
            item += " " + std::to_string(index + 1);
        }
        std::string problem = found;
        if (problem.empty()) {
            if (in.eof()) {
                problem = "the end of the file";
            } else {
                in.clear();
                // One byte more than is shown tells a long token from one that fits.
                std::string token;
                if (in >> std::setw(MAX_SHOWN_TOKEN + 1) >> token) {
                    problem = "\"" + shownToken(token) + "\"";
                } else {
                    problem = "unreadable text";
                }
            }
        }
        ofLog(OF_LOG_ERROR, "Stage file: [%s] expected %s, found %s; stage cut short there", fileName.c_str(),
              item.c_str(), problem.c_str());
    }

    std::istream& in;
    const std::string& fileName;
};

} // namespace

bool readStageFile(std::istream& in, const std::string& fileName, StageFile& stage)
{
    return readStageValues(in, fileName, stage, stage.faceTexture, stage.skyTexture);
}

bool readStageValues(std::istream& in, const std::string& fileName, StageValues& stage, std::string& faceTexture,
                     std::string& skyTexture)
{
    StageTokens tokens(in, fileName);

    if (!tokens.word(faceTexture, "the face texture name") || !tokens.word(skyTexture, "the sky texture name") ||
        !tokens.number(stage.fallRadius, "the fall radius") ||
        !tokens.number(stage.timeLimit, "the time limit") ||
        !tokens.point(stage.startPosition, "the start position") ||
        !tokens.point(stage.targetPosition, "the finish position")) {
        return false;
    }

    // A count of 0 or less reads no points.
    int count = 0;
    if (!tokens.number(count, "the dice count")) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        Vec3 p;
        if (!tokens.point(p, "the centre of die", i)) {
            return false;
        }
        stage.dice.push_back(p);
    }

    if (!tokens.number(count, "the coin count")) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        Vec3 p;
        if (!tokens.point(p, "the centre of coin", i)) {
            return false;
        }
        stage.coins.push_back(p);
    }

    if (!tokens.number(count, "the cube count")) {
        return false;
    }
    // Centres first: a Cube is large, and storage reserved from what the file really
    // held (never from the count) spares the copies of a growing vector.
    std::vector<Vec3> centres;
    bool cubesComplete = true;
    for (int i = 0; i < count; ++i) {
        Vec3 p;
        if (!tokens.point(p, "the centre of cube", i)) {
            cubesComplete = false;
            break;
        }
        centres.push_back(p);
    }
    stage.cubes.reserve(stage.cubes.size() + centres.size());
    for (const Vec3& centre : centres) {
        stage.cubes.emplace_back(centre);
    }
    if (!cubesComplete) {
        return false;
    }

    stage.message = tokens.message();
    return true;
}
