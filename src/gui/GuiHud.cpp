#include "gui/Gui.h"

#include "level/Level.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Whole seconds of a time, truncated toward zero. Stage files may hold any finite limit;
// the clamp keeps the conversion defined and the time bonus (10 points a second) inside int.
constexpr float MAX_WHOLE_SECONDS = 200000000.0f;

int wholeSeconds(float t)
{
    return static_cast<int>(std::clamp(std::trunc(t), -MAX_WHOLE_SECONDS, MAX_WHOLE_SECONDS));
}

} // namespace

void Gui::updateHud(float timeLeft, Level& level)
{
    tallyPending = true;
    newHighscore = false;
    minutes = wholeSeconds(timeLeft) / 60;
    seconds = wholeSeconds(timeLeft) % 60;
    message = level.message;
    timeColour = timeLeft <= 10.0f ? Vec3(1, 0, 0) : Vec3(0.9f, 0.9f, 0);
    diceCollected = level.diceTotal - level.remainingDice();
    coinsCollected = level.coinsTotal - level.remainingCoins();
}

void Gui::drawHud(Level& level)
{
    const float cx = width * 0.5f;
    timeText = std::to_string(minutes) + ":" + (seconds < 10 ? "0" : "") + std::to_string(seconds);
    diceText = std::to_string(diceCollected) + "/" + std::to_string(level.diceTotal);

    glColor4f(timeColour.x, timeColour.y, timeColour.z, 0.85f);
    largeFont.drawString(timeText, cx - 60, 60);
    largeFont.drawString(diceText, 35, static_cast<float>(height - 40));
    // The stage message runs diagonally up to the right from near the bottom right.
    glPushMatrix();
    {
        glTranslatef(static_cast<float>(width - 400), height * 0.9f, 0.0f);
        glRotatef(-45.0f, 0.0f, 0.0f, 1.0f);
        mediumFont.drawString(message, 0, 0);
    }
    glPopMatrix();
}

