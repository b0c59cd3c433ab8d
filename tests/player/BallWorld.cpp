#include "BallWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <sstream>

namespace {

void putLittleEndian(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

void putPoint(std::ostringstream& out, const Vec3& p)
{
    out << p.x << ' ' << p.y << ' ' << p.z << '\n';
}

const char* const SOUND_FILES[] = {"techno.wav", "bounce.wav", "bonus.wav", "key.wav", "win.wav", "lose.wav"};

// Writes the stage and sound files and makes the scratch folder the working directory
// before any member that reads them is built.
const std::filesystem::path& prepare(const testsupport::ScratchDir& dir, const StageLayout& stage, bool withSounds)
{
    dir.write("data/levels/level1.txt", stageText(stage));
    if (withSounds) {
        for (const char* name : SOUND_FILES) {
            dir.write(std::string("data/") + name, toneWav(2.0f));
        }
    }
    return dir.path();
}

} // namespace

std::string stageText(const StageLayout& stage)
{
    std::ostringstream out;
    out.precision(9);
    out << "face.png\nsky.png\n" << stage.fallRadius << "\n120\n";
    putPoint(out, stage.start);
    putPoint(out, stage.target);
    out << stage.dice.size() << '\n';
    for (const Vec3& p : stage.dice) {
        putPoint(out, p);
    }
    out << stage.coins.size() << '\n';
    for (const Vec3& p : stage.coins) {
        putPoint(out, p);
    }
    out << stage.cubes.size() << '\n';
    for (const Vec3& p : stage.cubes) {
        putPoint(out, p);
    }
    out << "a test stage\n";
    return out.str();
}

std::string toneWav(float seconds)
{
    const uint32_t rate = 22050;
    const uint32_t samples = static_cast<uint32_t>(rate * seconds);
    std::string wav = "RIFF";
    putLittleEndian(wav, 36 + samples * 2, 4);
    wav += "WAVEfmt ";
    putLittleEndian(wav, 16, 4);
    putLittleEndian(wav, 1, 2);          // PCM
    putLittleEndian(wav, 1, 2);          // mono
    putLittleEndian(wav, rate, 4);
    putLittleEndian(wav, rate * 2, 4);   // bytes per second
    putLittleEndian(wav, 2, 2);          // block align
    putLittleEndian(wav, 16, 2);         // bits per sample
    wav += "data";
    putLittleEndian(wav, samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i) {
        auto sample = static_cast<int16_t>(8000 * std::sin(2 * 3.14159265 * 440 * i / rate));
        putLittleEndian(wav, static_cast<uint16_t>(sample), 2);
    }
    return wav;
}

BallWorld::BallWorld(const StageLayout& stage, bool withSounds)
    : glReady(testsupport::ensureGlContext()), cwd(prepare(dir, stage, withSounds)), player(Vec3())
{
    EXPECT_TRUE(glReady) << "no GL context";
    int stageNumber = 1;
    int totalScore = 0;
    level.load(stageNumber, totalScore);
    if (withSounds) {
        sounds.load();
    }
    player.reset(level.startPosition);
    player.stageRunning = true;
}

bool BallWorld::press(bool Player::*action)
{
    if (!player.enableMovement) {
        return false;
    }
    player.enableMovement = false;
    player.*action = true;
    return true;
}

void BallWorld::frame()
{
    player.update(level, sounds);
    sounds.update();
}

int BallWorld::runUntilIdle(int limit)
{
    for (int frames = 1; frames <= limit; ++frames) {
        frame();
        if (player.enableMovement) {
            return frames;
        }
    }
    return -1;
}

int BallWorld::act(bool Player::*action, int limit)
{
    if (!press(action)) {
        ADD_FAILURE() << "the ball did not accept the action";
        return -1;
    }
    return runUntilIdle(limit);
}

void expectNearVec(const Vec3& actual, const Vec3& expected, float tolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance) << "x";
    EXPECT_NEAR(actual.y, expected.y, tolerance) << "y";
    EXPECT_NEAR(actual.z, expected.z, tolerance) << "z";
}
