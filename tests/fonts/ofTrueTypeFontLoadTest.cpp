#include "FontTestSupport.h"
#include "media/ofTrueTypeFont.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <vector>

namespace {

const int GLYPH_A = 'A' - 33;
const int GLYPH_H = 'H' - 33;

std::vector<GLuint> names(const ofTrueTypeFont& font)
{
    return std::vector<GLuint>(font.texNames, font.texNames + font.nCharacters);
}

std::string fileHead(const std::string& path, size_t bytes)
{
    std::ifstream in(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return all.substr(0, bytes);
}

unsigned readU16(const std::string& bytes, size_t at)
{
    return (static_cast<unsigned char>(bytes[at]) << 8) | static_cast<unsigned char>(bytes[at + 1]);
}

unsigned readU32(const std::string& bytes, size_t at)
{
    return (readU16(bytes, at) << 16) | readU16(bytes, at + 2);
}

// Offset of a table in a TrueType file, 0 when absent.
size_t tableOffset(const std::string& font, const char* tag)
{
    unsigned tables = readU16(font, 4);
    for (unsigned i = 0; i < tables; ++i) {
        if (font.compare(12 + 16 * i, 4, tag) == 0) {
            return readU32(font, 12 + 16 * i + 8);
        }
    }
    return 0;
}

class FontLoad : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testsupport::ensureGlContext()); }
};

} // namespace

TEST_F(FontLoad, Size24GivesTheLineHeightAnd95GlyphTextures)
{
    ofTrueTypeFont font;
    font.loadFont(fonttest::dejavuSans(), 24);
    ASSERT_TRUE(font.bLoadedOk);
    EXPECT_TRUE(font.bAntiAliased);
    EXPECT_FALSE(font.bFullCharacterSet);
    EXPECT_FALSE(font.bMakeContours);
    EXPECT_EQ(font.fontSize, 24);
    EXPECT_FLOAT_EQ(font.getLineHeight(), 34.32f);
    ASSERT_EQ(font.nCharacters, 95);
    std::set<GLuint> distinct;
    for (GLuint name : names(font)) {
        EXPECT_TRUE(glIsTexture(name)) << name;
        distinct.insert(name);
    }
    EXPECT_EQ(distinct.size(), 95u);
}

TEST_F(FontLoad, LineHeightIsFontSizeTimes143ForTheGameSizes)
{
    const std::pair<int, float> cases[] = {{38, 54.34f}, {14, 20.02f}, {10, 14.3f}};
    for (auto [size, expected] : cases) {
        ofTrueTypeFont font;
        font.loadFont(fonttest::dejavuSans(), size);
        ASSERT_TRUE(font.bLoadedOk);
        EXPECT_FLOAT_EQ(font.getLineHeight(), expected) << size;
    }
}

TEST_F(FontLoad, GlyphsAreSizedAt96DotsPerInch)
{
    // 24 points at 96 dpi are 32 pixels per em; DejaVu's capitals stand 0.73 em tall.
    ofTrueTypeFont font;
    font.loadFont(fonttest::dejavuSans(), 24);
    ASSERT_TRUE(font.bLoadedOk);
    const charProps& h = font.cps[GLYPH_H];
    EXPECT_EQ(h.value, GLYPH_H);
    EXPECT_GE(h.topExtent, 22);
    EXPECT_LE(h.topExtent, 25);
    EXPECT_EQ(h.height, h.topExtent);   // sits on the baseline
    EXPECT_GT(h.setWidth, h.width);
    EXPECT_GE(h.leftExtent, 1);
}

TEST_F(FontLoad, GlyphTexturesArePowersOfTwoWithAThreeTexelMargin)
{
    ofTrueTypeFont font;
    font.loadFont(fonttest::dejavuSans(), 38);
    ASSERT_TRUE(font.bLoadedOk);
    for (int i : {GLYPH_A, GLYPH_H, int('p' - 33), int('.' - 33)}) {
        const charProps& cp = font.cps[i];
        int w = fonttest::textureWidth(font.texNames[i]);
        int h = fonttest::textureHeight(font.texNames[i]);
        EXPECT_GE(w, cp.width + 6) << i;
        EXPECT_LT(w / 2, cp.width + 6) << i;
        EXPECT_EQ(w & (w - 1), 0) << i;
        EXPECT_GE(h, cp.topExtent + 6) << i;
        EXPECT_LT(h / 2, cp.topExtent + 6) << i;
        EXPECT_EQ(h & (h - 1), 0) << i;
        EXPECT_FLOAT_EQ(cp.tTex, (cp.width + 4) / float(w)) << i;
        EXPECT_FLOAT_EQ(cp.vTex, (cp.topExtent + 4) / float(h)) << i;
        EXPECT_FLOAT_EQ(cp.xOff, 1.0f / w) << i;
        EXPECT_FLOAT_EQ(cp.yOff, 1.0f / h) << i;

        // Coverage lies inside the margin: the outer three rows and columns stay clear.
        std::vector<unsigned char> alpha = fonttest::textureAlpha(font.texNames[i]);
        int inked = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                bool inside = x >= 3 && x < 3 + cp.width && y >= 3 && y < 3 + cp.topExtent;
                if (!inside) {
                    EXPECT_EQ(alpha[y * w + x], 0) << "glyph " << i << " texel " << x << "," << y;
                }
                inked += alpha[y * w + x] > 0 ? 1 : 0;
            }
        }
        EXPECT_GT(inked, 0) << i;
    }
}

