// Feeds arbitrary bytes, line by line, to the settings reader. Besides the sanitizers it
// checks what the game relies on: whatever the lines say, the volumes stay within 0..10 and a
// rejected line changes nothing; and the settings read survive being written and read back.
#include "gui/Settings.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

bool inRange(const Settings& s)
{
    return s.musicVolume >= 0 && s.musicVolume <= SETTINGS_VOLUME_MAX && s.effectsVolume >= 0 &&
           s.effectsVolume <= SETTINGS_VOLUME_MAX;
}

// Reads every line after the first (the header) into `settings`.
void readLines(const std::string& text, Settings& settings)
{
    size_t at = text.find('\n');
    while (at != std::string::npos && at + 1 < text.size()) {
        const size_t end = text.find('\n', at + 1);
        const std::string line = text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
        const Settings before = settings;
        std::string note;
        if (!readSettingsLine(line, settings, note).empty()) {
            require(settings == before);
        }
        require(inRange(settings));
        at = end;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Settings settings;
    readLines("header\n" + bytes, settings);
    Settings back{0, 0, false, false};
    readLines(settingsText(settings), back);
    require(back == settings);
    return 0;
}
