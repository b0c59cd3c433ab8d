#include "StageFormatCheck.h"

#include <cfloat>
#include <cmath>
#include <locale>
#include <sstream>

namespace {

struct Token {
    std::string text;
    int line = 0;
    int number = 0;   // 1-based
};

// The loader's streams split on the "C" locale's white space.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::vector<Token> splitTokens(const std::string& text)
{
    std::vector<Token> tokens;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            line += text[i] == '\n' ? 1 : 0;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !isBlank(text[end])) {
            ++end;
        }
        tokens.push_back({text.substr(i, end - i), line, static_cast<int>(tokens.size()) + 1});
        i = end;
    }
    return tokens;
}

// Reads a whole token with the stream operator the loader uses for this type. False when
// the operator fails or stops before the end of the token.
template <typename Number>
bool readWholeToken(const std::string& text, Number& out)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    Number value{};
    if (!(in >> value)) {
        return false;
    }
    if (in.peek() != std::char_traits<char>::eof()) {
        return false;
    }
    out = value;
    return true;
}

bool looksLikeNumber(const std::string& text)
{
    float value = 0;
    return readWholeToken(text, value) && std::isfinite(value);
}

std::string quoted(const std::string& text)
{
    constexpr std::size_t LONGEST = 40;
    if (text.size() > LONGEST) {
        return "\"" + text.substr(0, LONGEST) + "...\"";
    }
    return "\"" + text + "\"";
}

class FieldWalk {
public:
    FieldWalk(const std::vector<Token>& tokens, std::vector<Finding>& findings) : tokens(tokens), findings(findings) {}

    bool atEnd() const { return next >= tokens.size(); }
    // Some field could not be read as the loader reads it, so later values are guesses.
    bool broken() const { return misread; }
    std::size_t position() const { return next; }
    const Token& peek() const { return tokens[next]; }

    // The file ends where `what` is due.
    void reportEnd(const std::string& what)
    {
        misread = true;
        const int line = tokens.empty() ? 1 : tokens.back().line;
        std::string after = tokens.empty() ? "the file is empty" : "after token " + std::to_string(tokens.size());
        addError(findings, line, 0, "the file ends where " + what + " is due (" + after + ")");
    }

    bool word(std::string& out, int& line, const std::string& what)
    {
        if (atEnd()) {
            reportEnd(what);
            return false;
        }
        out = tokens[next].text;
        line = tokens[next].line;
        ++next;
        return true;
    }

    // A real number; a token that is there but unreadable is reported and skipped, so the
    // walk goes on and later problems are found too. False only at the end of the file.
    bool real(float& out, const std::string& what, bool& readable)
    {
        if (atEnd()) {
            reportEnd(what);
            return false;
        }
        const Token& token = tokens[next++];
        float value = 0;
        readable = readWholeToken(token.text, value);
        if (readable && !std::isfinite(value)) {
            readable = false;
        }
        if (!readable) {
            misread = true;
            // The stream gives the largest value of the type when the text overflows it.
            float overflow = 0;
            std::istringstream probe(token.text);
            probe.imbue(std::locale::classic());
            const bool tooLarge = !(probe >> overflow) && (std::isinf(overflow) || std::fabs(overflow) == FLT_MAX);
            addError(findings, token.line, token.number,
                     "expected " + what + " (a number), found " + quoted(token.text) +
                         (tooLarge ? ", out of range" : ""));
            value = 0;
        }
        out = value;
        return true;
    }

    // A count: a whole number, 0 or more. False when the walk cannot go on, since the
    // fields after a count depend on it.
    bool count(int& out, const std::string& what)
    {
        if (atEnd()) {
            reportEnd(what);
            return false;
        }
        const Token& token = tokens[next++];
        int value = 0;
        if (!readWholeToken(token.text, value)) {
            std::string how = "expected " + what + " (a whole number), found " + quoted(token.text);
            float asReal = 0;
            if (readWholeToken(token.text, asReal)) {
                how += "; the game reads a count up to the first character that does not belong to a whole number";
            }
            addError(findings, token.line, token.number, how);
            misread = true;
            return false;
        }
        if (value < 0) {
            addError(findings, token.line, token.number, what + " is " + token.text + "; a count must be 0 or more");
            value = 0;
        }
        out = value;
        return true;
    }

    // Three coordinates. False at the end of the file.
    bool point(PlacedPoint& out, const std::string& what, bool& readable)
    {
        if (!atEnd()) {
            out.line = tokens[next].line;
            out.token = tokens[next].number;
        }
        float xyz[3] = {0, 0, 0};
        readable = true;
        static const char* const AXES[] = {" x", " y", " z"};
        for (int axis = 0; axis < 3; ++axis) {
            bool ok = true;
            if (!real(xyz[axis], what + AXES[axis], ok)) {
                return false;
            }
            readable = readable && ok;
        }
        out.at = Vec3(xyz[0], xyz[1], xyz[2]);
        return true;
    }

    // True when every token from the next one on is a word: the list has run into the message.
    bool onlyWordsLeft() const { return wordsFrom(next); }

