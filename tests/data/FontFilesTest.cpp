#include "DataFiles.h"

#include "media/ofTrueTypeFont.h"
#include "support/TestSupport.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace datafiles;

namespace {

constexpr int DPI = 96;                  // the resolution the game renders its glyphs at
constexpr int FIRST_GLYPH = 33;          // the game keeps glyphs for codes 33 to 127
constexpr int LAST_PRINTABLE = 126;
// The info screen's panel is 660 pixels wide and its texts start 20 pixels in.
constexpr float INFO_TEXT_WIDTH = 620.0f;

class Face {
public:
    Face(const std::string& name, int size)
    {
        ok = FT_Init_FreeType(&library) == 0
             && FT_New_Face(library, (dataDir() / name).c_str(), 0, &face) == 0
             && FT_Set_Char_Size(face, size * 64, size * 64, DPI, DPI) == 0;
    }
    ~Face()
    {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;

    // Renders the glyph of a character code as the game does; its advance in whole
    // pixels, or -1 when the font has no such glyph or FreeType fails.
    int render(int code, int* bitmapWidth = nullptr)
    {
        FT_UInt index = FT_Get_Char_Index(face, code);
        if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0
            || FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            return -1;
        }
        if (bitmapWidth != nullptr) {
            *bitmapWidth = static_cast<int>(face->glyph->bitmap.width);
        }
        return static_cast<int>(face->glyph->advance.x >> 6);
    }

    bool ok = false;

private:
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

// The fenced blocks of docs/credits.md, each as its lines.
std::vector<std::vector<std::string>> creditBlocks()
{
    std::ifstream in(testsupport::sourceDir() / "docs" / "credits.md");
    std::vector<std::vector<std::string>> blocks;
    bool inside = false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("```", 0) == 0) {
            inside = !inside;
            if (inside) {
                blocks.emplace_back();
            }
        } else if (inside) {
            blocks.back().push_back(line);
        }
    }
    return blocks;
}

} // namespace

TEST(FontFiles, BothFacesRenderEveryCharacterTheGameDraws)
{
    for (const char* name : {"comic_reg.ttf", "comic_italic.ttf"}) {
        for (int size : {10, 14, 24, 38}) {
            Face face(name, size);
            ASSERT_TRUE(face.ok) << name;
            for (int code = FIRST_GLYPH; code <= LAST_PRINTABLE; ++code) {
                int width = -1;
                EXPECT_GT(face.render(code, &width), 0) << name << " size " << size << " code " << code;
                EXPECT_GT(width, 0) << name << " size " << size << " code " << code;
            }
        }
    }
}

TEST(FontFiles, LicenceTravelsWithTheFonts)
{
    std::string licence = readBytes(dataDir() / "comic_neue_licence.txt");
    EXPECT_NE(licence.find("SIL OPEN FONT LICENSE Version 1.1"), std::string::npos);
    EXPECT_NE(licence.find("Craig Rozynski"), std::string::npos);
    EXPECT_NE(licence.find("comic_reg.ttf"), std::string::npos);
}

TEST(Credits, TwoAuthorLinesAndFifteenSoundLinesFitTheInfoScreen)
{
    auto blocks = creditBlocks();
    ASSERT_EQ(blocks.size(), 2u) << "docs/credits.md: one block of author lines, one of sound lines";
    EXPECT_EQ(blocks[0].size(), 2u);
    EXPECT_EQ(blocks[1].size(), 15u);
    // Measured with the fonts the info screen draws them in.
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::WorkingDir cwd(testsupport::sourceDir());
    ofTrueTypeFont italic;
    ofTrueTypeFont small;
    italic.loadFont("comic_italic.ttf", 14);
    small.loadFont("comic_reg.ttf", 10);
    ASSERT_TRUE(italic.bLoadedOk && small.bLoadedOk);
    for (size_t b = 0; b < blocks.size(); ++b) {
        for (const std::string& line : blocks[b]) {
            // Only the printable ASCII characters have glyphs in the game.
            for (unsigned char c : line) {
                EXPECT_TRUE(c >= 32 && c <= LAST_PRINTABLE) << "'" << line << "' holds code " << int(c);
            }
            float width = b == 0 ? italic.stringWidth(line) : small.stringWidth(line);
            EXPECT_LE(width, INFO_TEXT_WIDTH) << "'" << line << "'";
        }
    }
}
