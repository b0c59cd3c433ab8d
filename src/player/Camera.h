#pragma once
// The view. While a stage is played it trails the ball in the ball's own frame (behind along
// Front, above against Gravity) with per-frame exponential smoothing; a look-around sweeps
// the eye ahead along the heading and back over 100 frames. Otherwise it circles the origin.

#include "player/Vec3.h"

class Player;

class Camera {
public:
    // Once per frame while a stage is played, after the ball's update.
    void update(const Player& player);
    // Once per frame while no stage is played; seconds since the program started.
    void orbit(float seconds);
    // The same circle scaled to frame a whole stage: around `centre`, far and high enough
    // that a sphere of `radius` (world units) about it fits the view. apply() then looks at
    // `centre` instead of the ball, until the next orbit or update.
    void orbitFramed(float seconds, const Vec3& centre, float radius);
    // At the start of every frame's drawing: viewport, clear, projection and view.
    // width and height are the window size in pixels.
    void apply(int width, int height, const Player& player);

    Vec3 eye;             // smoothed eye position
    Vec3 lookOffset;      // look-around displacement of the eye
    Vec3 followTarget;    // where the eye is heading
    bool lookAround = false;
    int lookFrame = 0;    // 0..100 within a sweep
    float lookAmount = 0.0f;
    bool framed = false;  // orbitFramed placed the eye: look at frameCentre
    Vec3 frameCentre;
};
