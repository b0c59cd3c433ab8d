#include "replay/ReplayFile.h"

#include "progress/AtomicFile.h"
#include "media/ofUtils.h"

#include <Poco/DigestEngine.h>
#include <Poco/SHA1Engine.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

constexpr const char* FORMAT_NAME = "tumbrix-replay";
constexpr std::size_t SHOWN_CHARS = 40;             // of a bad line, in a problem
constexpr std::size_t MIN_EVENT_LINE = 10;          // "0 press 0\n"
constexpr std::size_t MAX_GAME_VERSION = 32;
constexpr long MAX_STAGE_FILE_BYTES = 64L * 1024 * 1024;   // far beyond any stage

std::string hexFloat(float value)
{
    char text[48];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::hex);
    if (ec != std::errc{}) {
        return "0x0p+0";
    }
    const std::string digits(text, end);
    return digits[0] == '-' ? "-0x" + digits.substr(1) : "0x" + digits;
}

bool parseInt(const std::string& token, long min, long max, int& value)
{
    long read = 0;
    const char* first = token.data();
    const char* last = first + token.size();
    const auto [end, ec] = std::from_chars(first, last, read);
    if (token.empty() || ec != std::errc{} || end != last || read < min || read > max) {
        return false;
    }
    value = static_cast<int>(read);
    return true;
}

// A finite C hex float as hexFloat writes it: an optional '-', "0x", digits, 'p', exponent.
bool parseHexFloat(const std::string& token, float& value)
{
    std::size_t at = token.size() > 0 && token[0] == '-' ? 1 : 0;
    if (token.compare(at, 2, "0x") != 0) {
        return false;
    }
    at += 2;
    if (at >= token.size() || token[at] == '-' || token[at] == '+') {
        return false;
    }
    float read = 0.0f;
    const char* last = token.data() + token.size();
    const auto [end, ec] = std::from_chars(token.data() + at, last, read, std::chars_format::hex);
    if (ec != std::errc{} || end != last || !std::isfinite(read)) {
        return false;
    }
    value = token[0] == '-' ? -read : read;
    return true;
}

bool isDigest(const std::string& text)
{
    return text.size() == 40 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

bool isVersionWord(const std::string& text)
{
    return !text.empty() && text.size() <= MAX_GAME_VERSION &&
           text.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ.+~-") == std::string::npos;
}

// A line as a problem shows it: at most SHOWN_CHARS, anything not printable as "\xNN".
std::string shown(const std::string& line)
{
    std::string text = "'";
    for (std::size_t i = 0; i < line.size() && i < SHOWN_CHARS; ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c >= 0x20 && c < 0x7f) {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            text += escaped;
        }
    }
    return text + (line.size() > SHOWN_CHARS ? "...'" : "'");
}

// Splits at single blanks; "a  b" has an empty word, which no field accepts.
std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> out;
    std::size_t at = 0;
    while (out.size() < 4) {
        const std::size_t blank = line.find(' ', at);
        out.push_back(line.substr(at, blank == std::string::npos ? std::string::npos : blank - at));
        if (blank == std::string::npos) {
            break;
        }
        at = blank + 1;
    }
    return out;
}

// Hands out the lines of a replay one by one and words the problems with their number.
class LineReader {
public:
    explicit LineReader(const std::string& bytes) : bytes(bytes) {}

    // The next line without its line end; false at the end of the bytes.
    bool next(std::string& line)
    {
        if (at >= bytes.size()) {
            ++number;
            return false;
        }
        std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        line = bytes.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return true;
    }
    std::size_t bytesLeft() const { return at >= bytes.size() ? 0 : bytes.size() - at; }

    std::string expected(const std::string& what, const std::string& line, bool found) const
    {
        return where() + "expected '" + what + "', found " + (found ? shown(line) : "the end of the file");
    }
    std::string where() const { return "line " + std::to_string(number) + ": "; }

