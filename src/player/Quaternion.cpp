#include "player/Quaternion.h"

#include <cmath>
#include <numbers>

Quaternion Quaternion::fromAxisAngle(float angleDegrees, const Vec3& axis)
{
    Vec3 unitAxis = normalized(axis);
    if (lengthSquared(unitAxis) == 0.0f) {
        return Quaternion(1.0f, Vec3());
    }
    double h = angleDegrees * 0.5 * std::numbers::pi / 180.0;
    return Quaternion(static_cast<float>(std::cos(h)), unitAxis * static_cast<float>(std::sin(h)));
}

Quaternion operator*(const Quaternion& p, const Quaternion& q)
{
    return Quaternion(p.re * q.re - dot(p.v, q.v), (q.v * p.re + p.v * q.re) + cross(p.v, q.v));
}

Quaternion conjugate(const Quaternion& q) { return Quaternion(q.re, q.v * -1.0f); }

Vec3 rotate(const Quaternion& q, const Vec3& v)
{
    return ((q * Quaternion(0.0f, v)) * conjugate(q)).v;
}