TEST_F(FontLoad, EmptyBitmapGlyphStillGetsAnEightByEightTexture)
{
    // With 256 glyphs, glyph 255 is character 32 (the space) and glyph 127 the no-break space.
    ofTrueTypeFont font;
    font.loadFont(fonttest::dejavuSans(), 24, true, true, false);
    ASSERT_TRUE(font.bLoadedOk);
    ASSERT_EQ(font.nCharacters, 256);
    for (int i : {127, 255}) {
        EXPECT_EQ(font.cps[i].width, 0) << i;
        EXPECT_EQ(font.cps[i].topExtent, 0) << i;
        EXPECT_TRUE(glIsTexture(font.texNames[i])) << i;
        EXPECT_EQ(fonttest::textureWidth(font.texNames[i]), 8) << i;
        EXPECT_EQ(fonttest::textureHeight(font.texNames[i]), 8) << i;
        EXPECT_FLOAT_EQ(font.cps[i].tTex, 0.5f) << i;
    }
    EXPECT_GT(font.cps[255].setWidth, 0);   // the space glyph still advances
}

TEST_F(FontLoad, MonochromeGlyphsAreOneBitWithNearestFiltering)
{
    ofTrueTypeFont mono;
    mono.loadFont(fonttest::dejavuSans(), 24, false, false, false);
    ofTrueTypeFont smooth;
    smooth.loadFont(fonttest::dejavuSans(), 24);
    ASSERT_TRUE(mono.bLoadedOk);
    ASSERT_TRUE(smooth.bLoadedOk);
    EXPECT_FALSE(mono.bAntiAliased);

    std::vector<unsigned char> monoAlpha = fonttest::textureAlpha(mono.texNames[GLYPH_A]);
    EXPECT_TRUE(std::all_of(monoAlpha.begin(), monoAlpha.end(), [](unsigned char a) { return a == 0 || a == 255; }));
    EXPECT_GT(std::count(monoAlpha.begin(), monoAlpha.end(), 255), 20);
    std::vector<unsigned char> smoothAlpha = fonttest::textureAlpha(smooth.texNames[GLYPH_A]);
    EXPECT_TRUE(std::any_of(smoothAlpha.begin(), smoothAlpha.end(), [](unsigned char a) { return a > 0 && a < 255; }));

    GLint filter = 0;
    glBindTexture(GL_TEXTURE_2D, mono.texNames[GLYPH_A]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, smooth.texNames[GLYPH_A]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
}

TEST_F(FontLoad, MonochromeTextSitsWhereAntiAliasedTextSits)
{
    ofTrueTypeFont mono;
    mono.loadFont(fonttest::dejavuSans(), 24, false, false, false);
    ofTrueTypeFont smooth;
    smooth.loadFont(fonttest::dejavuSans(), 24);
    fonttest::InkBox monoInk = fonttest::render([&] { mono.drawString("HIH", 40, 100); }).inkBox(128);
    fonttest::InkBox smoothInk = fonttest::render([&] { smooth.drawString("HIH", 40, 100); }).inkBox(128);
    ASSERT_FALSE(monoInk.empty);
    ASSERT_FALSE(smoothInk.empty);
    EXPECT_NEAR(monoInk.left, smoothInk.left, 1);
    EXPECT_NEAR(monoInk.top, smoothInk.top, 1);
    EXPECT_NEAR(monoInk.right, smoothInk.right, 1);
    EXPECT_NEAR(monoInk.bottom, smoothInk.bottom, 1);
}

TEST_F(FontLoad, ReloadReleasesThePreviousGlyphs)
{
    ofTrueTypeFont font;
    font.loadFont(fonttest::dejavuSans(), 24);
    ASSERT_TRUE(font.bLoadedOk);
    std::vector<GLuint> first = names(font);
    font.loadFont(fonttest::dejavuSerif(), 10, true, true, false);
    ASSERT_TRUE(font.bLoadedOk);
    EXPECT_EQ(font.nCharacters, 256);
    EXPECT_FLOAT_EQ(font.getLineHeight(), 14.3f);
    std::vector<GLuint> second = names(font);
    // An old name is either handed out again by the driver or no longer a texture.
    for (GLuint name : first) {
        bool reused = std::find(second.begin(), second.end(), name) != second.end();
        EXPECT_TRUE(reused || !glIsTexture(name)) << name;
    }
}

TEST_F(FontLoad, DestructorDeletesEveryGlyphTexture)
{
    std::vector<GLuint> used;
    {
        ofTrueTypeFont font;
        font.loadFont(fonttest::dejavuSans(), 14);
        ASSERT_TRUE(font.bLoadedOk);
        used = names(font);
    }
    for (GLuint name : used) {
        EXPECT_FALSE(glIsTexture(name)) << name;
    }
}

TEST_F(FontLoad, MissingJunkOrTruncatedFileLeavesTheFontUnloadedAndSilent)
{
    testsupport::ScratchDir dir;
    std::string junk = dir.write("junk.ttf", std::string(4000, 'x') + "not a font").string();
    std::string header = dir.write("header.ttf", fileHead(fonttest::dejavuSans(), 12)).string();
    std::string truncated = dir.write("truncated.ttf", fileHead(fonttest::dejavuSans(), 300)).string();
    for (const std::string& path : {dir.path().string() + "/missing.ttf", junk, header, truncated}) {
        ofTrueTypeFont font;
        testsupport::StdoutCapture capture;
        font.loadFont(path, 24);
        EXPECT_EQ(capture.finish(), "") << path;
        EXPECT_FALSE(font.bLoadedOk) << path;
        EXPECT_EQ(font.cps, nullptr) << path;
        EXPECT_EQ(font.texNames, nullptr) << path;
    }
}

TEST_F(FontLoad, RelativeNamesAreLookedUpBelowData)
{
    testsupport::ScratchDir dir;
    dir.write("data/fonts/sans.ttf", fileHead(fonttest::dejavuSans(), 1 << 20));
    testsupport::WorkingDir cwd(dir.path());
    ofTrueTypeFont font;
    font.loadFont("fonts/sans.ttf", 10);
    EXPECT_TRUE(font.bLoadedOk);
}

TEST_F(FontLoad, FailedReloadReleasesTheOldGlyphsAndLeavesNothingLoaded)
{
    ofTrueTypeFont font;
    font.loadFont(fonttest::dejavuSans(), 24);
    ASSERT_TRUE(font.bLoadedOk);
    std::vector<GLuint> old = names(font);
    font.loadFont("/nonexistent/font.ttf", 24);
    EXPECT_FALSE(font.bLoadedOk);
    for (GLuint name : old) {
        EXPECT_FALSE(glIsTexture(name)) << name;
    }
    testsupport::StdoutCapture capture;
    font.drawString("Stage 1 cleared", 10, 10);
    EXPECT_EQ(capture.finish().rfind("OF_ERROR: Error : font not allocated -- line ", 0), 0u);
}

TEST_F(FontLoad, GiantSizeLeavesGlyphsBlankInsteadOfHugeTextures)
{
    // 1500 points are 2000 pixels per em: every letter would need a texture past any sane limit.
    ofTrueTypeFont font;
    testsupport::StdoutCapture capture;
    font.loadFont(fonttest::dejavuSans(), 1500);
    std::string out = capture.finish();
    ASSERT_TRUE(font.bLoadedOk);
    EXPECT_NE(out.find("OF_WARNING: ofTrueTypeFont: ["), std::string::npos) << out;
    EXPECT_NE(out.find("too large for a texture"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_EQ(font.cps[GLYPH_H].width, 0);
    EXPECT_GT(font.cps[GLYPH_H].setWidth, 1000);   // the advance is still known
    for (int i = 0; i < font.nCharacters; ++i) {
        EXPECT_LE(fonttest::textureWidth(font.texNames[i]), 1024) << i;
        EXPECT_LE(fonttest::textureHeight(font.texNames[i]), 1024) << i;
    }
}

// Large text within the driver's texture limit is drawn, not left blank: at 600 points a
// capital is about 600 pixels tall, past the 512 texels glyphs were once held to.
TEST_F(FontLoad, LargeTextWithinTheTextureLimitIsNotLeftBlank)
{
    GLint driverMax = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &driverMax);
    ASSERT_GE(driverMax, 1024);
    ofTrueTypeFont font;
    testsupport::StdoutCapture capture;
    font.loadFont(fonttest::dejavuSans(), 600);
    const std::string out = capture.finish();
    ASSERT_TRUE(font.bLoadedOk);
    EXPECT_EQ(out.find("too large for a texture"), std::string::npos) << out;
    const charProps& h = font.cps[GLYPH_H];
    EXPECT_GT(h.topExtent, 512);
    EXPECT_GT(h.width, 400);
    EXPECT_EQ(fonttest::textureHeight(font.texNames[GLYPH_H]), 1024);
}

TEST_F(FontLoad, ContourRequestsAreRefusedWithTheirMessages)
{
    ofTrueTypeFont font;
    testsupport::StdoutCapture capture;
    font.loadFont(fonttest::dejavuSans(), 14, true, false, true);
    EXPECT_TRUE(font.bLoadedOk);
    EXPECT_FALSE(font.bMakeContours);
    EXPECT_TRUE(font.charOutlines.empty());
    EXPECT_TRUE(font.getCharacterAsPoints('A').contours.empty());
    font.drawStringAsShapes("A", 0, 0);
    std::string out = capture.finish();
    EXPECT_NE(out.find("OF_WARNING: ofTrueTypeFont: [" + fonttest::dejavuSans() + "] outlines are not built"),
              std::string::npos) << out;
    EXPECT_NE(out.find("OF_ERROR: getCharacterAsPoints: contours not created,  call loadFont with makeContours set to true\n"),
              std::string::npos) << out;
    EXPECT_NE(out.find("OF_ERROR: Error : contours not created for this font - call loadFont with makeContours set to true\n"),
              std::string::npos) << out;
}

TEST_F(FontLoad, OneBitEmbeddedBitmapsAreReadBitByBit)
{
    // A tiny font with a 19 pixel strike of one-bit bitmaps, chosen at size 14 (18.7 px at 96 dpi)
    // even though grey glyphs are asked for. Its "H" is two 2-pixel stems and a bar, 9 x 13.
    std::string path = (testsupport::sourceDir() / "fuzz/corpus/font_loader/tiny-bitmap-strike.ttf").string();
    ofTrueTypeFont font;
    font.loadFont(path, 14);
    ASSERT_TRUE(font.bLoadedOk);
    const charProps& h = font.cps[GLYPH_H];
    ASSERT_EQ(h.width, 9);
    ASSERT_EQ(h.topExtent, 13);
    std::vector<unsigned char> alpha = fonttest::textureAlpha(font.texNames[GLYPH_H]);
    int w = fonttest::textureWidth(font.texNames[GLYPH_H]);
    auto at = [&](int x, int y) { return alpha[(y + 3) * w + (x + 3)]; };
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 9; ++x) {
            bool set = x < 2 || x > 6 || y == 6;
            EXPECT_EQ(at(x, y), set ? 255 : 0) << x << "," << y;
        }
    }
    EXPECT_EQ(std::count(alpha.begin(), alpha.end(), 255), 6 * 4 + 9 + 6 * 4);

    // The same strike drawn: ink stays inside the bounding box.
    ofRectangle box = font.getStringBoundingBox("HAop", 30, 40);
    fonttest::InkBox ink = fonttest::render([&] { font.drawString("HAop", 30, 40); }).inkBox();
    ASSERT_FALSE(ink.empty);
    EXPECT_GE(ink.left, box.x);
    EXPECT_GE(ink.top, box.y);
    EXPECT_LE(ink.right, box.x + box.width);
    EXPECT_LE(ink.bottom, box.y + box.height);
}

