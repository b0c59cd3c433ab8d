#include "player/Camera.h"

#include "BallWorld.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

using Matrix = std::array<GLfloat, 16>;   // column-major, as OpenGL keeps it

Matrix readMatrix(GLenum which)
{
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}

Vec3 transformPoint(const Matrix& m, const Vec3& p)
{
    return Vec3(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
                m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]);
}

// The world direction that the view shows as "up": the second row of the rotation.
Vec3 viewUp(const Matrix& m) { return Vec3(m[1], m[5], m[9]); }

// Where the eye sits in the world: the point the view maps to its origin.
void expectSeenAt(const Matrix& view, const Vec3& eye, const Vec3& centre)
{
    expectNearVec(transformPoint(view, eye), Vec3(0, 0, 0), 1e-4f);
    Vec3 c = transformPoint(view, centre);
    EXPECT_NEAR(c.x, 0.0f, 1e-4f);
    EXPECT_NEAR(c.y, 0.0f, 1e-4f);
    EXPECT_LT(c.z, 0.0f);   // in front of the eye
}

StageLayout longRow()
{
    StageLayout stage;
    for (int i = 0; i < 6; ++i) {
        stage.cubes.push_back(Vec3(2.0f * i, 0, 0));
    }
    return stage;
}

} // namespace

TEST(Camera, ConvergesBehindAndAboveTheRestingBall)
{
    BallWorld world(longRow());
    Camera camera;
    camera.orbit(0.0f);
    for (int i = 0; i < 400; ++i) {
        world.frame();
        camera.update(world.player);
    }
    const Vec3 ball = world.player.Position;
    const Vec3 expected = ball + Vec3(0, -2.75f, 1.6f);   // Front +y, Gravity -z
    expectNearVec(camera.followTarget, expected, 1e-5f);
    expectNearVec(camera.eye, expected, 1e-3f);

    camera.apply(800, 600, world.player);
    Matrix view = readMatrix(GL_MODELVIEW_MATRIX);
    expectSeenAt(view, camera.eye, ball);
    EXPECT_GT(dot(viewUp(view), Vec3(0, 0, 1)), 0.8f);
}

TEST(Camera, UpFollowsGravityAtOnceWhileTheEyeDrifts)
{
    BallWorld world(longRow());
    Camera camera;
    Player& ball = world.player;
    world.act(&Player::turnRight);   // toward +x, along the row, to its far end
    for (int i = 0; i < 5; ++i) {
        world.act(&Player::moveForward);
    }
    for (int i = 0; i < 300; ++i) {
        world.frame();
        camera.update(ball);
    }
    const Vec3 settled = camera.eye;

    // Off the end of the row: the roll turns gravity from -z to -x.
    ASSERT_TRUE(world.press(&Player::moveForward));
    int frames = 0;
    while (ball.Gravity.z < -0.5f && frames < 100) {
        world.frame();
        camera.update(ball);
        ++frames;
    }
    while (ball.animateRotation && frames < 100) {
        world.frame();
        camera.update(ball);
        ++frames;
    }
    expectNearVec(ball.Gravity, Vec3(-1, 0, 0), 1e-5f);
    camera.apply(640, 480, ball);
    Matrix view = readMatrix(GL_MODELVIEW_MATRIX);
    Vec3 up = viewUp(view);
    EXPECT_GT(up.x, 0.6f);
    EXPECT_NEAR(up.y, 0.0f, 1e-4f);
    // The eye is still well short of its new place 2.75 behind and 1.6 above.
    EXPECT_GT(length(camera.eye - camera.followTarget), 1.0f);
    EXPECT_GT(length(camera.eye - settled), 0.1f);
}

TEST(Camera, LookAroundSweepsAheadAndBack)
{
    BallWorld world(longRow());
    Camera camera;
    for (int i = 0; i < 400; ++i) {
        camera.update(world.player);
    }
    const Vec3 rest = camera.eye;
    camera.lookAround = true;
    for (int i = 0; i <= 50; ++i) {
        camera.update(world.player);
    }
    EXPECT_EQ(camera.lookFrame, 51);
    EXPECT_NEAR(camera.lookAmount, 4.5f, 1e-6f);
    expectNearVec(camera.lookOffset, Vec3(0, 4.5f, 0), 1e-6f);

    camera.apply(800, 600, world.player);
    expectSeenAt(readMatrix(GL_MODELVIEW_MATRIX), rest + Vec3(0, 4.5f, 0), world.player.Position + Vec3(0, 2.25f, 0));

    // Setting the flag again mid-sweep does not restart it.
    camera.lookAround = true;
    for (int i = 0; i < 49; ++i) {
        camera.update(world.player);
    }
    EXPECT_TRUE(camera.lookAround);
    EXPECT_EQ(camera.lookFrame, 100);
    camera.update(world.player);
    EXPECT_FALSE(camera.lookAround);
    EXPECT_EQ(camera.lookFrame, 0);
    // The last frame's small offset stays until the next sweep.
    EXPECT_NEAR(camera.lookOffset.y, 4.5f * std::sin(0.99 * 3.14159265358979), 1e-5f);
}

TEST(Camera, OrbitCirclesTheOriginAndKeepsTheLookOffset)
{
    Camera camera;
    camera.lookOffset = Vec3(0, 0.5f, 0);
    camera.orbit(0.0f);
    expectNearVec(camera.eye, Vec3(14, 0, 7), 1e-6f);
    camera.orbit(31.4159265f);   // a quarter circle at 0.05 radians per second
    expectNearVec(camera.eye, Vec3(0, 14, 7), 1e-4f);
    expectNearVec(camera.lookOffset, Vec3(0, 0.5f, 0), 0);
}

TEST(Camera, ApplySetsViewportClearAndPerspective)
{
    BallWorld world(longRow());
    Camera camera;
    camera.orbit(0.0f);
    camera.apply(400, 200, world.player);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 400);
    EXPECT_EQ(viewport[3], 200);
    GLfloat pixel[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_FLOAT, pixel);
    EXPECT_NEAR(pixel[0], 0.0f, 0.01f);
    EXPECT_NEAR(pixel[1], 0.0f, 0.01f);
    EXPECT_NEAR(pixel[2], 0.5f, 0.01f);

    Matrix projection = readMatrix(GL_PROJECTION_MATRIX);
    const float cot30 = 1.0f / std::tan(30.0f * 3.14159265f / 180.0f);
    EXPECT_NEAR(projection[5], cot30, 1e-4f);
    EXPECT_NEAR(projection[0], cot30 / 2.0f, 1e-4f);
    // Near plane 1 and far plane 130: depth maps -1 at z = -1 and +1 at z = -130.
    EXPECT_NEAR(projection[10], -(130.0f + 1.0f) / (130.0f - 1.0f), 1e-5f);
    EXPECT_NEAR(projection[14], -2.0f * 130.0f / (130.0f - 1.0f), 1e-5f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    // A minimised window (height 0) must not poison the projection.
    camera.apply(400, 0, world.player);
    projection = readMatrix(GL_PROJECTION_MATRIX);
    for (GLfloat value : projection) {
        EXPECT_TRUE(std::isfinite(value));
    }
}
