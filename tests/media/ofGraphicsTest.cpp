#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"
#include "media/ofGraphics.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

namespace {

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testsupport::ensureGlContext()); }
};

struct Rgb {
    int r, g, b;
};

Rgb pixelAt(int x, int y)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

void clearTo(float r, float g, float b)
{
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

} // namespace

TEST_F(GraphicsTest, WindowAppliesTheGraphicDefaults)
{
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint src = 0;
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);

    const float* bg = ofBgColorPtr();
    EXPECT_FLOAT_EQ(bg[0], 200 / 255.0f);
    EXPECT_FLOAT_EQ(bg[1], 200 / 255.0f);
    EXPECT_FLOAT_EQ(bg[2], 200 / 255.0f);
    EXPECT_FLOAT_EQ(bg[3], 1.0f);
    EXPECT_TRUE(ofbClearBg());

    const ofStyle& style = ofGetStyle();
    EXPECT_TRUE(style.blending);
    EXPECT_FALSE(style.smoothing);
    EXPECT_EQ(style.color.r, 255.0f);
    EXPECT_EQ(style.color.a, 255.0f);
    EXPECT_EQ(style.polyMode, GLU_TESS_WINDING_ODD);
    EXPECT_EQ(ofGetRectMode(), OF_RECTMODE_CORNER);
}

TEST_F(GraphicsTest, SetColorClampsEachChannel)
{
    ofSetColor(300, -20, 128, 255);
    float c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_FLOAT_EQ(c[0], 1.0f);
    EXPECT_FLOAT_EQ(c[1], 0.0f);
    EXPECT_NEAR(c[2], 0.50196f, 1e-5);
    EXPECT_FLOAT_EQ(c[3], 1.0f);

    const ofColor& color = ofGetStyle().color;
    EXPECT_FLOAT_EQ(color.r, 255.0f);
    EXPECT_FLOAT_EQ(color.g, 0.0f);
    EXPECT_FLOAT_EQ(color.b, 128.0f);
    EXPECT_FLOAT_EQ(color.a, 255.0f);

    ofSetColor(10, 20, 30);
    EXPECT_FLOAT_EQ(ofGetStyle().color.a, 255.0f);
}

TEST_F(GraphicsTest, BlendingAndSmoothingSwitchesFollowTheStyle)
{
    ofDisableAlphaBlending();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(ofGetStyle().blending);
    ofEnableAlphaBlending();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(ofGetStyle().blending);

    ofEnableSmoothing();
    EXPECT_TRUE(ofGetStyle().smoothing);
    ofDisableSmoothing();
    EXPECT_FALSE(ofGetStyle().smoothing);
}

TEST_F(GraphicsTest, RectModeAcceptsOnlyCornerAndCentre)
{
    ofSetRectMode(OF_RECTMODE_CENTER);
    EXPECT_EQ(ofGetRectMode(), 1);
    EXPECT_EQ(ofGetStyle().rectMode, 1);
    ofSetRectMode(7);
    ofSetRectMode(-1);
    EXPECT_EQ(ofGetRectMode(), 1);
    EXPECT_EQ(ofGetStyle().rectMode, 1);
    ofSetRectMode(OF_RECTMODE_CORNER);
    EXPECT_EQ(ofGetRectMode(), 0);
}

TEST_F(GraphicsTest, BackgroundClearsAtOnceOnlyWithoutAutoClear)
{
    clearTo(0.0f, 0.0f, 0.0f);
    ofBackground(10, 20, 30);
    Rgb untouched = pixelAt(5, 5);
    EXPECT_EQ(untouched.r, 0);
    EXPECT_EQ(untouched.b, 0);

    ofSetBackgroundAuto(false);
    ofBackground(40, 80, 120);
    ofSetBackgroundAuto(true);
    Rgb cleared = pixelAt(5, 5);
    EXPECT_NEAR(cleared.r, 40, 1);
    EXPECT_NEAR(cleared.g, 80, 1);
    EXPECT_NEAR(cleared.b, 120, 1);
    EXPECT_FLOAT_EQ(ofBgColorPtr()[1], 80 / 255.0f);
}

TEST_F(GraphicsTest, SetupScreenFor800x600)
{
    ofAppGlutWindow::resize(800, 600);
    ASSERT_EQ(ofGetWidth(), 800);
    ASSERT_EQ(ofGetHeight(), 600);
    ofSetupScreen();

    GLdouble modelview[16];
    GLdouble projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);

    // Eye distance: the screen plane z = 0 sits that far in front of the eye.
    EXPECT_NEAR(modelview[14], -519.615, 0.01);
    // Near and far planes from the perspective matrix.
    double nearPlane = projection[14] / (projection[10] - 1.0);
    double farPlane = projection[14] / (projection[10] + 1.0);
    EXPECT_NEAR(nearPlane, 51.9615, 0.01);
    EXPECT_NEAR(farPlane, 5196.15, 1.0);
    EXPECT_NEAR(projection[5] / projection[0], 800.0 / 600.0, 1e-4);

    // One unit per pixel, origin at the top-left, y pointing down.
    GLint viewport[4] = {0, 0, 800, 600};
    GLdouble wx, wy, wz;
    gluProject(0, 0, 0, modelview, projection, viewport, &wx, &wy, &wz);
    EXPECT_NEAR(wx, 0.0, 1e-3);
    EXPECT_NEAR(wy, 600.0, 1e-3);
    gluProject(800, 600, 0, modelview, projection, viewport, &wx, &wy, &wz);
    EXPECT_NEAR(wx, 800.0, 1e-3);
    EXPECT_NEAR(wy, 0.0, 1e-3);
    gluProject(100, 50, 0, modelview, projection, viewport, &wx, &wy, &wz);
    EXPECT_NEAR(wx, 100.0, 1e-3);
    EXPECT_NEAR(wy, 550.0, 1e-3);
}

TEST_F(GraphicsTest, SetupScreenWithoutASizeKeepsTheMatrices)
{
    ofAppGlutWindow::resize(0, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ofSetupScreen();
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 1.0f);
    EXPECT_FLOAT_EQ(projection[15], 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphicsTest, LineDrawsInScreenPixels)
{
    ofAppGlutWindow::resize(1024, 768);
    glViewport(0, 0, 1024, 768);
    ofSetupScreen();
    ofDisableAlphaBlending();
    clearTo(0.0f, 0.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // A horizontal line 20 pixels below the top edge, from x 100 to 300.
    ofLine(100.0f, 20.5f, 300.0f, 20.5f);
    glFinish();

    int rowFromBottom = 768 - 21;
    EXPECT_GT(pixelAt(200, rowFromBottom).r, 200);
    EXPECT_EQ(pixelAt(50, rowFromBottom).r, 0);
    EXPECT_EQ(pixelAt(200, 768 - 60).r, 0);
}

TEST_F(GraphicsTest, LineWithoutSmoothingLeavesAttributesAlone)
{
    ofDisableSmoothing();
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    ofLine(0.0f, 0.0f, 10.0f, 10.0f);

    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    GLint src = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphicsTest, SmoothedLineRestoresAttributes)
{
    ofEnableSmoothing();
    glDisable(GL_BLEND);
    glDisable(GL_LINE_SMOOTH);
    glBlendFunc(GL_ONE, GL_ZERO);
    ofLine(0.0f, 0.0f, 10.0f, 10.0f);
    ofDisableSmoothing();

    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    GLint src = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    EXPECT_EQ(src, GL_ONE);
    GLint attribDepth = -1;
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &attribDepth);
    EXPECT_EQ(attribDepth, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