TEST_F(FontLoad, AGlyphThatFailsToLoadIsLoggedAndTheRestStillLoad)
{
    // The tiny font's "H" (glyph 3) is made to claim 65536 points: FreeType refuses it.
    std::string font = fileHead((testsupport::sourceDir() / "fuzz/corpus/font_loader/tiny-outlines.ttf").string(), 1 << 16);
    size_t glyf = tableOffset(font, "glyf");
    size_t loca = tableOffset(font, "loca");
    ASSERT_NE(glyf, 0u);
    ASSERT_NE(loca, 0u);
    size_t h = glyf + 2 * readU16(font, loca + 2 * 3);   // short offsets count words
    font[h] = 0;
    font[h + 1] = 1;          // one contour
    font[h + 10] = '\xff';   // ending at point 65535
    font[h + 11] = '\xff';
    testsupport::ScratchDir dir;
    std::string path = dir.write("broken-h.ttf", font).string();

    ofTrueTypeFont broken;
    testsupport::StdoutCapture capture;
    broken.loadFont(path, 24);
    std::string out = capture.finish();
    ASSERT_TRUE(broken.bLoadedOk);
    EXPECT_EQ(out, "OF_ERROR: error with FT_Load_Glyph " + std::to_string(GLYPH_H) + "\n");
    EXPECT_EQ(broken.cps[GLYPH_H].width, 0);
    EXPECT_TRUE(glIsTexture(broken.texNames[GLYPH_H]));
    EXPECT_GT(broken.cps[GLYPH_A].width, 10);
    EXPECT_GT(fonttest::render([&] { broken.drawString("AHA", 30, 40); }).inkCount(), 50);
}
