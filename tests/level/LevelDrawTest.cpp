#include "StageFixtures.h"
#include "level/Level.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

using levelfixtures::Rgba;

namespace {

const int SIZE = 200;                        // viewport edge in pixels
const Rgba FACE{200, 40, 30, 255};           // cube face texture
const Rgba SKY{20, 60, 220, 255};            // sky texture

// Camera on +z looking at the origin with a 60 degree field: a world unit at the
// origin's depth is SIZE / (2 * 20 * tan 30) = 8.66 pixels.
int toPixel(float world)
{
    return SIZE / 2 + static_cast<int>(world * 8.66f);
}

class Frame {
public:
    explicit Frame(std::vector<unsigned char> rgba) : rgba(std::move(rgba)) {}

    bool isSky(int x, int y) const { return near(x, y, SKY); }

    bool near(int x, int y, Rgba c) const
    {
        const unsigned char* p = &rgba[static_cast<size_t>((y * SIZE + x) * 4)];
        return std::abs(p[0] - c.r) <= 3 && std::abs(p[1] - c.g) <= 3 && std::abs(p[2] - c.b) <= 3;
    }

    // Pixels that are not sky in the square of half edge `half` around world (x, y) at z = 0.
    int drawnAround(float x, float y, int half) const
    {
        return countAround(x, y, half, [&](int px, int py) { return !isSky(px, py); });
    }

    // Pixels that differ from `other` in the same square.
    int differentAround(const Frame& other, float x, float y, int half) const
    {
        return countAround(x, y, half, [&](int px, int py) { return !near(px, py, other.at(px, py)); });
    }

private:
    Rgba at(int x, int y) const
    {
        const unsigned char* p = &rgba[static_cast<size_t>((y * SIZE + x) * 4)];
        return Rgba{p[0], p[1], p[2], p[3]};
    }

    template <typename Test>
    int countAround(float x, float y, int half, Test test) const
    {
        int n = 0;
        for (int py = toPixel(y) - half; py <= toPixel(y) + half; ++py) {
            for (int px = toPixel(x) - half; px <= toPixel(x) + half; ++px) {
                n += test(px, py) ? 1 : 0;
            }
        }
        return n;
    }

    std::vector<unsigned char> rgba;
};

// The state the game sets before Level::draw: camera, light, depth test, lighting, culling.
void enterGameState()
{
    glViewport(0, 0, SIZE, SIZE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 1.0, 0.5, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 20, 0, 0, 0, 0, 1, 0);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);   // directional, from the viewer
    glEnable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

Frame render(Level& level)
{
    enterGameState();
    level.draw();
    glFinish();
    std::vector<unsigned char> rgba(SIZE * SIZE * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SIZE, SIZE, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return Frame(std::move(rgba));
}

std::vector<GLfloat> matrix(GLenum which)
{
    std::vector<GLfloat> m(16);
    glGetFloatv(which, m.data());
    return m;
}

class LevelDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::ensureGlContext());
        while (glGetError() != GL_NO_ERROR) {
        }
        dir = std::make_unique<levelfixtures::StageDir>();
        dir->texture("face.png", 8, 8, 24, FACE);
        dir->texture("sky.png", 8, 8, 24, SKY);
        // Squares of 2.4 world units (die), 1.6 (coin) and 3.6 (finish) across.
        dir->models(50.0f, 10.0f, 20.0f);
        level = std::make_unique<Level>();
    }

    void TearDown() override
    {
        level.reset();
        dir.reset();
    }

    // Sets the level up (models and stage 1) from the given stage text.
    void setUp(const std::string& stageText)
    {
        dir->stage(1, stageText);
        int stage = 1;
        int score = 0;
        testsupport::StdoutCapture capture;
        level->setup(stage, score);
        capture.finish();
    }

    std::unique_ptr<levelfixtures::StageDir> dir;
    std::unique_ptr<Level> level;
};

} // namespace

