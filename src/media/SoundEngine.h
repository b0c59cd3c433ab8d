#pragma once
// The audio engine under the sound player, on OpenAL Soft: one device and context, a pool of
// channels (OpenAL sources), sounds decoded whole (see SoundDecoder.h), a master volume and
// stop for every channel, and a spectrum of what is playing.
//
// When no output device opens (a server, a test machine), a loopback device (SoundLoopback.h)
// takes its place and is rendered as wall time passes, on every update and before every
// channel call, so channels start, loop, end and report as they would with a speaker; the
// game then runs silent, which one notice says (and nothing else on the console).
//
// Calls on a channel whose play has ended, was stopped or was taken over by a newer play do
// nothing (queries report "not playing"); so do all calls while the engine is closed.

#include "media/SoundDecoder.h"
#include "media/SoundLoopback.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

using SoundId = unsigned int;   // a loaded sound; 0 is none

// One play of a sound on one channel, as handed out by SoundEngine::playSound.
struct SoundChannel {
    int slot = -1;              // channel index, -1 for none
    unsigned long long play = 0;   // which play on that channel; 0 for none
};

class SoundEngine {
public:
    static constexpr int MAX_CHANNELS = 32;
    static constexpr int LOOPBACK_RATE = SoundLoopback::RATE;
    static constexpr int MAX_SPECTRUM_BINS = 8192;

    SoundEngine() = default;
    ~SoundEngine();
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    // Opens the default output device, or the loopback device when that fails, with up to
    // `channelCount` channels. Returns false (and stays closed) only when neither opens.
    bool open(int channelCount);
    // Stops every channel and frees every sound, the channels, the context and the device.
    void close();
    bool isOpen() const { return context != nullptr; }
    bool isLoopback() const { return loopback.isOpen(); }
    // The loopback device, for tests that place frames themselves and read back the mix.
    SoundLoopback& loopbackDevice() { return loopback; }
    int channelCount() const { return static_cast<int>(slots.size()); }

    // Per-frame housekeeping: renders the loopback device up to now, then starts the channels
    // handed out since the last update (so their settings apply from their first sample).
    void update();

    // The master group: every channel plays through it.
    void setMasterVolume(float volume);
    void stopAll();

    // Decodes a whole file into a new sound; 0 when it cannot be read (SoundDecoder reports why).
    SoundId createSound(const std::string& path);
    // Length in PCM frames; false for an unknown sound.
    bool getSoundLength(SoundId sound, unsigned int& frames) const;
    // Stops every channel playing the sound, then frees it.
    void releaseSound(SoundId sound);

    // Plays the sound from its start on a free channel (when every channel is busy, the oldest
    // play is cut). The channel sounds from the next update on, or once unpaused. Returns a
    // channel with slot -1 for an unknown sound or a closed engine.
    SoundChannel playSound(SoundId sound, bool paused);

    // The channel's playback frequency in Hz (the sound's own rate until changed).
    bool getFrequency(SoundChannel channel, float& hz) const;
    void setFrequency(SoundChannel channel, float hz);
    void setVolume(SoundChannel channel, float volume);   // 0 silent, 1 full; above 1 is held at 1
    // 0 left, 0.5 centre, 1 right. Stereo sounds keep their channels where they are.
    void setPan(SoundChannel channel, float pan);
    void setLooping(SoundChannel channel, bool looping);
    void setPaused(SoundChannel channel, bool paused);
    void stop(SoundChannel channel);
    // True from playSound until the play ends or is stopped, paused or not.
    bool isPlaying(SoundChannel channel);
    // Position in PCM frames of the sound; positions past its end are ignored.
    void setPosition(SoundChannel channel, unsigned int frame);
    bool getPosition(SoundChannel channel, unsigned int& frame);

    // Magnitudes of `count` frequency bins (0 to half the output rate) of the left channel of
    // what the playing channels are sounding now. Writes nothing for a count below 1; all zero
    // when nothing plays, and for a count that is not a power of two up to MAX_SPECTRUM_BINS.
    void getSpectrum(float* out, int count);

private:
    struct Slot {
        ALuint source = 0;
        unsigned long long play = 0;   // 0: never used
        SoundId sound = 0;
        bool reserved = false;   // handed out, not yet stopped or found ended
        bool started = false;    // alSourcePlay done for this play
        bool paused = false;
        float frequency = 0.0f;  // Hz
    };
    struct Sound {
        DecodedSound pcm;
        ALuint buffer = 0;
    };

    bool openOutputDevice();
    void makeSources(int count);
    Slot* find(SoundChannel channel);
    const Slot* find(SoundChannel channel) const;
    bool slotIsFree(const Slot& slot) const;
    void stopSlot(Slot& slot);
    void catchUp() { loopback.catchUp(); }

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    std::vector<Slot> slots;
    std::map<SoundId, Sound> sounds;
    SoundId lastSoundId = 0;              // ids are never reused, so stale ones stay harmless
    unsigned long long lastPlay = 0;      // likewise for plays
    float masterVolume = 1.0f;
    int outputRate = LOOPBACK_RATE;       // frames per second of the device

    SoundLoopback loopback;               // open when no output device did
};
