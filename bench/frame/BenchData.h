#pragma once
// A private working folder for the benchmarks. Its data/ links every shipped file of the
// repository's data folder, and data/levels/ links the shipped stages and their textures
// beside generated ones, so the game reads both exactly as it reads its own. The save and
// highscore files are the folder's own, so nothing the game writes reaches the repository.

#include <filesystem>
#include <string>

class BenchData {
public:
    // Links the contents of `sourceData` (the repository's data folder).
    explicit BenchData(const std::filesystem::path& sourceData);
    ~BenchData();
    BenchData(const BenchData&) = delete;
    BenchData& operator=(const BenchData&) = delete;

    const std::filesystem::path& root() const { return folder; }
    // Stage files level1.txt, level2.txt ... that exist without a gap.
    int shippedStages() const;

    // Writes data/levels/level<number>.txt: `cubes` cubes in one square slab around the
    // origin, one die and one coin per hundred cubes (at least three of each) spread over
    // the slab, the ball in the middle, the given textures (names below levelTextures/).
    // At least 16 cubes, so that the middle of the slab is a cube.
    void writeGeneratedStage(int number, int cubes, const std::string& faceTexture = "face_blue_tiles.png",
                             const std::string& skyTexture = "sky_nebula.png") const;
    // The save file the game reads at setup: the stage to continue with and the score.
    void writeSaveFile(int stage, int totalScore) const;

private:
    std::filesystem::path folder;
};
