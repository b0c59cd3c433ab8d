#pragma once
// Plays one loaded sound file at a time per object through the process-wide audio engine,
// which starts on the first load (or mix call) and is closed by ofSoundShutdown at exit.

#include "media/SoundEngine.h"

#include <string>

class ofSoundPlayer {
public:
    ofSoundPlayer() = default;
    virtual ~ofSoundPlayer();
    ofSoundPlayer(const ofSoundPlayer&) = delete;
    ofSoundPlayer& operator=(const ofSoundPlayer&) = delete;

    // Loads the whole file (the name goes through ofToDataPath) and turns multi-play off.
    // A file that cannot be loaded is reported and leaves the player unloaded.
    void loadSound(std::string fileName, bool stream = false);
    void unloadSound();
    // Starts the sound from its beginning on a new channel; without multi-play, and always
    // when looping, the previous play is stopped first. Nothing plays when nothing is loaded.
    void play();
    void stop();

    // Before the first play these only store the value, which every play then applies.
    void setVolume(float vol);     // 0 to 1
    void setPan(float p);          // 0 left, 0.5 centre, 1 right
    void setSpeed(float spd);      // playback rate factor
    void setPaused(bool bP);       // only acts on a playing sound
    void setLoop(bool bLp);
    void setMultiPlay(bool bMp);
    void setPosition(float pct);   // 0 to 1 of the length; only acts on a playing sound

    float getPosition();           // 0 to 1; 0 when not playing
    bool getIsPlaying();
    float getSpeed() { return speed; }
    float getPan() { return pan; }

    bool isStreaming = false;      // opened as a stream (the sound is decoded whole either way)
    bool bMultiPlay = false;       // plays may overlap
    bool bLoop = false;
    bool bLoadedOk = false;
    bool bPaused = false;          // new plays start paused
    float pan = 0.5f;
    float volume = 1.0f;
    float internalFreq = 44100.0f; // the sound's own playback frequency, Hz
    float speed = 1.0f;
    unsigned int length = 0;       // PCM frames
    int result = 0;                // 0 when the last load succeeded
    SoundChannel channel;          // the channel of the last play
    SoundId sound = 0;
};

// The whole mix.
void ofSoundUpdate();                 // once per frame; nothing before the engine has started
void ofSoundStopAll();
void ofSoundSetVolume(float vol);     // master volume, 0 to 1
// Magnitudes of what plays, averaged into nBands bands (1 to 8192) from low to high
// frequency, each at most 1. Points into a buffer that the next call overwrites.
float* ofSoundGetSpectrum(int nBands);
// ofSoundShutdown() is declared in media/ofLibraries.h.

// The engine every player plays through, for code that needs more than the calls above
// (the tests read the loopback device's mix through it).
SoundEngine& ofSoundGetEngine();
