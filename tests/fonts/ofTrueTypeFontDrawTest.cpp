#include "FontTestSupport.h"
#include "media/ofTrueTypeFont.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

const int GLYPH_P = 'p' - 33;

// One DejaVu Sans at size 24 shared by the drawing tests; loading it costs more than drawing.
class FontDraw : public ::testing::Test {
protected:
    static ofTrueTypeFont* font;

    static void SetUpTestSuite()
    {
        if (testsupport::ensureGlContext()) {
            font = new ofTrueTypeFont();
            font->loadFont(fonttest::dejavuSans(), 24);
        }
    }
    static void TearDownTestSuite()
    {
        delete font;
        font = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(font, nullptr) << "no GL context";
        ASSERT_TRUE(font->bLoadedOk);
        font->setLineHeight(34.32f);
    }

    fonttest::InkBox ink(const std::string& s, float x = 40, float y = 60)
    {
        return fonttest::render([&] { font->drawString(s, x, y); }).inkBox();
    }
};

ofTrueTypeFont* FontDraw::font = nullptr;

} // namespace

TEST_F(FontDraw, NewlineReturnsToTheStartXOneLineDown)
{
    fonttest::InkBox one = ink("H");
    fonttest::InkBox two = ink("H\nH");
    fonttest::InkBox three = ink("H\n\nH");
    ASSERT_FALSE(one.empty);
    EXPECT_EQ(two.left, one.left);
    EXPECT_EQ(two.right, one.right);
    EXPECT_EQ(two.top, one.top);
    EXPECT_NEAR(two.bottom - one.bottom, 34.32, 1.0);
    EXPECT_EQ(three.left, one.left);
    EXPECT_EQ(three.right, one.right);
    EXPECT_NEAR(three.bottom - one.bottom, 2 * 34.32, 1.0);

    // A newline after some text goes back to the start as well, by the line height in force.
    font->setLineHeight(50.0f);
    EXPECT_FLOAT_EQ(font->getLineHeight(), 50.0f);
    fonttest::InkBox after = ink("HHH\nH");
    EXPECT_EQ(after.left, one.left);
    EXPECT_EQ(after.bottom - one.bottom, 50);
}

TEST_F(FontDraw, SpaceAdvancesByTheWidthOfTheLetterP)
{
    ofTrueTypeFont full;
    full.loadFont(fonttest::dejavuSans(), 24, true, true, false);
    ASSERT_TRUE(full.bLoadedOk);
    int pWidth = font->cps[GLYPH_P].width;
    int spaceAdvance = full.cps[255].setWidth;   // character 32 in the 256-glyph set
    ASSERT_NE(pWidth, spaceAdvance);             // otherwise this case could not tell them apart

    fonttest::InkBox together = ink("HH");
    fonttest::InkBox spaced = ink("H H");
    fonttest::InkBox twoSpaces = ink("H  H");
    EXPECT_EQ(spaced.right - together.right, pWidth);
    EXPECT_EQ(twoSpaces.right - together.right, 2 * pWidth);
    EXPECT_EQ(font->stringWidth("H H") - font->stringWidth("HH"), pWidth);
}

TEST_F(FontDraw, BytesWithoutAGlyphAreSkippedWithoutMovingThePen)
{
    fonttest::Frame plain = fonttest::render([&] { font->drawString("AB", 40, 60); });
    fonttest::Frame noisy = fonttest::render([&] { font->drawString("A\x01\t\r\x1b\x1f\x80\xa0\xe9\xff" "B", 40, 60); });
    EXPECT_GT(plain.inkCount(), 50);
    EXPECT_TRUE(plain.rgba == noisy.rgba);
    EXPECT_EQ(font->getStringBoundingBox("A\x01\x80\xe9" "B", 40, 60).width,
              font->getStringBoundingBox("AB", 40, 60).width);

    // With the 256-glyph set the Latin-1 letters are drawn and do move the pen.
    ofTrueTypeFont full;
    full.loadFont(fonttest::dejavuSans(), 24, true, true, false);
    fonttest::InkBox accented = fonttest::render([&] { full.drawString("A\xe9" "B", 40, 60); }).inkBox();
    fonttest::InkBox bare = fonttest::render([&] { full.drawString("AB", 40, 60); }).inkBox();
    EXPECT_GT(accented.right, bare.right + 5);
}

TEST_F(FontDraw, GlyphIndicesOutsideTheSetDrawNothing)
{
    fonttest::Frame frame = fonttest::render([&] {
        glEnable(GL_TEXTURE_2D);
        glTranslatef(40, 60, 0);
        font->drawChar(-1);
        font->drawChar(95);
        font->drawChar(1000);
        glDisable(GL_TEXTURE_2D);
    });
    EXPECT_EQ(frame.inkCount(1), 0);
}

TEST_F(FontDraw, EmptyStringDrawsNothingAndHasAZeroBox)
{
    fonttest::Frame frame = fonttest::render([&] { font->drawString("", 40, 60); });
    EXPECT_EQ(frame.inkCount(1), 0);
    ofRectangle box = font->getStringBoundingBox("", 40, 60);
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(box.width, 0);
    EXPECT_EQ(box.height, 0);
    EXPECT_EQ(font->stringWidth(""), 0);
    EXPECT_EQ(font->stringHeight(""), 0);
}

