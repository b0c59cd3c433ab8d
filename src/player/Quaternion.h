#pragma once
// A rotation as a real part and a vector part. Rotations compose by the product, the newer
// rotation on the left: new orientation = step * old orientation.

#include "player/Vec3.h"

class Quaternion {
public:
    Quaternion() = default;
    Quaternion(float re, const Vec3& v) : re(re), v(v) {}

    // Rotation by angleDegrees about axis (right-handed; the axis need not be unit length).
    // Built in double precision and stored as float. An axis of zero length gives the
    // identity: turning about no axis leaves every vector where it was.
    static Quaternion fromAxisAngle(float angleDegrees, const Vec3& axis);

    float re = 0.0f;
    Vec3 v;
};

Quaternion operator*(const Quaternion& p, const Quaternion& q);
Quaternion conjugate(const Quaternion& q);
// The vector part of q * (0, v) * conjugate(q).
Vec3 rotate(const Quaternion& q, const Vec3& v);
