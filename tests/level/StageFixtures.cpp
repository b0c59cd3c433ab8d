#include "StageFixtures.h"

#include <FreeImage.h>

#include <cstring>
#include <vector>

namespace levelfixtures {

namespace {

void putU16(std::string& out, std::uint16_t v)
{
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>(v >> 8);
}

void putU32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xff);
    }
}

void putFloat(std::string& out, float f)
{
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    putU32(out, bits);
}

std::string chunk(std::uint16_t id, const std::string& payload)
{
    std::string out;
    putU16(out, id);
    putU32(out, static_cast<std::uint32_t>(6 + payload.size()));
    return out + payload;
}

std::string name(const char* text)
{
    return std::string(text) + '\0';
}

} // namespace

void writePicture(const std::string& path, int w, int h, int bpp, Rgba colour)
{
    FreeImage_Initialise(FALSE);
    FIBITMAP* bitmap = FreeImage_Allocate(w, h, bpp);
    for (int y = 0; y < h; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < w; ++x) {
            if (bpp == 8) {
                row[x] = colour.r;
                continue;
            }
            BYTE* p = row + x * (bpp / 8);
            p[FI_RGBA_RED] = colour.r;
            p[FI_RGBA_GREEN] = colour.g;
            p[FI_RGBA_BLUE] = colour.b;
            if (bpp == 32) {
                p[FI_RGBA_ALPHA] = colour.a;
            }
        }
    }
    FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0);
    FreeImage_Unload(bitmap);
}

std::string squareModel3ds(float halfEdge)
{
    const float e = halfEdge;
    // File coordinates (x, y, z) become (x, z, -y): a square at file y = 0 lies in the
    // world x/y plane. Two triangles per side, each side with its own vertices.
    const float vertices[8][3] = {{-e, 0, -e}, {e, 0, -e}, {e, 0, e}, {-e, 0, e},
                                  {-e, 0, -e}, {e, 0, -e}, {e, 0, e}, {-e, 0, e}};
    const std::uint16_t faces[4][3] = {{0, 1, 2}, {0, 2, 3}, {4, 6, 5}, {4, 7, 6}};

    std::string vertexList;
    putU16(vertexList, 8);
    for (const auto& v : vertices) {
        for (float c : v) {
            putFloat(vertexList, c);
        }
    }
    std::string group = name("red");
    putU16(group, 4);
    for (std::uint16_t f = 0; f < 4; ++f) {
        putU16(group, f);
    }
    std::string faceList;
    putU16(faceList, 4);
    for (const auto& f : faces) {
        putU16(faceList, f[0]);
        putU16(faceList, f[1]);
        putU16(faceList, f[2]);
        putU16(faceList, 0);
    }
    faceList += chunk(0x4130, group);

    const std::string mesh = chunk(0x4100, chunk(0x4110, vertexList) + chunk(0x4120, faceList));
    const std::string object = chunk(0x4000, name("square") + mesh);
    const std::string red = chunk(0x0011, std::string("\xff\x00\x00", 3));
    const std::string material =
        chunk(0xAFFF, chunk(0xA000, name("red")) + chunk(0xA010, red) + chunk(0xA020, red));
    return chunk(0x4D4D, chunk(0x3D3D, material + object));
}

StageDir::StageDir() : cwd(dir.path()) {}

void StageDir::stage(int n, const std::string& text) const
{
    dataFile("levels/level" + std::to_string(n) + ".txt", text);
}

void StageDir::texture(const std::string& name, int w, int h, int bpp, Rgba colour) const
{
    dataFile("levels/levelTextures/.keep", "");
    writePicture((dir.path() / "data/levels/levelTextures" / name).string(), w, h, bpp, colour);
}

void StageDir::dataFile(const std::string& relative, const std::string& contents) const
{
    dir.write("data/" + relative, contents);
}

void StageDir::models(float dieHalfEdge, float coinHalfEdge, float targetHalfEdge) const
{
    dataFile("die/die.3ds", squareModel3ds(dieHalfEdge));
    dataFile("coin/coin.3ds", squareModel3ds(coinHalfEdge));
    dataFile("target/target.3ds", squareModel3ds(targetHalfEdge));
}

std::string exampleStage(const char* separator)
{
    static const char* const tokens[] = {"face3.png", "sky3.png", "24", "120", "0", "0", "1.35", "0",
                                         "4", "1.5", "1", "0", "2", "1.5", "0", "3", "0", "0",
                                         "0", "0", "2", "0", "0", "4", "0", "go", "to", "the", "finish"};
    std::string text;
    for (const char* token : tokens) {
        text += token;
        text += separator;
    }
    return text;
}

} // namespace levelfixtures
