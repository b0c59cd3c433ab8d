// Frame time of the real game in a real GL context: the Application with its Level, Player,
// Camera, Gui and sounds, driven frame by frame exactly as the window loop drives it (update,
// then clear, draw and swap), on every shipped stage and on generated stages of growing
// size, next to a frame that only clears and swaps. Also times stage loading against the
// stage's size. Prints the figures as Markdown for docs/performance.md.
//
// Usage: bench_frame [--frames N] [--menu-frames N] [--warmup N] [--only CASE] [--parts CASE]...
//                    [--no-load] [--out FILE] [--csv FILE] [--size WxH] [--face-by-face] [--stages-only]
//   CASE is a case name as printed ("stage3", "cubes2000"); --only skips everything else,
//   which is how the profile of one case is taken. --parts takes the frame of a case apart
//   (default: the shipped stage with the most cubes, and cubes2000). The report goes to FILE (default: standard
//   output, where the game's log lines go too). --csv also writes one line per case: name,
//   cubes, menu median and p99, play median and p99, baseline median (ms). --size sets the
//   window (default 1024x768; the X screen must be as large). --face-by-face draws as the
//   first version did: every face of every cube, the sky and the ball tessellated every
//   frame. --stages-only leaves out the generated stages, the parts and the loading table.
#include "BenchData.h"
#include "FrameParts.h"
#include "FrameStats.h"
#include "GameDriver.h"

#include "app/Application.h"

#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"
#include "media/ofGraphics.h"
#include "media/ofLibraries.h"
#include "media/ofUtils.h"
#include "level/StageFile.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdarg>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int width = 1024;    // the window, pixels
int height = 768;
const double FRAME_BUDGET_MS = 1000.0 / 60.0;
const int GENERATED_SIZES[] = {500, 1000, 2000, 5000};
const int FIRST_GENERATED_STAGE = 901;   // file numbers of the generated stages
const int LOAD_SIZES[] = {250, 500, 1000, 2000, 4000, 8000, 16000};
const int LOAD_STAGE = 990;
const int PART_FRAMES = 60;

struct Options {
    int playFrames = 600;
    int menuFrames = 120;
    int warmup = 30;
    std::string only;
    std::string out;
    std::string csv;
    std::vector<std::string> partsCases;   // cases whose frame is taken apart; empty: the defaults
    bool load = true;
    bool faceByFace = false;
    bool stagesOnly = false;
};

struct FrameTimes {
    FrameStats update;    // Application::update
    FrameStats draw;      // clear and Application::draw: the GL calls of the frame
    FrameStats swap;      // buffer swap: Mesa finishes rasterising and presents
    FrameStats frame;     // all three
    FrameStats cpuAll;    // CPU time of the whole process in the frame: game thread and rasteriser threads
    FrameStats cpuMain;   // CPU time of the game's own thread in the frame
};

