// Drawing models into a real (software) OpenGL frame buffer and reading the pixels back.
#include "models/ModelHolder.h"
#include "models/model3DS.h"
#include "support/TestSupport.h"
#include "Pictures.h"
#include "Writer3ds.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <array>

using namespace writer3ds;

namespace {

using Rgb = std::array<int, 3>;

// A 64 x 64 pixel view of x and y from -2 to 2, cleared to grey, with nothing enabled.
class Canvas : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::ensureGlContext());
        glViewport(0, 0, 64, 64);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2, 2, -2, 2, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDisable(GL_TEXTURE_2D);
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    static Rgb pixel(int x, int y)
    {
        unsigned char rgb[3] = {0, 0, 0};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        return {rgb[0], rgb[1], rgb[2]};
    }

    static void load(model3DS& model, const std::string& bytes, const std::string& name = "data/draw.3ds")
    {
        std::vector<unsigned char> buffer(bytes.begin(), bytes.end());
        testsupport::StdoutCapture quiet;
        model.loadFromMemory(name, buffer.data(), buffer.size(), 1.0f);
    }
};

// A triangle facing the viewer (file z becomes y), covering the centre pixel, moved by dx.
Chunk facingTriangle(const std::string& name, float dx, std::vector<Chunk> groups)
{
    return object(name, {vertexList({{dx - 1, 0, -1}, {dx + 1, 0, -1}, {dx, 0, 1}}),
                         faceList({{0, 1, 2}, {0, 1, 2}}, std::move(groups))});
}

const Rgb GREY = {128, 128, 128};

} // namespace

using model3DSDraw = Canvas;

TEST_F(model3DSDraw, GroupsAreDrawnInNameOrderEachWithItsMaterial)
{
    // The same triangle twice: "zeta" (blue) is listed first in the file, "alpha" (red)
    // second; drawn in name order, blue ends on top.
    model3DS model;
    load(model, file({material("alpha", {colourBytes(0xA020, 255, 0, 0)}),
                      material("zeta", {colourBytes(0xA020, 0, 0, 255)}),
                      facingTriangle("tri", 0, {materialGroup("zeta", {0}), materialGroup("alpha", {1})})}));
    model.draw();
    EXPECT_EQ(pixel(32, 32), (Rgb{0, 0, 255}));
    EXPECT_EQ(pixel(2, 60), GREY);
}

TEST_F(model3DSDraw, AnUndefinedMaterialIsDrawnWithTheDefault)
{
    model3DS model;
    load(model, file({facingTriangle("tri", 0, {materialGroup("nowhere", {0})})}));
    ASSERT_TRUE(model.materials.empty());
    model.draw();
    EXPECT_EQ(pixel(32, 32), (Rgb{0, 0, 0}));
}

TEST_F(model3DSDraw, FacesInNoGroupAreNotDrawn)
{
    model3DS model;
    load(model, file({facingTriangle("tri", 0, {})}));
    ASSERT_EQ(model.meshes.size(), 1u);
    model.draw();
    EXPECT_EQ(pixel(32, 32), GREY);
}

TEST_F(model3DSDraw, ModelIsCentredOnItsBoundingBoxAndTheMatrixRestored)
{
    model3DS model;
    load(model, file({material("white", {colourBytes(0xA020, 255, 255, 255)}),
                      facingTriangle("far", 10, {materialGroup("white", {0})})}));
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    model.draw();
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(pixel(32, 32), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixel(60, 32), GREY);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(before[i], after[i]);
    }
}

TEST_F(model3DSDraw, LitMaterialsUseTheirColoursAndRestoreTheLightingState)
{
    model3DS model;
    load(model, file({material("green", {colourFloat(0xA010, 0, 1, 0), colourFloat(0xA020, 1, 0, 0), Chunk(0xA081)}),
                      facingTriangle("tri", 0, {materialGroup("green", {0})})}));
    // Only the global ambient light: the pixel shows the material's ambient colour.
    glEnable(GL_LIGHTING);
    const GLfloat fullAmbient[4] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, fullAmbient);
    const GLfloat blue[4] = {0, 0, 1, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, blue);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);

    model.draw();
    EXPECT_EQ(pixel(32, 32), (Rgb{0, 255, 0}));

    GLfloat ambient[4];
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    EXPECT_EQ(ambient[2], 1.0f);
    GLint twoSided = -1;
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &twoSided);
    EXPECT_EQ(twoSided, 0);
    const GLfloat dim[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, dim);
    glDisable(GL_LIGHTING);
}

