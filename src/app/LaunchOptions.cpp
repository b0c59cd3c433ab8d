#include "app/LaunchOptions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr long MAX_STAGE = 100000;

int bad(const char* what, const char* detail)
{
    std::fprintf(stderr, "tumbrix: %s%s\n%s", what, detail, launchUsage().c_str());
    return 2;
}

} // namespace

std::string launchUsage()
{
    return "usage: tumbrix [--stage N | --play STAGE_FILE | --replay REPLAY_FILE]\n"
           "  --stage N       start stage N at once, if your save has reached it\n"
           "  --play FILE     play one stage file (your own stage); the save and the records stay untouched\n"
           "  --replay FILE   watch a replay file (data/replays/*.replay), then end\n"
           "  --help          this text\n"
           "Keys: arrows steer, Enter jumps and chooses, Space looks around, P pauses,\n"
           "Backspace goes back, F11 switches full screen, Escape quits.\n";
}

int readLaunchOptions(int argc, const char* const* argv, LaunchOptions& options)
{
    LaunchOptions read;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::fputs(launchUsage().c_str(), stdout);
            return 0;
        }
        const bool stage = std::strcmp(arg, "--stage") == 0;
        const bool play = std::strcmp(arg, "--play") == 0;
        const bool replay = std::strcmp(arg, "--replay") == 0;
        if (!stage && !play && !replay) {
            return bad("unknown option ", arg);
        }
        if (read.mode != LaunchOptions::Mode::Menu) {
            return bad("choose one of --stage, --play and --replay, not ", arg);
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            return bad(arg, stage ? " needs a stage number" : " needs a file");
        }
        const char* value = argv[++i];
        if (stage) {
            char* end = nullptr;
            errno = 0;
            const long n = std::strtol(value, &end, 10);
            if (errno != 0 || end == value || *end != '\0' || n < 1 || n > MAX_STAGE) {
                return bad("--stage needs a stage number from 1, not ", value);
            }
            read.mode = LaunchOptions::Mode::Stage;
            read.stage = static_cast<int>(n);
        } else {
            read.mode = play ? LaunchOptions::Mode::Play : LaunchOptions::Mode::Replay;
            read.file = value;
        }
    }
    options = read;
    return -1;
}
