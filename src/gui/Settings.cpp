#include "gui/Settings.h"

#include "progress/AtomicFile.h"
#include "media/ofUtils.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace {

// A whole decimal number and nothing else, or false.
bool readInt(const std::string& text, int& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    return error == std::errc() && stop == end;
}

std::string quoted(const std::string& text)
{
    constexpr std::size_t SHOWN = 40;   // characters of a bad value shown in a message
    return "'" + (text.size() > SHOWN ? text.substr(0, SHOWN) + "..." : text) + "'";
}

std::string readVolume(const std::string& key, const std::string& value, int& volume, std::string& note)
{
    int read = 0;
    if (!readInt(value, read)) {
        return "bad " + key + " " + quoted(value);
    }
    volume = std::clamp(read, 0, SETTINGS_VOLUME_MAX);
    if (volume != read) {
        note = key + " " + quoted(value) + " is outside 0.." + std::to_string(SETTINGS_VOLUME_MAX) + ", " +
               std::to_string(volume) + " used";
    }
    return "";
}

std::string readFlag(const std::string& key, const std::string& value, bool& flag)
{
    if (value != "0" && value != "1") {
        return "bad " + key + " " + quoted(value) + " (0 or 1)";
    }
    flag = value == "1";
    return "";
}

} // namespace

std::string settingsText(const Settings& settings)
{
    std::ostringstream out;
    out << SETTINGS_FILE_HEADER << '\n'
        << "musicVolume " << settings.musicVolume << '\n'
        << "effectsVolume " << settings.effectsVolume << '\n'
        << "fullScreen " << (settings.fullScreen ? 1 : 0) << '\n'
        << "music " << (settings.music ? 1 : 0) << '\n';
    return out.str();
}

std::string readSettingsLine(const std::string& line, Settings& settings, std::string& note)
{
    note.clear();
    std::istringstream in(line);
    std::string key;
    std::string value;
    std::string extra;
    in >> key >> value;
    if (value.empty()) {
        return "no value for " + quoted(key);
    }
    if (in >> extra) {
        return "more than a key and a value";
    }
    if (key == "musicVolume") {
        return readVolume(key, value, settings.musicVolume, note);
    }
    if (key == "effectsVolume") {
        return readVolume(key, value, settings.effectsVolume, note);
    }
    if (key == "fullScreen") {
        return readFlag(key, value, settings.fullScreen);
    }
    if (key == "music") {
        return readFlag(key, value, settings.music);
    }
    return "unknown setting " + quoted(key);
}

SideFileResult readSettingsFile(const std::string& path, Settings& settings)
{
    Settings read;
    const SideFileResult result = readSideFile("settings", path, SETTINGS_FILE_HEADER,
        [&](const std::string& line, int number) {
            std::string note;
            const std::string problem = readSettingsLine(line, read, note);
            if (!note.empty()) {
                ofLog(OF_LOG_WARNING, "settings: [%s] line %d: %s", path.c_str(), number, note.c_str());
            }
            return problem;
        });
    // A file kept aside gave nothing that can be trusted.
    settings = result.status == SideFileStatus::KeptAside ? Settings{} : read;
    if (result.status == SideFileStatus::Skipped) {
        writeSettingsFile(path, settings);
    }
    return result;
}

bool writeSettingsFile(const std::string& path, const Settings& settings)
{
    return replaceFileAtomically(path, settingsText(settings));
}
