#include "progress/TextLine.h"

#include <charconv>
#include <utility>

std::vector<std::string> splitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t begin = line.find_first_not_of(" \t", at);
        if (begin == std::string::npos) {
            break;
        }
        std::size_t end = line.find_first_of(" \t", begin);
        if (end == std::string::npos) {
            end = line.size();
        }
        words.push_back(line.substr(begin, end - begin));
        at = end;
    }
    return words;
}

namespace {

bool parses(const std::string& word, long long& value)
{
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    return !word.empty() && error == std::errc() && stop == end;
}

} // namespace

bool readWholeNumber(const std::string& word, long long min, long long max, long long& value)
{
    long long read = 0;
    if (!parses(word, read) || read < min || read > max) {
        return false;
    }
    value = read;
    return true;
}

std::string numberProblem(const std::string& what, const std::string& word, long long min, long long max)
{
    long long read = 0;
    if (!parses(word, read)) {
        return "bad " + what + " '" + word.substr(0, 40) + "'";
    }
    return what + " " + word + " out of range " + std::to_string(min) + " to " + std::to_string(max);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
    }
    return lines;
}
