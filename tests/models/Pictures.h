#pragma once
// Writes small uncompressed TGA pictures for the texture tests, rows given top first.

#include <cstdint>
#include <string>
#include <vector>

namespace pictures {

// `pixels` holds width x height pixels of bitsPerPixel / 8 bytes each (grey, or
// r, g, b[, a]), the top row first.
inline std::string tga(int width, int height, int bitsPerPixel, const std::vector<uint8_t>& pixels)
{
    const int bytes = bitsPerPixel / 8;
    std::string out(18, '\0');
    out[2] = char(bytes == 1 ? 3 : 2);   // uncompressed grey or true colour
    out[12] = char(width & 0xFF);
    out[13] = char(width >> 8);
    out[14] = char(height & 0xFF);
    out[15] = char(height >> 8);
    out[16] = char(bitsPerPixel);
    out[17] = char(0x20 | (bytes == 4 ? 8 : 0));   // top-left origin, alpha bits
    for (std::size_t i = 0; i < pixels.size(); i += std::size_t(bytes)) {
        if (bytes == 1) {
            out.push_back(char(pixels[i]));
            continue;
        }
        out.push_back(char(pixels[i + 2]));   // stored blue, green, red
        out.push_back(char(pixels[i + 1]));
        out.push_back(char(pixels[i]));
        if (bytes == 4) {
            out.push_back(char(pixels[i + 3]));
        }
    }
    return out;
}

// A picture whose upper half is `top` and lower half `bottom` (r, g, b).
inline std::string halves(int size, std::vector<uint8_t> top, std::vector<uint8_t> bottom)
{
    std::vector<uint8_t> pixels;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::vector<uint8_t>& c = y < size / 2 ? top : bottom;
            pixels.insert(pixels.end(), c.begin(), c.end());
        }
    }
    return tga(size, size, 24, pixels);
}

} // namespace pictures
