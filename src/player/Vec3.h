#pragma once
// The game's plain vector: positions, directions and colours, in world units (half a cube
// edge) for positions. Exactly three floats and no virtual functions, so arrays of Vec3 can
// be handed to OpenGL as packed float triples.

class Vec3 {
public:
    Vec3() = default;
    Vec3(float x, float y, float z) : x(x), y(y), z(z) {}

    // Rounds each component to the nearest whole number, halves away from zero, in place.
    // Returns *this so a temporary can be snapped and copied out in one expression.
    Vec3& snapToWhole();
    // For a direction that stands for an axis: rounds it as snapToWhole does when that gives
    // a unit axis vector (so a drifted axis comes back bit for bit), and otherwise turns it
    // into the axis nearest to it in direction (its largest component, ties going to x, then
    // y). A vector with no finite non-zero component becomes the zero vector.
    Vec3& snapToAxis();

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

static_assert(sizeof(Vec3) == 3 * sizeof(float), "Vec3 must stay three packed floats");

Vec3 operator+(const Vec3& a, const Vec3& b);
Vec3 operator-(const Vec3& a, const Vec3& b);
Vec3 operator*(const Vec3& a, float s);
Vec3 operator-(const Vec3& a);   // a * -1

// Component-wise within 0.0001 (strictly less), so directions that drifted through
// repeated rotation still compare equal to the axis vectors they stand for.
bool operator==(const Vec3& a, const Vec3& b);
bool operator!=(const Vec3& a, const Vec3& b);

float dot(const Vec3& a, const Vec3& b);
Vec3 cross(const Vec3& a, const Vec3& b);
float lengthSquared(const Vec3& a);
float length(const Vec3& a);

// a scaled to unit length. The zero vector (or one so short that its length underflows to
// zero) has no direction: the result is then the zero vector, never NaN, so a bad axis
// makes a rotation do nothing instead of poisoning every value it touches afterwards.
Vec3 normalized(const Vec3& a);
