#include "player/GameSounds.h"

void GameSounds::load()
{
    music.loadSound("techno.wav", false);
    music.setVolume(0.15f);
    music.setLoop(true);
    music.play();

    struct Effect {
        ofSoundPlayer& player;
        const char* file;
        float volume;
    };
    const Effect effects[] = {
        {bounceSound, "bounce.wav", 0.5f},
        {bonusSound, "bonus.wav", 1.0f},
        {keySound, "key.wav", 1.0f},
        {winSound, "win.wav", 0.5f},
        {loseSound, "lose.wav", 0.5f},
    };
    for (const Effect& effect : effects) {
        effect.player.loadSound(effect.file, false);
        effect.player.setVolume(effect.volume);
        effect.player.setLoop(false);
    }
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
