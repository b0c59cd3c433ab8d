#include "BenchData.h"

#include <cmath>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Files the game writes; the benchmark folder keeps its own.
bool isWrittenByGame(const fs::path& name)
{
    return name == "DoNotReadMe.txt" || name == "hs.txt";
}

} // namespace

BenchData::BenchData(const fs::path& sourceData)
{
    folder = fs::temp_directory_path() / ("tumbrix-bench-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    const fs::path data = folder / "data";
    fs::create_directories(data / "levels");
    for (const fs::directory_entry& entry : fs::directory_iterator(sourceData)) {
        const fs::path name = entry.path().filename();
        if (name == "levels" || isWrittenByGame(name)) {
            continue;
        }
        fs::create_symlink(fs::absolute(entry.path()), data / name);
    }
    const fs::path levels = sourceData / "levels";
    if (fs::is_directory(levels)) {
        for (const fs::directory_entry& entry : fs::directory_iterator(levels)) {
            fs::create_symlink(fs::absolute(entry.path()), data / "levels" / entry.path().filename());
        }
    }
}

BenchData::~BenchData()
{
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

int BenchData::shippedStages() const
{
    int count = 0;
    while (fs::exists(folder / "data" / "levels" / ("level" + std::to_string(count + 1) + ".txt"))) {
        ++count;
    }
    return count;
}

void BenchData::writeGeneratedStage(int number, int cubes, const std::string& faceTexture,
                                    const std::string& skyTexture) const
{
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(cubes))));
    const int half = side / 2;
    const int collectibles = std::max(3, cubes / 100);
    auto cellX = [&](int cell) { return 2 * (cell % side - half); };
    auto cellY = [&](int cell) { return 2 * (cell / side - half); };

    std::ofstream out(folder / "data" / "levels" / ("level" + std::to_string(number) + ".txt"));
    out << faceTexture << "\n" << skyTexture << "\n";
    out << side * 1.5 + 10 << "\n999\n";
    out << "0 0 1.35\n";   // the middle cell, (half, half), lies at the origin
    out << cellX(cubes - 1) << " " << cellY(cubes - 1) << " 1.5\n";
    const int stride = std::max(1, cubes / collectibles);
    out << collectibles << "\n";
    for (int i = 0; i < collectibles; ++i) {
        const int cell = (i * stride + stride / 3) % cubes;
        out << cellX(cell) << " " << cellY(cell) << " 1.5\n";
    }
    out << collectibles << "\n";
    for (int i = 0; i < collectibles; ++i) {
        const int cell = (i * stride + 2 * stride / 3) % cubes;
        out << cellX(cell) << " " << cellY(cell) << " 1.5\n";
    }
    out << cubes << "\n";
    for (int cell = 0; cell < cubes; ++cell) {
        out << cellX(cell) << " " << cellY(cell) << " 0\n";
    }
    out << "a generated stage of " << cubes << " cubes to measure how frames grow with size\n";
}

void BenchData::writeSaveFile(int stage, int totalScore) const
{
    std::ofstream(folder / "data" / "DoNotReadMe.txt") << stage << " " << totalScore;
}
