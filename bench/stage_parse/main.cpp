// Stage parsing against the floor set by the stream operators themselves: one run reads a
// generated stage of 10,000 cubes with the game's reader and with a bare loop that pulls
// the same tokens with the same operators and keeps nothing, then prints the ratio.
#include "level/StageFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

namespace {

const int CUBES = 10000;
const int DICE = 500;
const int COINS = 500;

std::string stagePath;

void writeStage(const std::string& path)
{
    std::ofstream out(path);
    out << "face.png\nsky.png\n150\n600\n0 0 1.35\n40 40 1.5\n";
    out << DICE << "\n";
    for (int i = 0; i < DICE; ++i) {
        out << (i % 100) * 2 << " " << (i / 100) * 2 << " 1.5\n";
    }
    out << COINS << "\n";
    for (int i = 0; i < COINS; ++i) {
        out << (i % 100) * 2 << " " << (i / 100) * 2 + 1 << " 1.5\n";
    }
    out << CUBES << "\n";
    for (int i = 0; i < CUBES; ++i) {
        out << (i % 100) * 2 << " " << (i / 100) * 2 << " " << -(i % 3) * 2 << "\n";
    }
    out << "Collect every die on this very large stage and find the finish before time runs out\n";
}

void readPoints(std::istream& in, int count, float& sum)
{
    for (int i = 0; i < count; ++i) {
        float x, y, z;
        in >> x >> y >> z;
        sum += x + y + z;
    }
}

void BM_BareTokenLoop(benchmark::State& state)
{
    for (auto _ : state) {
        std::ifstream in(stagePath);
        std::string face, sky, word;
        float sum = 0, radius, limit;
        int count;
        in >> face >> sky >> radius >> limit;
        readPoints(in, 2, sum);
        for (int list = 0; list < 3; ++list) {
            in >> count;
            readPoints(in, count, sum);
        }
        size_t words = 0;
        while (in >> word) {
            words += word.size();
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(words);
    }
}

void BM_ReadStageFile(benchmark::State& state)
{
    size_t cubes = 0;
    for (auto _ : state) {
        std::ifstream in(stagePath);
        StageFile stage;
        if (!readStageFile(in, stagePath, stage)) {
            state.SkipWithError("stage did not read completely");
            return;
        }
        cubes = stage.cubes.size();
        benchmark::DoNotOptimize(stage);
    }
    state.counters["cubes"] = static_cast<double>(cubes);
}

BENCHMARK(BM_BareTokenLoop)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadStageFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Keeps the median real time of each benchmark for the closing ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
    }
    std::map<std::string, double> medians;
};

} // namespace

int main(int argc, char** argv)
{
    stagePath = (std::filesystem::temp_directory_path() / ("tumbrix-bench-stage-" + std::to_string(::getpid()) + ".txt"))
                    .string();
    writeStage(stagePath);
    std::printf("stage: %d cubes, %d dice, %d coins, %ju bytes\n", CUBES, DICE, COINS,
                static_cast<std::uintmax_t>(std::filesystem::file_size(stagePath)));

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove(stagePath);

    const double bare = reporter.medians["BM_BareTokenLoop"];
    const double game = reporter.medians["BM_ReadStageFile"];
    if (bare > 0 && game > 0) {
        std::printf("median: stage reader %.3f ms, bare token loop %.3f ms, ratio %.2fx (target at most 1.5x)\n",
                    game, bare, game / bare);
    }
    return 0;
}
