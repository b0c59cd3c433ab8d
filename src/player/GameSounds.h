#pragma once
// The game's six sounds: looping background music and five effects, all loaded whole.

#include "media/ofSoundPlayer.h"

inline constexpr int GAME_VOLUME_MAX = 10;

class GameSounds {
public:
    // Loads the six files from the data folder and sets their volume and looping; the music
    // starts playing as soon as it is loaded. A missing file is reported by its player and
    // the game goes on without that sound.
    void load();
    // Lets the audio engine advance; called at the end of every application update.
    void update();

    void playBounce();   // the ball lands after a jump
    void playBonus();    // a coin is collected
    void playKey();      // a die is collected
    void playWin();      // the finish is reached
    void playLose();     // the ball falls out of the world or the stage time runs out

    // Stops the music if it plays, otherwise starts it again from its beginning.
    void toggleMusic();

    // The player's volumes, 0 (silent) to GAME_VOLUME_MAX (each sound at the volume it was
    // made for), clamped to that range. The music's applies at once; the effects' to every
    // effect, those playing and those started later. Either may be set before load.
    void setMusicVolume(int level);
    void setEffectsVolume(int level);
    int getMusicVolume() const { return musicLevel; }
    int getEffectsVolume() const { return effectsLevel; }
    // The coin's sound, for the options screen to let a new effects volume be heard.
    void playEffectSample();

    ofSoundPlayer music;
    ofSoundPlayer bounceSound;
    ofSoundPlayer bonusSound;
    ofSoundPlayer keySound;
    ofSoundPlayer winSound;
    ofSoundPlayer loseSound;

private:
    void applyMusicVolume();
    void applyEffectsVolume();

    int musicLevel = 10;     // 0 to GAME_VOLUME_MAX
    int effectsLevel = 10;
};