    bool wordsFrom(std::size_t first) const
    {
        for (std::size_t i = first; i < tokens.size(); ++i) {
            if (looksLikeNumber(tokens[i].text)) {
                return false;
            }
        }
        return true;
    }

    // `count` points named "<name> i"; stops early when the list runs into the message or
    // the end of the file, with one finding that says what the count promised.
    bool pointList(std::vector<PlacedPoint>& out, int count, const std::string& name, const std::string& countName)
    {
        for (int i = 0; i < count; ++i) {
            if (atEnd() || onlyWordsLeft()) {
                const int line = atEnd() ? (tokens.empty() ? 1 : tokens.back().line) : peek().line;
                const int number = atEnd() ? 0 : peek().number;
                addError(findings, line, number,
                         countName + " is " + std::to_string(count) + " but " + std::to_string(i) + " " + name +
                             (i == 1 ? "" : "s") + " follow" + (i == 1 ? "s" : "") +
                             (atEnd() ? " before the end of the file" : " before the message"));
                misread = true;
                return false;
            }
            // A point cut short by the message: a number is missing somewhere before.
            std::size_t numbers = 0;
            while (numbers < 3 && next + numbers < tokens.size() && looksLikeNumber(tokens[next + numbers].text)) {
                ++numbers;
            }
            if (numbers < 3 && numbers > 0 && wordsFrom(next + numbers)) {
                const Token& cut = next + numbers < tokens.size() ? tokens[next + numbers] : tokens.back();
                addError(findings, cut.line, next + numbers < tokens.size() ? cut.number : 0,
                         countName + " is " + std::to_string(count) + " but " + std::to_string(i) + " " + name +
                             (i == 1 ? "" : "s") + " and " + std::to_string(numbers) + " more number" +
                             (numbers == 1 ? "" : "s") + " follow before the message: a coordinate is missing");
                misread = true;
                return false;
            }
            PlacedPoint p;
            bool readable = true;
            if (!point(p, name + " " + std::to_string(i + 1), readable)) {
                return false;
            }
            out.push_back(p);
        }
        return true;
    }

private:
    const std::vector<Token>& tokens;
    std::vector<Finding>& findings;
    std::size_t next = 0;
    bool misread = false;
};

} // namespace

CheckedStage checkStageFormat(const std::string& text, std::vector<Finding>& findings)
{
    CheckedStage stage;
    const std::vector<Token> tokens = splitTokens(text);
    FieldWalk walk(tokens, findings);

    bool readable = true;
    if (!walk.word(stage.faceTexture, stage.faceLine, "the face texture name") ||
        !walk.word(stage.skyTexture, stage.skyLine, "the sky texture name")) {
        return stage;
    }
    // A stage needs room to stand in and time to play.
    const char* const limits[] = {"the fall radius", "the time limit"};
    float* const values[] = {&stage.fallRadius, &stage.timeLimit};
    for (int i = 0; i < 2; ++i) {
        const int line = walk.atEnd() ? 0 : walk.peek().line;
        const int number = walk.atEnd() ? 0 : walk.peek().number;
        if (!walk.real(*values[i], limits[i], readable)) {
            return stage;
        }
        if (readable && *values[i] <= 0) {
            addError(findings, line, number, std::string(limits[i]) + " is " + tokens[number - 1].text + "; it must be above 0");
        }
    }
    if (!walk.point(stage.start, "the start position", readable) ||
        !walk.point(stage.target, "the finish position", readable)) {
        return stage;
    }

    int count = 0;
    if (!walk.count(count, "the dice count") || !walk.pointList(stage.dice, count, "die", "the dice count")) {
        return stage;
    }
    if (!walk.count(count, "the coin count") || !walk.pointList(stage.coins, count, "coin", "the coin count")) {
        return stage;
    }
    if (!walk.count(count, "the cube count") || !walk.pointList(stage.cubes, count, "cube", "the cube count")) {
        return stage;
    }

    // The message: every token left, read as words.
    if (!walk.atEnd()) {
        stage.messageLine = walk.peek().line;
    }
    std::size_t leadingNumbers = 0;
    std::string leading;
    bool inLead = true;
    for (std::size_t i = walk.position(); i < tokens.size(); ++i) {
        stage.messageWords.push_back(tokens[i].text);
        if (inLead && looksLikeNumber(tokens[i].text)) {
            ++leadingNumbers;
            leading += (leading.empty() ? "" : " ") + tokens[i].text;
        } else {
            inLead = false;
        }
    }
    if (stage.messageWords.empty()) {
        addWarning(findings, tokens.empty() ? 0 : tokens.back().line, 0,
                   "no message after the " + std::to_string(stage.cubes.size()) +
                       " cubes: the in-game display shows no hint");
    } else if (leadingNumbers > 0) {
        addWarning(findings, stage.messageLine, tokens[walk.position()].number,
                   "the message starts with " + std::to_string(leadingNumbers) + " number" +
                       (leadingNumbers == 1 ? "" : "s") + " (" + quoted(leading) +
                       "): tokens left over after the counted cubes? check the cube count");
    }

    stage.complete = !walk.broken();
    return stage;
}
