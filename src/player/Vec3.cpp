#include "player/Vec3.h"

#include <cmath>

namespace {

// Halves away from zero; computed in double so values just below a half are not pushed over
// it by float rounding, and with trunc so huge values cannot overflow an integer cast.
float roundHalfAway(float v)
{
    if (v < 0.0f) {
        return static_cast<float>(std::trunc(static_cast<double>(v) - 0.5));
    }
    return static_cast<float>(std::trunc(static_cast<double>(v) + 0.5));
}

bool nearlyEqual(float a, float b)
{
    float difference = a - b;
    return std::fabs(difference) < 0.0001;
}

} // namespace

Vec3& Vec3::snapToWhole()
{
    x = roundHalfAway(x);
    y = roundHalfAway(y);
    z = roundHalfAway(z);
    return *this;
}

Vec3& Vec3::snapToAxis()
{
    Vec3 rounded = *this;
    rounded.snapToWhole();
    const float sum = std::fabs(rounded.x) + std::fabs(rounded.y) + std::fabs(rounded.z);
    if (sum == 1.0f) {
        *this = rounded;
        return *this;
    }
    // NaN compares false everywhere, so such a component never wins.
    const float ax = std::fabs(x);
    const float ay = std::fabs(y);
    const float az = std::fabs(z);
    auto sign = [](float c) { return c < 0.0f ? -1.0f : 1.0f; };
    if (ax > 0.0f && std::isfinite(ax) && !(ay > ax && std::isfinite(ay)) && !(az > ax && std::isfinite(az))) {
        *this = Vec3(sign(x), 0.0f, 0.0f);
    } else if (ay > 0.0f && std::isfinite(ay) && !(az > ay && std::isfinite(az))) {
        *this = Vec3(0.0f, sign(y), 0.0f);
    } else if (az > 0.0f && std::isfinite(az)) {
        *this = Vec3(0.0f, 0.0f, sign(z));
    } else {
        *this = Vec3();
    }
    return *this;
}

Vec3 operator+(const Vec3& a, const Vec3& b) { return Vec3(a.x + b.x, a.y + b.y, a.z + b.z); }
Vec3 operator-(const Vec3& a, const Vec3& b) { return Vec3(a.x - b.x, a.y - b.y, a.z - b.z); }
Vec3 operator*(const Vec3& a, float s) { return Vec3(a.x * s, a.y * s, a.z * s); }
Vec3 operator-(const Vec3& a) { return a * -1.0f; }

bool operator==(const Vec3& a, const Vec3& b)
{
    return nearlyEqual(a.x, b.x) && nearlyEqual(a.y, b.y) && nearlyEqual(a.z, b.z);
}

bool operator!=(const Vec3& a, const Vec3& b) { return !(a == b); }

float dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 cross(const Vec3& a, const Vec3& b)
{
    return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float lengthSquared(const Vec3& a) { return dot(a, a); }

float length(const Vec3& a) { return std::sqrt(lengthSquared(a)); }

Vec3 normalized(const Vec3& a)
{
    float len = length(a);
    if (!(len > 0.0f)) {
        return Vec3();
    }
    return a * (1.0f / len);
}
