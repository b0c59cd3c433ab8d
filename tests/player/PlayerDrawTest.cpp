#include "BallWorld.h"
#include "player/Camera.h"

#include <FreeImage.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

// Writes a small picture of one colour as a 24-bit PNG.
void writeSolidPng(const std::filesystem::path& file, BYTE red, BYTE green, BYTE blue)
{
    FIBITMAP* bitmap = FreeImage_Allocate(8, 8, 24);
    ASSERT_NE(bitmap, nullptr);
    for (unsigned y = 0; y < 8; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);
        for (unsigned x = 0; x < 8; ++x) {
            row[x * 3 + FI_RGBA_RED] = red;
            row[x * 3 + FI_RGBA_GREEN] = green;
            row[x * 3 + FI_RGBA_BLUE] = blue;
        }
    }
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, bitmap, file.c_str(), 0));
    FreeImage_Unload(bitmap);
}

StageLayout oneCube()
{
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0)};
    return stage;
}

// Looks at the ball from 2 units behind it and reads the pixel in the middle of the view.
std::array<float, 3> ballColour(BallWorld& world)
{
    Camera camera;
    camera.eye = world.player.Position + Vec3(0, -2, 0);
    camera.apply(400, 300, world.player);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    world.player.draw();
    std::array<float, 3> rgb{};
    glReadBuffer(GL_BACK);
    glReadPixels(200, 150, 1, 1, GL_RGB, GL_FLOAT, rgb.data());
    return rgb;
}

} // namespace

TEST(PlayerDraw, BallShowsItsPicture)
{
    BallWorld world(oneCube(), false);
    writeSolidPng(world.dir.path() / "data/soccer.png", 230, 20, 10);
    world.player.reset(world.level.startPosition);

    std::array<float, 3> rgb = ballColour(world);
    EXPECT_NEAR(rgb[0], 230 / 255.0f, 0.02f);
    EXPECT_NEAR(rgb[1], 20 / 255.0f, 0.02f);
    EXPECT_NEAR(rgb[2], 10 / 255.0f, 0.02f);

    // A corner of the view shows the clear colour: the ball is only as big as its radius.
    float corner[3] = {};
    glReadPixels(5, 5, 1, 1, GL_RGB, GL_FLOAT, corner);
    EXPECT_NEAR(corner[2], 0.5f, 0.01f);
}

TEST(PlayerDraw, BallPictureIsUploadedOnlyAsTheMipmappedTexture)
{
    BallWorld world(oneCube(), false);
    writeSolidPng(world.dir.path() / "data/soccer.png", 30, 200, 60);
    world.player.reset(world.level.startPosition);
    world.player.reset(world.level.startPosition);

    EXPECT_EQ(world.player.ballImage.getWidth(), 8.0f);
    EXPECT_FALSE(world.player.ballImage.getTextureReference().bAllocated());
    unsigned char texel[3] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, world.player.ballTexture.name);
    glGetTexImage(GL_TEXTURE_2D, 3, GL_RGB, GL_UNSIGNED_BYTE, texel);   // the 1 x 1 level
    EXPECT_EQ(std::vector<int>(texel, texel + 3), std::vector<int>({30, 200, 60}));
}

TEST(PlayerDraw, MissingPictureIsReportedAndTheBallStillDraws)
{
    BallWorld world(oneCube(), false);
    testsupport::StdoutCapture capture;
    world.player.reset(world.level.startPosition);
    std::string printed = capture.finish();
    EXPECT_NE(printed.find("OF_ERROR: Failed to load player's image\n"), std::string::npos) << printed;

    std::array<float, 3> rgb = ballColour(world);
    EXPECT_GT(rgb[0], 0.9f);   // a plain white ball
    EXPECT_GT(rgb[1], 0.9f);
    EXPECT_GT(rgb[2], 0.9f);
}

TEST(PlayerDraw, RestoresMatricesAndTexturing)
{
    BallWorld world(oneCube(), false);
    Camera camera;
    camera.eye = Vec3(0, -3, 2);
    camera.apply(400, 300, world.player);
    GLfloat before[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, before);

    world.player.draw();

    GLfloat after[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(after[i], before[i]) << i;
    }
    GLfloat texture[16] = {};
    glGetFloatv(GL_TEXTURE_MATRIX, texture);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(texture[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(PlayerDraw, SpinsOnlyWhileSteppingForward)
{
    StageLayout stage;
    for (int i = 0; i < 4; ++i) {
        stage.cubes.push_back(Vec3(0, 2.0f * i, 0));
    }
    BallWorld world(stage, false);
    Player& ball = world.player;
    auto drawnFrames = [&](int frames) {
        for (int i = 0; i < frames; ++i) {
            world.frame();
            ball.draw();
        }
    };
    ASSERT_TRUE(world.press(&Player::turnLeft));
    drawnFrames(30);
    EXPECT_EQ(ball.spinAngle, 0.0f);
    ASSERT_TRUE(world.press(&Player::turnRight));
    drawnFrames(30);

    // Three steps of 20 drawn frames each at 7 degrees: 420, wrapped to 60.
    for (int step = 0; step < 3; ++step) {
        ASSERT_TRUE(world.press(&Player::moveForward));
        drawnFrames(30);
        EXPECT_TRUE(ball.enableMovement);
    }
    EXPECT_NEAR(ball.spinAngle, 60.0f, 1e-3f);
    EXPECT_NEAR(ball.Position.y, 6.0f, 1e-4f);
}