TEST_F(FontDraw, RestoresBlendAndMatrixButLeavesTexturingOff)
{
    fonttest::render([&] {
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ZERO);
        glTranslatef(3, 4, 0);
        GLfloat before[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, before);

        font->drawString("Stage 1 cleared\nagain", 40, 60);

        GLfloat after[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        EXPECT_TRUE(std::equal(before, before + 16, after));
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        GLint src = 0;
        GLint dst = 0;
        glGetIntegerv(GL_BLEND_SRC, &src);
        glGetIntegerv(GL_BLEND_DST, &dst);
        EXPECT_EQ(src, GL_ONE);
        EXPECT_EQ(dst, GL_ZERO);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));

        glDisable(GL_BLEND);
        font->drawString("x", 40, 60);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    });
}

TEST_F(FontDraw, StageClearedLandsInsideItsBoundingBoxInTheCurrentColour)
{
    const std::string text = "Stage 1 cleared";
    const float x = 60;
    const float y = 120;
    fonttest::Frame frame = fonttest::render([&] {
        glColor4f(1, 0.5f, 0, 1);
        font->drawString(text, x, y);
    });
    ofRectangle box = font->getStringBoundingBox(text, x, y);
    fonttest::InkBox inked = frame.inkBox();
    ASSERT_FALSE(inked.empty);

    // The box is the drawn quads; ink starts two texels in from each side.
    EXPECT_GE(inked.left, std::floor(box.x));
    EXPECT_LE(inked.left, box.x + 4);
    EXPECT_GE(inked.top, std::floor(box.y));
    EXPECT_LE(inked.top, box.y + 4);
    EXPECT_LE(inked.right, std::ceil(box.x + box.width));
    EXPECT_GE(inked.right, box.x + box.width - 4);
    EXPECT_LE(inked.bottom, std::ceil(box.y + box.height));
    EXPECT_GE(inked.bottom, box.y + box.height - 4);
    // The capitals' tops sit about 23 pixels above the baseline.
    EXPECT_NEAR(inked.top, y - 23, 3);
    EXPECT_FLOAT_EQ(font->stringWidth(text), box.width);
    EXPECT_FLOAT_EQ(font->stringHeight(text), box.height);

    // Nothing is drawn far outside, and the text takes the current colour.
    int outside = 0;
    int coloured = 0;
    for (int py = 0; py < fonttest::Frame::HEIGHT; ++py) {
        for (int px = 0; px < fonttest::Frame::WIDTH; ++px) {
            const unsigned char* p = frame.pixel(px, py);
            bool inBox = px >= box.x - 1 && px <= box.x + box.width + 1 && py >= box.y - 1 && py <= box.y + box.height + 1;
            if (p[0] > 0 || p[1] > 0 || p[2] > 0) {
                outside += inBox ? 0 : 1;
                coloured += (p[0] > 200 && std::abs(p[1] - p[0] / 2) <= 2 && p[2] == 0) ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(coloured, 200);
}

TEST_F(FontDraw, BoundingBoxSpansLinesByTheWholeLineHeight)
{
    ofRectangle one = font->getStringBoundingBox("H", 0, 0);
    ofRectangle two = font->getStringBoundingBox("H\nH", 0, 0);
    EXPECT_EQ(two.x, one.x);
    EXPECT_EQ(two.width, one.width);
    EXPECT_EQ(two.y, one.y);
    EXPECT_EQ(two.height - one.height, 34);   // the line height truncated to whole pixels
    ofRectangle moved = font->getStringBoundingBox("H\nH", 10, 20);
    EXPECT_EQ(moved.x, two.x + 10);
    EXPECT_EQ(moved.y, two.y + 20);
    ofRectangle blanks = font->getStringBoundingBox(" \n ", 10, 20);
    EXPECT_EQ(blanks.width, 0);
    EXPECT_EQ(blanks.height, 0);
}

TEST(FontUnloaded, DrawingLogsAndDrawsNothing)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    ofTrueTypeFont font;
    EXPECT_FALSE(font.bLoadedOk);
    testsupport::StdoutCapture capture;
    fonttest::Frame frame = fonttest::render([&] {
        font.drawString("Stage 1 cleared", 40, 60);
        font.drawChar(5);
    });
    std::string out = capture.finish();
    EXPECT_EQ(frame.inkCount(1), 0);
    size_t first = out.find('\n');
    ASSERT_NE(first, std::string::npos);
    std::string line = out.substr(0, first);
    EXPECT_EQ(line.rfind("OF_ERROR: Error : font not allocated -- line ", 0), 0u) << line;
    EXPECT_NE(line.find(" in ofTrueTypeFont.cpp"), std::string::npos) << line;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;
    ofRectangle box = font.getStringBoundingBox("Stage 1 cleared", 5, 5);
    EXPECT_EQ(box.width, 0);
    EXPECT_EQ(box.height, 0);
}
