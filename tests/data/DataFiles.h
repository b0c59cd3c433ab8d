#pragma once
// Shared readings of the game's data folder for the data tests.

#include <filesystem>
#include <string>
#include <vector>

namespace datafiles {

std::filesystem::path dataDir();                        // data/ of the checkout
std::string readBytes(const std::filesystem::path& file);

// The stage files the game can reach: levels/level1.txt, level2.txt, ... up to the first
// number without a file, relative to data/.
std::vector<std::string> stageFiles();
// The textures a stage file names, relative to data/ (face, then sky); empty when unread.
std::vector<std::string> stageTextures(const std::string& stageFile);

// Every file the game opens below data/, relative to it: fonts, sounds, the ball, the
// three models, and each reachable stage file with its two textures. Models' texture maps
// are checked with the models.
std::vector<std::string> filesTheGameOpens();

// A picture as FreeImage reads it, converted to 8-bit RGB rows from the top for measuring.
struct Picture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;                 // as stored in the file
    std::vector<unsigned char> rgb;

    const unsigned char* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    double luminance(int x, int y) const;
};
// False (and a message through the test) when FreeImage cannot read the file.
bool loadPicture(const std::filesystem::path& file, Picture& picture);

// Mean absolute difference, over all channels, between column a and column b (or rows).
double columnDifference(const Picture& p, int a, int b);
double rowDifference(const Picture& p, int a, int b);
// Mean of columnDifference(i, i + 1) over the picture: how much neighbours differ anyway.
double typicalColumnStep(const Picture& p);
double typicalRowStep(const Picture& p);

} // namespace datafiles
