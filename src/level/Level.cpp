#include "level/Level.h"

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
