#pragma once
// Writes small test pictures with FreeImage, so every fixture is made by the test that
// reads it. Coordinates are picture coordinates: (0, 0) is the top-left pixel.

#include <FreeImage.h>
#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pictures {

using Rgba = std::array<unsigned char, 4>;
using ColourAt = std::function<Rgba(int x, int y)>;

// A colour that differs in every channel from pixel to pixel, so swapped channels,
// mirrored rows or shifted columns all show.
Rgba pattern(int x, int y);

// 24-bit (alpha ignored) or 32-bit picture.
FIBITMAP* colour(int w, int h, int bits, const ColourAt& at);
// 8-bit picture with a black-to-white ramp palette.
FIBITMAP* grey(int w, int h, const std::function<unsigned char(int x, int y)>& at);
// 1-, 4- or 8-bit picture with the given palette; index(x, y) picks the entry.
FIBITMAP* palette(int w, int h, int bits, const std::vector<Rgba>& entries,
                  const std::function<int(int x, int y)>& index);

// Saves and frees the bitmap; returns the file's path.
std::filesystem::path save(FIBITMAP* bmp, FREE_IMAGE_FORMAT format, const std::filesystem::path& file);

// The RGB(A) bytes of pixel (x, y) of a buffer with rows top to bottom.
Rgba pixelAt(const unsigned char* pixels, int w, int bytesPerPixel, int x, int y);

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);

} // namespace pictures