    // Reads "<name> <value>" into `value`; false with `problem` set.
    bool field(const std::string& name, const std::string& what, std::string& value, std::string& problem)
    {
        std::string line;
        const bool found = next(line);
        const std::vector<std::string> w = words(line);
        if (!found || w.size() != 2 || w[0] != name || w[1].empty()) {
            problem = expected(name + " " + what, line, found);
            return false;
        }
        value = w[1];
        return true;
    }
    bool intField(const std::string& name, const std::string& what, long min, long max, int& value, std::string& problem)
    {
        std::string text;
        if (!field(name, what, text, problem)) {
            return false;
        }
        if (!parseInt(text, min, max, value)) {
            problem = where() + name + " " + shown(text) + " is not a whole number from " + std::to_string(min) + " to " +
                      std::to_string(max);
            return false;
        }
        return true;
    }
    bool floatField(const std::string& name, float& value, std::string& problem)
    {
        std::string text;
        if (!field(name, "<hex float>", text, problem)) {
            return false;
        }
        if (!parseHexFloat(text, value)) {
            problem = where() + name + " " + shown(text) + " is not a finite hex float such as 0x1.8p+5";
            return false;
        }
        return true;
    }

private:
    const std::string& bytes;
    std::size_t at = 0;
    int number = 0;
};

bool readEvents(LineReader& in, ReplayData& read, std::string& problem)
{
    int count = 0;
    if (!in.intField("events", "<count>", 0, REPLAY_MAX_EVENTS, count, problem)) {
        return false;
    }
    const std::size_t room = in.bytesLeft() / MIN_EVENT_LINE;
    if (static_cast<std::size_t>(count) > room) {
        problem = in.where() + std::to_string(count) + " events promised, but the " + std::to_string(in.bytesLeft()) +
                  " bytes that follow hold at most " + std::to_string(room) + ": the file is cut short";
        return false;
    }
    read.events.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string line;
        const bool found = in.next(line);
        const std::vector<std::string> w = words(line);
        ReplayEvent event;
        if (!found || w.size() != 3 || (w[1] != "press" && w[1] != "release")) {
            problem = in.expected("<step> press|release <key>", line, found) + " (event " + std::to_string(i + 1) + " of " +
                      std::to_string(count) + ")";
            return false;
        }
        event.press = w[1] == "press";
        if (!parseInt(w[0], 0, read.finishStep, event.step)) {
            problem = in.where() + "step " + shown(w[0]) + " is not a whole number from 0 to the finish step " +
                      std::to_string(read.finishStep);
            return false;
        }
        if (!read.events.empty() && event.step < read.events.back().step) {
            problem = in.where() + "step " + w[0] + " comes before the step of the event above (" +
                      std::to_string(read.events.back().step) + ")";
            return false;
        }
        if (!parseInt(w[2], 0, REPLAY_MAX_KEY, event.key)) {
            problem = in.where() + "key " + shown(w[2]) + " is not a key code from 0 to " + std::to_string(REPLAY_MAX_KEY);
            return false;
        }
        read.events.push_back(event);
    }
    return true;
}

bool readAll(const std::string& path, long limit, std::string& bytes, std::string& why)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = "cannot be opened (" + std::string(std::strerror(errno)) + ")";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        why = "cannot be read";
        return false;
    }
    if (size > limit) {
        why = "is too big (" + std::to_string(size) + " bytes, limit " + std::to_string(limit) + ")";
        return false;
    }
    in.seekg(0);
    std::string read{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad() || static_cast<std::streamoff>(read.size()) != size) {
        why = "cannot be read to its end";
        return false;
    }
    bytes = std::move(read);
    return true;
}

} // namespace

std::string replayText(const ReplayData& data)
{
    std::string text;
    text.reserve(256 + data.events.size() * 18);
    text += std::string(FORMAT_NAME) + " " + std::to_string(REPLAY_FORMAT_VERSION) + "\n";
    text += "game " + data.gameVersion + "\n";
    text += "stage " + std::to_string(data.stage) + "\n";
    text += "stage-sha1 " + data.stageDigest + "\n";
    text += "finish " + std::to_string(data.finishStep) + "\n";
    text += "score " + std::to_string(data.score) + "\n";
    text += "coins " + std::to_string(data.coins) + "\n";
    text += "start-left " + hexFloat(data.startLeft) + "\n";
    text += "finish-left " + hexFloat(data.finishLeft) + "\n";
    text += "events " + std::to_string(data.events.size()) + "\n";
    for (const ReplayEvent& e : data.events) {
        text += std::to_string(e.step) + (e.press ? " press " : " release ") + std::to_string(e.key) + "\n";
    }
    return text + "end\n";
}