TEST_F(LevelDrawTest, LeavesTheStateThatTheBallAndTheOverlayExpect)
{
    setUp("face.png sky.png 50 60 0 0 1 6 0 0 1 -6 0 0 1 0 6 0 2 0 0 0 0 -4 0");
    level->cubes[0].faces[0].colour = Vec3(1, 0, 0);
    level->cubes.back().faces[5].colour = Vec3(0, 0.5f, 0);   // the last face drawn
    enterGameState();
    glDisable(GL_COLOR_MATERIAL);
    glColor4f(0.3f, 0.3f, 0.3f, 0.5f);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    const std::vector<GLfloat> modelview = matrix(GL_MODELVIEW_MATRIX);
    const std::vector<GLfloat> projection = matrix(GL_PROJECTION_MATRIX);

    level->draw();

    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat colour[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(std::vector<GLfloat>(colour, colour + 4), std::vector<GLfloat>({1, 1, 1, 1}));
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), modelview);
    EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), projection);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(LevelDrawTest, ATexturedCubeStandsInFrontOfTheUnlitSky)
{
    setUp("face.png sky.png 50 60 0 0 1 6 0 0 1 0 -8 0 0 1 0 0 0");
    const Frame frame = render(*level);
    // The cube's top (+z) face, lit head-on, shows the face texture.
    EXPECT_TRUE(frame.near(toPixel(0), toPixel(0), FACE));
    EXPECT_TRUE(frame.near(toPixel(0.8f), toPixel(-0.8f), FACE));
    // Beside it the sky shows from inside, culling off, in its own colour: not lit.
    EXPECT_TRUE(frame.isSky(toPixel(-6), toPixel(6)));
    EXPECT_TRUE(frame.isSky(2, 2));
    EXPECT_TRUE(frame.isSky(SIZE - 3, SIZE - 3));
}

TEST_F(LevelDrawTest, TheFinishAppearsOnlyOnceNoDieIsLeft)
{
    // A die left of the cube, a coin below it, the finish to the right.
    setUp("face.png sky.png 50 60 0 0 1 6 0 0 1 -6 0 0 1 0 -6 0 0");
    Frame frame = render(*level);
    EXPECT_GT(frame.drawnAround(-6, 0, 3), 40);
    EXPECT_GT(frame.drawnAround(0, -6, 3), 40);
    EXPECT_EQ(frame.drawnAround(6, 0, 6), 0);

    level->dice.pop_front();
    frame = render(*level);
    EXPECT_EQ(frame.drawnAround(-6, 0, 3), 0);
    EXPECT_GT(frame.drawnAround(0, -6, 3), 40);
    EXPECT_GT(frame.drawnAround(6, 0, 6), 100);
}

TEST_F(LevelDrawTest, DiceTumbleWithTheSpinWhileTheFinishOnlyTurns)
{
    // No dice first: the finish alone, face-on at angle 0 and, turned about z only, at 90.
    setUp("face.png sky.png 50 60 0 0 1 6 0 0 0 0 0");
    const int finishAt0 = render(*level).drawnAround(6, 0, 20);
    for (int i = 0; i < 90; ++i) {
        level->update();
    }
    const int finishAt90 = render(*level).drawnAround(6, 0, 20);
    EXPECT_GT(finishAt0, 500);
    EXPECT_NEAR(finishAt90, finishAt0, finishAt0 / 10);

    // A die on the line of sight: face-on at 0; at 90 the tumble about (1, 1, 0) has
    // turned it edge-on to the camera, and the turn about z keeps it so. Straight ahead
    // lies the sky's pole, darkened by its clamped edge, so compare with a frame without it.
    level->collectibleAngle = 0;
    const Frame empty = render(*level);
    level->dice.push_back(Vec3(0, 0, 0));
    const int dieAt0 = render(*level).differentAround(empty, 0, 0, 20);
    level->collectibleAngle = 90;
    const int dieAt90 = render(*level).differentAround(empty, 0, 0, 20);
    EXPECT_GT(dieAt0, 300);
    EXPECT_LT(dieAt90, dieAt0 / 20);
}

TEST(CubeDraw, DrawsInTheModelviewMatrixAndRestoresIt)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const std::vector<GLfloat> before = matrix(GL_MODELVIEW_MATRIX);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const std::vector<GLfloat> projection = matrix(GL_PROJECTION_MATRIX);
    Cube(Vec3(3, 4, 5)).draw();
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), before);
    EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