// CPU clocks in ms; on a shared machine they say what a frame costs whatever else runs.
double cpuMillis(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct FrameStart {
    Clock::time_point wall = Clock::now();
    double cpuAll = cpuMillis(CLOCK_PROCESS_CPUTIME_ID);
    double cpuMain = cpuMillis(CLOCK_THREAD_CPUTIME_ID);
};

struct CaseResult {
    std::string name;
    int cubes = 0;
    int collectibles = 0;   // dice and coins on the stage at its start
    FrameTimes menu;
    FrameTimes play;
    double setupMillis = 0;
    std::vector<PartCost> parts;   // empty unless the case was taken apart
};

std::FILE* reportFile = stdout;   // the Markdown goes here; the game's own log lines go to stdout

void report(const char* format, ...) __attribute__((format(printf, 1, 2)));
void report(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(reportFile, format, args);
    va_end(args);
}

double millisSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The window loop's display step around the application's draw: viewport, clear to the
// background colour, draw, swap.
void displayStep(GameDriver* game, FrameTimes& times, const FrameStart& frameStart, bool record)
{
    const auto drawStart = Clock::now();
    glViewport(0, 0, width, height);
    const float* bg = ofBgColorPtr();
    glClearColor(bg[0], bg[1], bg[2], bg[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (game != nullptr) {
        game->draw();
    }
    const auto swapStart = Clock::now();
    glutSwapBuffers();
    const auto end = Clock::now();
    if (record) {
        using Ms = std::chrono::duration<double, std::milli>;
        times.draw.add(Ms(swapStart - drawStart).count());
        times.swap.add(Ms(end - swapStart).count());
        times.frame.add(Ms(end - frameStart.wall).count());
        times.cpuAll.add(cpuMillis(CLOCK_PROCESS_CPUTIME_ID) - frameStart.cpuAll);
        times.cpuMain.add(cpuMillis(CLOCK_THREAD_CPUTIME_ID) - frameStart.cpuMain);
    }
}

void gameFrame(GameDriver& game, FrameTimes& times, bool record)
{
    const FrameStart start;
    game.update();
    if (record) {
        times.update.add(millisSince(start.wall));
    }
    displayStep(&game, times, start, record);
}

FrameTimes baselineFrames(int count)
{
    FrameTimes times;
    for (int i = 0; i < count; ++i) {
        const FrameStart start;
        times.update.add(0.0);
        displayStep(nullptr, times, start, true);
    }
    return times;
}

// The menu over the stage (camera circling), then play: Continue starts the stage and the
// up arrow is held, with a left turn every few seconds so the ball covers ground; a ball
// that is lost (falls off, time out) is started again.
CaseResult runCase(const std::string& name, int stage, const BenchData& data, const Options& options, bool takeApart)
{
    CaseResult result;
    result.name = name;
    data.writeSaveFile(stage, 0);

    const auto setupStart = Clock::now();
    GameDriver game;
    result.setupMillis = millisSince(setupStart);
    if (options.faceByFace) {
        game.application().level.compiledDrawing = false;
        game.application().player.compiledDrawing = false;
    }
    result.cubes = game.cubeCount();
    result.collectibles = game.collectibleCount();

    for (int i = 0; i < options.warmup + options.menuFrames; ++i) {
        gameFrame(game, result.menu, i >= options.warmup);
    }
    game.startStage();
    for (int i = 0; i < options.warmup + options.playFrames; ++i) {
        game.steer(i);
        gameFrame(game, result.play, i >= options.warmup);
    }
    if (takeApart) {
        result.parts = measureParts(game.application(), width, height, PART_FRAMES);
    }
    return result;
}

void printRow(const char* label, const std::string& name, int cubes, int collectibles, const FrameTimes& times,
              double baselineMedian)
{
    report("| %s %s | %d | %d | %s | %s | %s | **%s** | %.1f | %.2f | %s | %s | %s |\n", name.c_str(), label, cubes,
           collectibles, medianAndP99(times.update).c_str(), medianAndP99(times.draw).c_str(),
           medianAndP99(times.swap).c_str(), medianAndP99(times.frame).c_str(),
           times.frame.median() / std::max(1e-6, baselineMedian), times.frame.maximum(),
           times.frame.percentile(99.0) <= FRAME_BUDGET_MS ? "yes" : "no", medianAndP99(times.cpuAll).c_str(),
           medianAndP99(times.cpuMain).c_str());
}

void printTableHead()
{
    report("| case | cubes | dice + coins | update ms | draw ms | swap ms | frame ms | median / baseline | max ms "
           "| p99 within 16.7 ms | CPU ms, all threads | CPU ms, game thread |\n");
    report("|---|---:|---:|---:|---:|---:|---:|---:|---:|:---:|---:|---:|\n");
}

// Time of Level::clear and Level::load for stages of growing size; linear loading shows as
// a constant cost per cube. The stages name no texture that exists, so the fixed cost of
// decoding two pictures does not hide the part that grows (the game logs one line for each).
// Returns the lowest and the highest cost per 1000 cubes.
std::pair<double, double> printLoadTable(const BenchData& data)
{
    for (int cubes : LOAD_SIZES) {
        data.writeGeneratedStage(LOAD_STAGE + cubes, cubes, "none.png", "none.png");
    }
    StageLoader loader;
    report("\n### Stage loading\n\n");
    report("`Level::clear` then `Level::load` of a generated stage without its textures (decoding "
           "them is a fixed cost, part of the set-up above), median of 7.\n\n");
    report("| cubes | load ms | ms per 1000 cubes above the smallest |\n|---:|---:|---:|\n");
    double first = 0;
    double lowest = 0;
    double highest = 0;
    for (int cubes : LOAD_SIZES) {
        std::vector<double> times;
        for (int i = 0; i < 7; ++i) {
            times.push_back(loader.loadMillis(LOAD_STAGE + cubes));
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        if (cubes == LOAD_SIZES[0]) {
            first = median;
            report("| %d | %.2f | |\n", cubes, median);
        } else {
            const double perThousand = (median - first) / ((cubes - LOAD_SIZES[0]) / 1000.0);
            lowest = cubes == LOAD_SIZES[1] ? perThousand : std::min(lowest, perThousand);
            highest = std::max(highest, perThousand);
            report("| %d | %.2f | %.3f |\n", cubes, median, perThousand);
        }
    }
    return {lowest, highest};
}

const char* metOrNot(bool met)
{
    return met ? "**yes**" : "**no**";
}

// The frame and loading targets against the figures above.
void printTargets(const std::vector<CaseResult>& results, std::pair<double, double> load)
{
    report("\n### Targets\n\n| target | measured | met |\n|---|---|:---:|\n");
    const CaseResult* worst = nullptr;
    bool worstIsMenu = false;
    int shipped = 0;
    for (const CaseResult& r : results) {
        if (r.name.rfind("stage", 0) != 0) {
            continue;
        }
        ++shipped;
        for (bool menu : {true, false}) {
            const double p99 = (menu ? r.menu : r.play).frame.percentile(99.0);
            if (worst == nullptr || p99 > (worstIsMenu ? worst->menu : worst->play).frame.percentile(99.0)) {
                worst = &r;
                worstIsMenu = menu;
            }
        }
    }
    if (worst != nullptr) {
        const double p99 = (worstIsMenu ? worst->menu : worst->play).frame.percentile(99.0);
        report("| every shipped stage (%d): 99th percentile frame at most 16.7 ms | worst: %.2f ms (`%s` %s) | %s |\n",
               shipped, p99, worst->name.c_str(), worstIsMenu ? "menu" : "play", metOrNot(p99 <= FRAME_BUDGET_MS));
    }
    for (const CaseResult& r : results) {
        if (r.name == "cubes2000") {
            const double play = r.play.frame.percentile(99.0);
            const double menu = r.menu.frame.percentile(99.0);
            report("| 2,000 cubes hold 60 frames a second (99th percentile at most 16.7 ms) | play %.2f ms, menu "
                   "%.2f ms | %s |\n",
                   play, menu, metOrNot(std::max(play, menu) <= FRAME_BUDGET_MS));
        }
    }
    if (load.first > 0) {
        report("| loading linear in the stage's size | %.3f to %.3f ms per 1000 cubes from %d to %d cubes | %s |\n",
               load.first, load.second, LOAD_SIZES[0], LOAD_SIZES[std::size(LOAD_SIZES) - 1],
               metOrNot(load.second <= 1.5 * load.first));
    }
}

// The shipped stage with the most cubes (1 when none can be read).
int largestShippedStage(const BenchData& data)
{
    int largest = 1;
    std::size_t most = 0;
    for (int s = 1; s <= data.shippedStages(); ++s) {
        const std::string name = "data/levels/level" + std::to_string(s) + ".txt";
        std::ifstream in(data.root() / name);
        StageFile stage;
        readStageFile(in, name, stage);
        if (stage.cubes.size() > most) {
            most = stage.cubes.size();
            largest = s;
        }
    }
    return largest;
}

void printParts(const CaseResult& r)
{
    report("\n### Where the frame goes: `%s`\n\n", r.name.c_str());
    report("The view of the last play frame, frozen; each part drawn alone through the game's own "
           "functions after the camera's clear and before a swap, %d frames, medians. The rows in "
           "italics are not what the game draws; they show what a change there would gain.\n\n",
           PART_FRAMES);
    report("| part | CPU ms, all threads | CPU ms, game thread | wall ms |\n|---|---:|---:|---:|\n");
    for (const PartCost& part : r.parts) {
        report("| %s | %.2f | %.2f | %.2f |\n", part.name.c_str(), part.cpuAll, part.cpuMain, part.wall);
    }
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--frames") == 0 && hasValue) {
            options.playFrames = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--menu-frames") == 0 && hasValue) {
            options.menuFrames = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--warmup") == 0 && hasValue) {
            options.warmup = std::max(0, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--only") == 0 && hasValue) {
            options.only = argv[++i];
        } else if (std::strcmp(argv[i], "--parts") == 0 && hasValue) {
            options.partsCases.push_back(argv[++i]);
        } else if (std::strcmp(argv[i], "--out") == 0 && hasValue) {
            options.out = argv[++i];
        } else if (std::strcmp(argv[i], "--csv") == 0 && hasValue) {
            options.csv = argv[++i];
        } else if (std::strcmp(argv[i], "--size") == 0 && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 16 || height < 16) {
                std::fprintf(stderr, "bench_frame: --size takes WxH, got %s\n", argv[i]);
                std::exit(2);
            }
        } else if (std::strcmp(argv[i], "--face-by-face") == 0) {
            options.faceByFace = true;
        } else if (std::strcmp(argv[i], "--stages-only") == 0) {
            options.stagesOnly = true;
            options.load = false;
        } else if (std::strcmp(argv[i], "--no-load") == 0) {
            options.load = false;
        } else {
            std::fprintf(stderr, "bench_frame: unknown argument %s\n", argv[i]);
            std::exit(2);
        }
    }
    return options;
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = parseOptions(argc, argv);
    if (!options.out.empty()) {
        reportFile = std::fopen(options.out.c_str(), "w");
        if (reportFile == nullptr) {
            std::fprintf(stderr, "bench_frame: cannot write %s\n", options.out.c_str());
            return 1;
        }
    }
    const BenchData data(fs::path(TUMBRIX_SOURCE_DIR) / "data");
    for (std::size_t i = 0; i < std::size(GENERATED_SIZES); ++i) {
        data.writeGeneratedStage(FIRST_GENERATED_STAGE + static_cast<int>(i), GENERATED_SIZES[i]);
    }
    fs::current_path(data.root());

    ofAppGlutWindow window;
    ofSetupOpenGL(&window, width, height, 0);
    report("renderer: %s, OpenGL %s, window %dx%d\n\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)), ofGetWidth(), ofGetHeight());

    struct Planned {
        std::string name;
        int stage;
    };
    std::vector<Planned> plan;
    for (int s = 1; s <= data.shippedStages(); ++s) {
        plan.push_back({"stage" + std::to_string(s), s});
    }
    for (std::size_t i = 0; i < std::size(GENERATED_SIZES) && !options.stagesOnly; ++i) {
        plan.push_back({"cubes" + std::to_string(GENERATED_SIZES[i]), FIRST_GENERATED_STAGE + static_cast<int>(i)});
    }

    std::vector<std::string> partsCases = options.partsCases;
    if (partsCases.empty() && !options.stagesOnly) {
        partsCases = {"stage" + std::to_string(largestShippedStage(data)), "cubes2000"};
    }
    std::vector<CaseResult> results;
    const FrameTimes baseline = baselineFrames(options.menuFrames + options.playFrames);
    for (const Planned& p : plan) {
        if (!options.only.empty() && p.name != options.only) {
            continue;
        }
        std::fprintf(stderr, "bench_frame: %s\n", p.name.c_str());
        const bool takeApart = std::find(partsCases.begin(), partsCases.end(), p.name) != partsCases.end();
        results.push_back(runCase(p.name, p.stage, data, options, takeApart));
    }
    const FrameTimes baselineAfter = baselineFrames(options.menuFrames);

    report("\n### Frame times\n\n");
    report("Median / 99th percentile in ms over %d play frames and %d menu frames per case (after %d "
           "warm-up frames each). update: `Application::update`; draw: the clear and "
           "`Application::draw` (GL calls); swap: the buffer swap, where Mesa finishes rasterising "
           "and presents; frame: all three, wall-clock time. CPU: processor time the frame took, of the "
           "whole process (the game's thread and Mesa's rasteriser threads) and of the game's thread "
           "alone; unlike wall-clock time it hardly depends on what else the machine runs.\n\n",
           options.playFrames, options.menuFrames, options.warmup);
    printTableHead();
    const double base = baseline.frame.median();
    printRow("", "baseline (clear + swap), before", 0, 0, baseline, base);
    printRow("", "baseline (clear + swap), after", 0, 0, baselineAfter, base);
    const CaseResult* slowest = nullptr;
    double slowestP99 = 0;
    for (const CaseResult& r : results) {
        printRow("menu", r.name, r.cubes, r.collectibles, r.menu, base);
        printRow("play", r.name, r.cubes, r.collectibles, r.play, base);
        const double p99 = std::max(r.menu.frame.percentile(99.0), r.play.frame.percentile(99.0));
        if (slowest == nullptr || p99 > slowestP99) {
            slowest = &r;
            slowestP99 = p99;
        }
    }

    report("\n### Growth with the number of cubes (play frames)\n\n");
    report("| cubes | frame median ms | frame p99 ms | median / baseline median | ms per 1000 cubes above 500 |\n");
    report("|---:|---:|---:|---:|---:|\n");
    const CaseResult* smallest = nullptr;
    for (const CaseResult& r : results) {
        if (r.name.rfind("cubes", 0) != 0) {
            continue;
        }
        const double ratio = r.play.frame.median() / std::max(1e-6, baseline.frame.median());
        if (smallest == nullptr) {
            smallest = &r;
            report("| %d | %.2f | %.2f | %.1f | |\n", r.cubes, r.play.frame.median(), r.play.frame.percentile(99.0),
                        ratio);
        } else {
            const double perThousand = (r.play.frame.median() - smallest->play.frame.median()) /
                                       ((r.cubes - smallest->cubes) / 1000.0);
            report("| %d | %.2f | %.2f | %.1f | %.2f |\n", r.cubes, r.play.frame.median(),
                        r.play.frame.percentile(99.0), ratio, perThousand);
        }
    }

    report("\n### Set-up\n\n| case | `Application` construction and `setup` ms |\n|---|---:|\n");
    for (const CaseResult& r : results) {
        report("| %s | %.1f |\n", r.name.c_str(), r.setupMillis);
    }

    for (const CaseResult& r : results) {
        if (!r.parts.empty()) {
            printParts(r);
        }
    }

    if (!options.csv.empty()) {
        std::FILE* csv = std::fopen(options.csv.c_str(), "w");
        if (csv == nullptr) {
            std::fprintf(stderr, "bench_frame: cannot write %s\n", options.csv.c_str());
        } else {
            for (const CaseResult& r : results) {
                std::fprintf(csv, "%s,%d,%.3f,%.3f,%.3f,%.3f,%.3f\n", r.name.c_str(), r.cubes, r.menu.frame.median(),
                             r.menu.frame.percentile(99.0), r.play.frame.median(), r.play.frame.percentile(99.0), base);
            }
            std::fclose(csv);
        }
    }

    std::pair<double, double> load{0, 0};
    if (options.load && options.only.empty()) {
        load = printLoadTable(data);
    }
    printTargets(results, load);
    if (slowest != nullptr) {
        report("\nSlowest case (highest 99th percentile): `%s`.\n", slowest->name.c_str());
    }
    if (reportFile != stdout) {
        std::fclose(reportFile);
    }

    fs::current_path(TUMBRIX_SOURCE_DIR);
    ofSoundShutdown();
    ofImageLibraryShutdown();
    return 0;
}