TEST_F(model3DSDraw, ModelHolderDrawsATexturedModelUpright)
{
    // An 8 x 8 picture, red above and green below, on a quad with v running up the screen.
    testsupport::ScratchDir dir;
    testsupport::WorkingDir cwd(dir.path());
    dir.write("data/box/face.tga", pictures::halves(8, {255, 0, 0}, {0, 255, 0}));
    dir.write("data/box/box.3ds",
              file({material("skin", {colourBytes(0xA020, 255, 255, 255), map(0xA200, "face.tga")}),
                    object("quad", {vertexList({{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}}),
                                    texCoords({{0, 0}, {1, 0}, {1, 1}, {0, 1}}),
                                    faceList({{0, 1, 2}, {0, 2, 3}}, {materialGroup("skin", {0, 1})})})}));
    ModelHolder holder;
    {
        testsupport::StdoutCapture capture;
        holder.loadModel("box/box.3ds", 1.0f);
        EXPECT_EQ(capture.finish(), "[3DS] Model 'data/box/box.3ds' loaded\n");
    }
    ASSERT_NE(holder.loader, nullptr);
    EXPECT_TRUE(holder.loader->hasTexture);

    holder.draw();
    EXPECT_EQ(pixel(32, 44), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixel(32, 20), (Rgb{0, 255, 0}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint shading = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(shading, GL_SMOOTH);
}

TEST_F(model3DSDraw, TooFewTextureCoordinatesDrawUntextured)
{
    testsupport::ScratchDir dir;
    testsupport::WorkingDir cwd(dir.path());
    dir.write("data/red.tga", pictures::halves(8, {255, 0, 0}, {255, 0, 0}));
    model3DS model;
    load(model,
         file({material("skin", {colourBytes(0xA020, 0, 0, 255), map(0xA200, "red.tga")}),
               object("tri", {vertexList({{-1, 0, -1}, {1, 0, -1}, {0, 0, 1}}), texCoords({{0, 0}}),
                              faceList({{0, 1, 2}}, {materialGroup("skin", {0})})})}),
         "data/tri.3ds");
    ASSERT_TRUE(model.materials.at("skin").textured);
    // Texturing is off here, so the colour shows whether the missing coordinates were used.
    model.draw();
    EXPECT_EQ(pixel(32, 32), (Rgb{0, 0, 255}));
    glDeleteTextures(1, &model.materials.at("skin").texture);
}

TEST_F(model3DSDraw, ModelHolderPicksTheLoaderByExtension)
{
    testsupport::ScratchDir dir;
    testsupport::WorkingDir cwd(dir.path());
    const std::string bytes = file({material("w", {colourBytes(0xA020, 255, 255, 255)}),
                                    facingTriangle("tri", 0, {materialGroup("w", {0})})});
    dir.write("data/upper.3DS", bytes);
    dir.write("data/lower.3ds", bytes);
    dir.write("data/mixed.3Ds", bytes);
    dir.write("data/model.obj", bytes);

    ModelHolder holder;
    holder.draw();   // nothing held: nothing drawn, nothing broken
    EXPECT_EQ(pixel(32, 32), GREY);

    testsupport::StdoutCapture capture;
    holder.loadModel("upper.3DS", 1.0f);
    EXPECT_NE(holder.loader, nullptr);
    holder.loadModel("lower.3ds", 1.0f);
    EXPECT_NE(holder.loader, nullptr);
    holder.loadModel("mixed.3Ds", 1.0f);
    EXPECT_EQ(holder.loader, nullptr);
    holder.loadModel("model.obj", 1.0f);
    EXPECT_EQ(holder.loader, nullptr);
    holder.loadModel("noextension", 1.0f);
    EXPECT_EQ(holder.loader, nullptr);
    holder.loadModel("lower.3ds", 1.0f);
    const std::string text = capture.finish();
    EXPECT_NE(text.find("[3DS] Model 'data/upper.3DS' loaded\n[3DS] Model 'data/lower.3ds' loaded\n"), std::string::npos);
    EXPECT_NE(text.find("no loader for 'model.obj'"), std::string::npos);

    holder.draw();
    EXPECT_EQ(pixel(32, 32), (Rgb{255, 255, 255}));
}