bool readReplay(const std::string& bytes, ReplayData& data, std::string& problem)
{
    problem.clear();
    LineReader in(bytes);
    ReplayData read;
    std::string line;
    const bool found = in.next(line);
    const std::vector<std::string> header = words(line);
    int version = 0;
    if (!found || header.size() != 2 || header[0] != FORMAT_NAME || !parseInt(header[1], 1, INT_MAX, version)) {
        problem = in.expected(std::string(FORMAT_NAME) + " " + std::to_string(REPLAY_FORMAT_VERSION), line, found);
        return false;
    }
    if (version != REPLAY_FORMAT_VERSION) {
        problem = in.where() + "format version " + std::to_string(version) + ", this game reads version " +
                  std::to_string(REPLAY_FORMAT_VERSION);
        return false;
    }
    read.formatVersion = version;

    if (!in.field("game", "<version>", read.gameVersion, problem)) {
        return false;
    }
    if (!isVersionWord(read.gameVersion)) {
        problem = in.where() + "game version " + shown(read.gameVersion) + " is not a version word";
        return false;
    }
    if (!in.intField("stage", "<number>", 1, REPLAY_MAX_STAGE, read.stage, problem) ||
        !in.field("stage-sha1", "<40 hex digits>", read.stageDigest, problem)) {
        return false;
    }
    if (!isDigest(read.stageDigest)) {
        problem = in.where() + "stage-sha1 " + shown(read.stageDigest) + " is not 40 lowercase hex digits";
        return false;
    }
    if (!in.intField("finish", "<step>", 1, REPLAY_MAX_STEPS, read.finishStep, problem) ||
        !in.intField("score", "<points>", INT_MIN, INT_MAX, read.score, problem) ||
        !in.intField("coins", "<count>", 0, REPLAY_MAX_COINS, read.coins, problem) ||
        !in.floatField("start-left", read.startLeft, problem) || !in.floatField("finish-left", read.finishLeft, problem) ||
        !readEvents(in, read, problem)) {
        return false;
    }

    const bool endFound = in.next(line);
    if (!endFound || line != "end") {
        problem = in.expected("end", line, endFound);
        return false;
    }
    if (in.bytesLeft() > 0) {
        in.next(line);
        problem = in.where() + "text after the end line: " + shown(line);
        return false;
    }
    data = std::move(read);
    return true;
}

bool readReplayFile(const std::string& path, ReplayData& data, std::string& problem)
{
    std::string bytes;
    std::string why;
    if (!readAll(path, REPLAY_MAX_BYTES, bytes, why)) {
        problem = "replay: [" + path + "] " + why;
        return false;
    }
    if (bytes.empty()) {
        problem = "replay: [" + path + "] is empty";
        return false;
    }
    if (!readReplay(bytes, data, problem)) {
        problem = "replay: [" + path + "] " + problem;
        return false;
    }
    return true;
}

bool writeReplayFile(const std::string& path, const ReplayData& data)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        std::filesystem::create_directories(folder, error);
        if (error) {
            ofLog(OF_LOG_ERROR, "replay: [%s] cannot be written: the folder [%s] cannot be made (%s)", path.c_str(),
                  folder.c_str(), error.message().c_str());
            return false;
        }
    }
    return replaceFileAtomically(path, replayText(data));
}

std::string stageDigest(const std::string& bytes)
{
    Poco::SHA1Engine engine;
    engine.update(bytes.data(), bytes.size());
    return Poco::DigestEngine::digestToHex(engine.digest());
}

bool stageFileDigest(const std::string& path, std::string& digest)
{
    std::string bytes;
    std::string why;
    if (!readAll(path, MAX_STAGE_FILE_BYTES, bytes, why)) {
        return false;
    }
    digest = stageDigest(bytes);
    return true;
}
