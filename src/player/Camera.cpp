#include "player/Camera.h"

#include "player/Player.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

const int LOOK_FRAMES = 100;
const float LOOK_DISTANCE = 4.5f;    // farthest the eye moves ahead, mid-sweep
const float FOLLOW_BEHIND = 2.75f;
const float FOLLOW_ABOVE = 1.6f;
const float KEEP = 0.93f;            // share of the old eye kept per frame
const float ORBIT_RADIUS = 14.0f;
const float ORBIT_HEIGHT = 7.0f;
const float ORBIT_SPEED = 0.05f;     // radians per second
const float FAR_PLANE = 130.0f;      // world units
const float FRAMED_FAR_PLANE = 260.0f;

} // namespace

void Camera::update(const Player& player)
{
    framed = false;
    if (lookAround) {
        if (lookFrame >= LOOK_FRAMES) {
            // The offset of the last frame stays; only a new sweep changes it.
            lookAround = false;
            lookFrame = 0;
        } else {
            lookAmount = static_cast<float>(LOOK_DISTANCE * std::sin(lookFrame / static_cast<double>(LOOK_FRAMES) * std::numbers::pi));
            lookOffset = player.Front * lookAmount;
            ++lookFrame;
        }
    }

    followTarget = (player.Position + player.Front * -FOLLOW_BEHIND) + player.Gravity * -FOLLOW_ABOVE;
    eye = eye * KEEP + followTarget * (1.0f - KEEP);
}

void Camera::orbit(float seconds)
{
    framed = false;
    float a = seconds * ORBIT_SPEED;
    eye = Vec3(ORBIT_RADIUS * std::cos(a), ORBIT_RADIUS * std::sin(a), ORBIT_HEIGHT);
}

void Camera::orbitFramed(float seconds, const Vec3& centre, float radius)
{
    // The view's half angle is 30 degrees vertically: a sphere of radius r fits at a distance
    // of r / sin 30 = 2r. Never nearer than the plain orbit, never beyond the far plane.
    const float distance = std::clamp(2.2f * radius, ORBIT_RADIUS, FAR_PLANE * 0.5f);
    const float a = seconds * ORBIT_SPEED;
    const float across = distance * 0.89f;   // the eye 27 degrees above the stage's middle
    eye = centre + Vec3(across * std::cos(a), across * std::sin(a), distance * 0.45f);
    frameCentre = centre;
    framed = true;
}

void Camera::apply(int width, int height, const Player& player)
{
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.5f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // A minimised window reports a height of 0; keep the projection finite.
    double aspect = static_cast<double>(width) / (height > 0 ? height : 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A framing eye may stand far out, up to half the sky's radius from the origin: the sky
    // beyond it must not be cut off by the far plane.
    gluPerspective(60.0, aspect, 1.0, framed ? FRAMED_FAR_PLANE : FAR_PLANE);

    Vec3 from = eye + lookOffset;
    Vec3 at = framed ? frameCentre : player.Position + lookOffset * 0.5f;
    Vec3 up = -player.Gravity;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(from.x, from.y, from.z, at.x, at.y, at.z, up.x, up.y, up.z);
}
