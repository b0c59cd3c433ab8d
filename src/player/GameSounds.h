#pragma once
// The game's six sounds: looping background music and five effects, all loaded whole.

#include "media/ofSoundPlayer.h"

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

    ofSoundPlayer music;
    ofSoundPlayer bounceSound;
    ofSoundPlayer bonusSound;
    ofSoundPlayer keySound;
    ofSoundPlayer winSound;
    ofSoundPlayer loseSound;
};
