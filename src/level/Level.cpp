#include "level/Level.h"

#include <algorithm>
#include <cmath>

Level::Level()
{
    faceImage.setUseTexture(false);
    skyImage.setUseTexture(false);
}

void Level::update()
{
    ++collectibleAngle;
    if (collectibleAngle >= 360) {
        collectibleAngle = 0;
    }
}

void Level::bounds(Vec3& centre, float& radius) const
{
    centre = Vec3(0, 0, 0);
    radius = 0.0f;
    if (cubes.empty()) {
        return;
    }
    Vec3 low = cubes.front().position;
    Vec3 high = low;
    for (const Cube& cube : cubes) {
        low = Vec3(std::min(low.x, cube.position.x), std::min(low.y, cube.position.y), std::min(low.z, cube.position.z));
        high = Vec3(std::max(high.x, cube.position.x), std::max(high.y, cube.position.y), std::max(high.z, cube.position.z));
    }
    // Cube centres: a cube reaches one unit beyond its centre every way.
    const Vec3 half = (high - low) * 0.5f + Vec3(1, 1, 1);
    centre = (low + high) * 0.5f;
    radius = std::sqrt(half.x * half.x + half.y * half.y + half.z * half.z);
}

int Level::remainingDice() const
{
    return static_cast<int>(dice.size());
}

int Level::remainingCoins() const
{
    return static_cast<int>(coins.size());
}

void Level::clear()
{
    cubes.clear();
    dice.clear();
    coins.clear();
}
