#include "player/GameSounds.h"

#include <algorithm>

namespace {

constexpr float MUSIC_VOLUME = 0.15f;   // the music under the effects, at full volume

struct Effect {
    ofSoundPlayer GameSounds::*player;
    const char* file;
    float volume;   // at full volume
};
constexpr Effect EFFECTS[] = {
    {&GameSounds::bounceSound, "bounce.wav", 0.5f},
    {&GameSounds::bonusSound, "bonus.wav", 1.0f},
    {&GameSounds::keySound, "key.wav", 1.0f},
    {&GameSounds::winSound, "win.wav", 0.5f},
    {&GameSounds::loseSound, "lose.wav", 0.5f},
};

// Loudness is heard roughly as the square of the amplitude's share, so the steps of a 0 to 10
// setting sound about even instead of crowding into the top few.
float gainOf(int level)
{
    const float share = static_cast<float>(level) / GAME_VOLUME_MAX;
    return share * share;
}

} // namespace

void GameSounds::load()
{
    music.loadSound("techno.wav", false);
    applyMusicVolume();
    music.setLoop(true);
    music.play();

    for (const Effect& effect : EFFECTS) {
        (this->*effect.player).loadSound(effect.file, false);
        (this->*effect.player).setLoop(false);
    }
    applyEffectsVolume();
}

void GameSounds::update()
{
    ofSoundUpdate();
}

void GameSounds::playBounce() { bounceSound.play(); }
void GameSounds::playBonus() { bonusSound.play(); }
void GameSounds::playKey() { keySound.play(); }
void GameSounds::playWin() { winSound.play(); }
void GameSounds::playLose() { loseSound.play(); }

void GameSounds::toggleMusic()
{
    if (music.getIsPlaying()) {
        music.stop();
    } else {
        music.play();
    }
}

void GameSounds::setMusicVolume(int level)
{
    musicLevel = std::clamp(level, 0, GAME_VOLUME_MAX);
    applyMusicVolume();
}

void GameSounds::setEffectsVolume(int level)
{
    effectsLevel = std::clamp(level, 0, GAME_VOLUME_MAX);
    applyEffectsVolume();
}

void GameSounds::playEffectSample() { bonusSound.play(); }

void GameSounds::applyMusicVolume()
{
    music.setVolume(MUSIC_VOLUME * gainOf(musicLevel));
}

void GameSounds::applyEffectsVolume()
{
    for (const Effect& effect : EFFECTS) {
        (this->*effect.player).setVolume(effect.volume * gainOf(effectsLevel));
    }
}
