// stagecheck: checks stage files for the game and finds the fastest way through them.
//
//   stagecheck [--all-coins] [--strict] [--steps] [--min-spare PERCENT] [--table]
//              [--routes DIR] [--save-routes DIR] [--maps DIR] [--save-times FILE] STAGE_FILE...
//   stagecheck --replay REPLAY_FILE [--trace]
//
// For each file: format problems with line and token, suspicious geometry, and the fastest
// route (keys, frames, seconds, time to spare, coins taken), found by playing the stage
// with the game's own ball code at 60 frames a second, with the route's difficulty
// figures. A route stored for the stage in --routes is played instead of searching; with
// --save-times the frames of every route found go into the game's proven times
// (data/levels/proven-times.txt, whose medals measure against them). Exit status 0 only when every
// stage loads cleanly and can be finished within its time limit (with --strict, also
// without warnings, and with --min-spare, leaving that share of the limit unused); 1 when
// one cannot; 2 for a bad command line. With --replay, the run a replay file holds is played
// on its stage below data/levels/ of the working folder: status 0 only when it wins exactly
// as the file says.

#include "ReplayCheck.h"
#include "StageCheck.h"
#include "progress/AtomicFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: stagecheck [--all-coins] [--strict] [--steps] [--min-spare PERCENT] [--table]\n"
                 "                  [--routes DIR] [--save-routes DIR] [--maps DIR] [--save-times FILE] STAGE_FILE...\n"
                 "  --all-coins          also find the fastest route that takes every coin\n"
                 "  --strict             fail a stage on warnings too\n"
                 "  --steps              list every action of a route with the frame it starts in\n"
                 "  --min-spare PERCENT  fail a stage whose fastest route leaves less of its time limit\n"
                 "  --table              print one row of difficulty figures a stage (a Markdown table)\n"
                 "  --routes DIR         play the route stored in DIR/<stage>.route instead of searching\n"
                 "  --save-routes DIR    store every route found as DIR/<stage>.route\n"
                 "  --maps DIR           draw a map of each stage with its route as DIR/<stage>.png\n"
                 "  --save-times FILE    write the frames of each stage's route into FILE as its proven time\n"
                 "                       (stages named levelN.txt; other stages in FILE are kept; the game's\n"
                 "                       file is data/levels/proven-times.txt)\n"
                 "       stagecheck --replay REPLAY_FILE [--trace]\n"
                 "  --replay FILE        play the run a replay file holds on its stage in data/levels/ and\n"
                 "                       check that it wins exactly as the file says\n"
                 "  --trace              with --replay, print the ball after every step (floats in hex)\n");
}

} // namespace

int main(int argc, char** argv)
{
    StageCheckOptions options;
    ReplayCheckOptions replayOptions;
    std::string replayFile;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--replay") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                std::fprintf(stderr, "stagecheck: --replay needs a replay file\n");
                return 2;
            }
            replayFile = argv[++i];
        } else if (std::strcmp(argv[i], "--trace") == 0) {
            replayOptions.trace = true;
        } else if (std::strcmp(argv[i], "--all-coins") == 0) {
            options.allCoins = true;
        } else if (std::strcmp(argv[i], "--strict") == 0) {
            options.strict = true;
        } else if (std::strcmp(argv[i], "--steps") == 0) {
            options.listSteps = true;
        } else if (std::strcmp(argv[i], "--min-spare") == 0) {
            char* end = nullptr;
            const double percent = i + 1 < argc ? std::strtod(argv[i + 1], &end) : -1.0;
            if (end == nullptr || *end != '\0' || end == argv[i + 1] || !(percent >= 0.0 && percent <= 100.0)) {
                std::fprintf(stderr, "stagecheck: --min-spare needs a percentage from 0 to 100\n");
                return 2;
            }
            options.minimumSpare = static_cast<float>(percent);
            ++i;
        } else if (std::strcmp(argv[i], "--table") == 0) {
            options.table = true;
        } else if (std::strcmp(argv[i], "--routes") == 0 || std::strcmp(argv[i], "--save-routes") == 0 ||
                   std::strcmp(argv[i], "--maps") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                std::fprintf(stderr, "stagecheck: %s needs a folder\n", argv[i]);
                return 2;
            }
            std::string& dir = argv[i][2] == 'r' ? options.routesDir
                               : argv[i][2] == 's' ? options.saveRoutesDir
                                                   : options.mapsDir;
            dir = argv[++i];
        } else if (std::strcmp(argv[i], "--save-times") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                std::fprintf(stderr, "stagecheck: --save-times needs a file\n");
                return 2;
            }
            options.saveTimesFile = argv[++i];
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage();
            return 0;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "stagecheck: unknown option %s\n", argv[i]);
            usage();
            return 2;
        } else {
            files.emplace_back(argv[i]);
        }
    }
    if (!replayFile.empty()) {
        if (!files.empty()) {
            std::fprintf(stderr, "stagecheck: --replay finds its stage itself and takes no stage files\n");
            return 2;
        }
        return checkReplay(replayFile, replayOptions) ? 0 : 1;
    }
    if (replayOptions.trace) {
        std::fprintf(stderr, "stagecheck: --trace goes with --replay\n");
        return 2;
    }
    if (files.empty()) {
        usage();
        return 2;
    }

    StageCheck checker(options);
    int failed = 0;
    for (const std::string& file : files) {
        if (!checker.check(file)) {
            ++failed;
        }
    }
    if (options.table) {
        std::fputs(checker.table().c_str(), stdout);
    } else if (files.size() > 1) {
        std::printf("%zu of %zu stages pass\n", files.size() - failed, files.size());
    }
    if (!options.saveTimesFile.empty()) {
        // The stages checked now replace theirs; the file's other stages stay, so that one
        // stage can be checked again on its own.
        ProvenTimes times;
        if (std::filesystem::exists(options.saveTimesFile) && !times.load(options.saveTimesFile)) {
            std::fprintf(stderr, "stagecheck: %s is not a file of proven times; it is left as it is\n",
                         options.saveTimesFile.c_str());
            return 1;
        }
        for (const auto& [stage, frames] : checker.provenTimes().all()) {
            times.set(stage, frames);
        }
        if (!replaceFileAtomically(options.saveTimesFile, times.text())) {
            return 1;
        }
        const int proven = checker.provenTimes().count();
        std::fprintf(options.table ? stderr : stdout, "proven times of %d %s written to %s (%d in the file)\n", proven,
                     proven == 1 ? "stage" : "stages", options.saveTimesFile.c_str(), times.count());
    }
    return failed == 0 ? 0 : 1;
}
