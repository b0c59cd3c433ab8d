#include "PictureFiles.h"

#include "media/ofAppRunner.h"
#include "media/ofGraphics.h"
#include "media/ofImage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using pictures::Rgba;

namespace {

const Rgba RED{255, 0, 0, 255};
const Rgba GREEN{0, 255, 0, 255};
const Rgba BLUE{0, 0, 255, 255};
const Rgba YELLOW{255, 255, 0, 255};
const Rgba BLACK{0, 0, 0, 255};

// Four solid quarters: red top-left, green top-right, blue bottom-left, yellow bottom-right.
Rgba quarters(int x, int y, int w, int h)
{
    bool right = x >= w / 2;
    bool bottom = y >= h / 2;
    return bottom ? (right ? YELLOW : BLUE) : (right ? GREEN : RED);
}

class ImageDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::ensureGlContext());
        // One unit per window pixel, origin at the top-left, y down.
        glViewport(0, 0, ofGetWidth(), ofGetHeight());
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, ofGetWidth(), ofGetHeight(), 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
        glColor4f(1, 1, 1, 1);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        ofSetRectMode(OF_RECTMODE_CORNER);
    }
    void TearDown() override
    {
        ofSetRectMode(OF_RECTMODE_CORNER);
        ofEnableArbTex();
        glEnableClientState(GL_VERTEX_ARRAY);   // as the graphics defaults left it
    }

    // Colour at screen pixel (x, y), y down.
    static Rgba screen(int x, int y)
    {
        unsigned char p[4] = {};
        glFinish();
        glReadPixels(x, ofGetHeight() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2], 255};
    }

    static void loadQuarters(ofImage& image, int w, int h)
    {
        std::vector<unsigned char> rgb;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                Rgba c = quarters(x, y, w, h);
                rgb.insert(rgb.end(), c.begin(), c.begin() + 3);
            }
        }
        image.setFromPixels(rgb.data(), w, h, OF_IMAGE_COLOR);
    }

    // The quarters of a picture drawn over (left, top) to (left + w, top + h), checked a few
    // pixels inside each quarter, and black just outside.
    static void expectQuartersAt(int left, int top, int w, int h)
    {
        int m = 3;
        EXPECT_EQ(screen(left + m, top + m), RED);
        EXPECT_EQ(screen(left + w - m, top + m), GREEN);
        EXPECT_EQ(screen(left + m, top + h - m), BLUE);
        EXPECT_EQ(screen(left + w - m, top + h - m), YELLOW);
        EXPECT_EQ(screen(left - 2, top + h / 4), BLACK);
        EXPECT_EQ(screen(left + w + 2, top + h / 4), BLACK);
        EXPECT_EQ(screen(left + w / 4, top - 2), BLACK);
        EXPECT_EQ(screen(left + w / 4, top + h + 2), BLACK);
    }
};

} // namespace

TEST_F(ImageDraw, PictureAppearsUprightWhereAsked)
{
    for (bool rectangle : {true, false}) {
        SCOPED_TRACE(rectangle ? "rectangle texture" : "power-of-two texture");
        rectangle ? ofEnableArbTex() : ofDisableArbTex();
        glClear(GL_COLOR_BUFFER_BIT);
        ofImage image;
        loadQuarters(image, 40, 30);   // padded to 64 x 32 without rectangles
        image.draw(100, 50, 80, 60);
        expectQuartersAt(100, 50, 80, 60);

        glClear(GL_COLOR_BUFFER_BIT);
        image.draw(300, 200);   // at its own size
        expectQuartersAt(300, 200, 40, 30);
    }
}

TEST_F(ImageDraw, AnchorsAndCentreModeMoveThePicture)
{
    ofImage image;
    loadQuarters(image, 40, 40);

    image.setAnchorPercent(0.5f, 0.5f);
    image.draw(200, 200, 80, 60);
    expectQuartersAt(160, 170, 80, 60);

    glClear(GL_COLOR_BUFFER_BIT);
    image.setAnchorPoint(10, 20);
    image.draw(200, 200, 80, 60);
    expectQuartersAt(190, 180, 80, 60);

    glClear(GL_COLOR_BUFFER_BIT);
    image.resetAnchor();
    ofSetRectMode(OF_RECTMODE_CENTER);
    image.draw(200, 200, 80, 60);
    expectQuartersAt(160, 170, 80, 60);
}

TEST_F(ImageDraw, DrawingLeavesStateAsFound)
{
    ofImage image;
    loadQuarters(image, 16, 16);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    glEnableClientState(GL_VERTEX_ARRAY);
    image.draw(10, 10, 32, 32);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(before[i], after[i]);
    }
    EXPECT_FALSE(glIsEnabled(image.tex.texData.textureTarget));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    glDisableClientState(GL_VERTEX_ARRAY);
    image.draw(60, 10, 32, 32);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_EQ(screen(70, 20), RED);
}

TEST_F(ImageDraw, ImageWithoutTextureDrawsNothing)
{
    ofImage image;
    image.setUseTexture(false);
    loadQuarters(image, 16, 16);
    image.draw(10, 10, 32, 32);
    EXPECT_EQ(screen(20, 20), BLACK);
}

TEST_F(ImageDraw, GrabScreenReadsTheRectangleTopRowFirst)
{
    ofImage drawn;
    loadQuarters(drawn, 40, 30);
    drawn.draw(100, 50, 80, 60);

    // 81 pixels a row: 243-byte rows, which a 4- or 8-byte pack alignment would pad.
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    ofImage grabbed;
    grabbed.grabScreen(100, 50, 81, 60);
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);

    ASSERT_EQ(grabbed.width, 81);
    EXPECT_EQ(grabbed.height, 60);
    EXPECT_EQ(grabbed.type, OF_IMAGE_COLOR);
    auto at = [&](int x, int y) { return pictures::pixelAt(grabbed.getPixels(), 81, 3, x, y); };
    EXPECT_EQ(at(3, 3), RED);
    EXPECT_EQ(at(76, 3), GREEN);
    EXPECT_EQ(at(3, 56), BLUE);
    EXPECT_EQ(at(76, 56), YELLOW);
    EXPECT_EQ(at(80, 3), BLACK);
    EXPECT_EQ(at(80, 56), BLACK);
    EXPECT_TRUE(grabbed.tex.bAllocated());
    EXPECT_FLOAT_EQ(grabbed.tex.getWidth(), 81.0f);

    // A grey image keeps its type and takes the size of the new rectangle.
    ofImage grey;
    grey.allocate(4, 4, OF_IMAGE_GRAYSCALE);
    grey.grabScreen(100, 50, 20, 10);
    EXPECT_EQ(grey.width, 20);
    EXPECT_EQ(grey.bpp, 8);
    EXPECT_GT(grey.getPixels()[0], 0);   // red, as luminance
}
