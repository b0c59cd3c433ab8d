#include "PictureFiles.h"

#include "media/ofImage.h"

#include <fstream>
#include <iterator>

namespace pictures {

namespace {

// FreeImage counts scan lines from the bottom.
int lineOf(FIBITMAP* bmp, int y)
{
    return static_cast<int>(FreeImage_GetHeight(bmp)) - 1 - y;
}

void makeSureLibraryRuns()
{
    ofImage starter;   // the first image starts FreeImage
}

} // namespace

Rgba pattern(int x, int y)
{
    return {static_cast<unsigned char>(10 + 40 * x), static_cast<unsigned char>(200 - 30 * y),
            static_cast<unsigned char>(7 * x + 11 * y + 1), static_cast<unsigned char>(255 - 20 * x - 3 * y)};
}

FIBITMAP* colour(int w, int h, int bits, const ColourAt& at)
{
    makeSureLibraryRuns();
    FIBITMAP* bmp = FreeImage_Allocate(w, h, bits);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Rgba c = at(x, y);
            RGBQUAD q{c[2], c[1], c[0], c[3]};
            FreeImage_SetPixelColor(bmp, x, lineOf(bmp, y), &q);
        }
    }
    return bmp;
}

FIBITMAP* grey(int w, int h, const std::function<unsigned char(int x, int y)>& at)
{
    makeSureLibraryRuns();
    FIBITMAP* bmp = FreeImage_Allocate(w, h, 8);
    RGBQUAD* pal = FreeImage_GetPalette(bmp);
    for (int i = 0; i < 256; ++i) {
        pal[i].rgbRed = pal[i].rgbGreen = pal[i].rgbBlue = static_cast<BYTE>(i);
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            BYTE v = at(x, y);
            FreeImage_SetPixelIndex(bmp, x, lineOf(bmp, y), &v);
        }
    }
    return bmp;
}

FIBITMAP* palette(int w, int h, int bits, const std::vector<Rgba>& entries,
                  const std::function<int(int x, int y)>& index)
{
    makeSureLibraryRuns();
    FIBITMAP* bmp = FreeImage_Allocate(w, h, bits);
    RGBQUAD* pal = FreeImage_GetPalette(bmp);
    for (size_t i = 0; i < entries.size(); ++i) {
        pal[i] = RGBQUAD{entries[i][2], entries[i][1], entries[i][0], 0};
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            BYTE v = static_cast<BYTE>(index(x, y));
            FreeImage_SetPixelIndex(bmp, x, lineOf(bmp, y), &v);
        }
    }
    return bmp;
}

std::filesystem::path save(FIBITMAP* bmp, FREE_IMAGE_FORMAT format, const std::filesystem::path& file)
{
    std::filesystem::create_directories(file.parent_path());
    FreeImage_Save(format, bmp, file.c_str(), 0);
    FreeImage_Unload(bmp);
    return file;
}

Rgba pixelAt(const unsigned char* pixels, int w, int bytesPerPixel, int x, int y)
{
    const unsigned char* p = pixels + (static_cast<size_t>(y) * w + x) * bytesPerPixel;
    Rgba c{0, 0, 0, 255};
    for (int i = 0; i < bytesPerPixel; ++i) {
        c[i] = p[i];
    }
    return c;
}

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::filesystem::path& file, const std::string& bytes)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

} // namespace pictures
