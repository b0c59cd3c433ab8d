#include "media/SoundEngine.h"

#include "media/SoundOutputDevice.h"
#include "media/SoundSpectrum.h"
#include "media/ofUtils.h"

#include <algorithm>
#include <cmath>

namespace {

bool finite(float v) { return std::isfinite(v); }

} // namespace

SoundEngine::~SoundEngine()
{
    close();
}

bool SoundEngine::open(int channelCount)
{
    if (isOpen()) {
        return true;
    }
    if (!openOutputDevice()) {
        if (!loopback.open(device, context)) {
            ofLog(OF_LOG_WARNING, "sound: no output device and no loopback device could be opened, the game runs without sound");
            return false;
        }
        ofLog(OF_LOG_WARNING, "sound: no output device could be opened, the game runs silent");
        outputRate = LOOPBACK_RATE;
    }
    makeSources(std::clamp(channelCount, 1, MAX_CHANNELS));
    masterVolume = 1.0f;
    alListenerf(AL_GAIN, masterVolume);
    return true;
}

bool SoundEngine::openOutputDevice()
{
    device = openDefaultOutputDevice();
    if (device == nullptr) {
        return false;
    }
    context = alcCreateContext(device, nullptr);
    if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
        if (context != nullptr) {
            alcDestroyContext(context);
            context = nullptr;
        }
        alcCloseDevice(device);
        device = nullptr;
        return false;
    }
    ALCint rate = 0;
    alcGetIntegerv(device, ALC_FREQUENCY, 1, &rate);
    outputRate = rate > 0 ? rate : LOOPBACK_RATE;
    return true;
}

void SoundEngine::makeSources(int count)
{
    slots.clear();
    for (int i = 0; i < count; ++i) {
        ALuint source = 0;
        alGetError();
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR) {
            break;   // the device offers fewer sources: play with those
        }
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
        Slot slot;
        slot.source = source;
        slots.push_back(slot);
    }
}

void SoundEngine::close()
{
    if (!isOpen()) {
        return;
    }
    for (Slot& slot : slots) {
        alSourceStop(slot.source);
        alSourcei(slot.source, AL_BUFFER, 0);
        alDeleteSources(1, &slot.source);
    }
    slots.clear();
    for (auto& [id, sound] : sounds) {
        alDeleteBuffers(1, &sound.buffer);
    }
    sounds.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    context = nullptr;
    alcCloseDevice(device);
    device = nullptr;
    loopback.close();
}

void SoundEngine::update()
{
    if (!isOpen()) {
        return;
    }
    catchUp();
    for (Slot& slot : slots) {
        if (slot.reserved && !slot.started && !slot.paused) {
            alSourcePlay(slot.source);
            slot.started = true;
        }
    }
}

void SoundEngine::setMasterVolume(float volume)
{
    if (!isOpen() || !finite(volume)) {
        return;
    }
    catchUp();
    masterVolume = std::max(volume, 0.0f);
    alListenerf(AL_GAIN, masterVolume);
}

void SoundEngine::stopAll()
{
    if (!isOpen()) {
        return;
    }
    catchUp();
    for (Slot& slot : slots) {
        stopSlot(slot);
    }
}

SoundId SoundEngine::createSound(const std::string& path)
{
    if (!isOpen()) {
        return 0;
    }
    Sound sound;
    if (!decodeSoundFile(path, sound.pcm)) {
        return 0;
    }
    const ALenum format = sound.pcm.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    alGetError();
    alGenBuffers(1, &sound.buffer);
    alBufferData(sound.buffer, format, sound.pcm.samples.data(),
        static_cast<ALsizei>(sound.pcm.samples.size() * sizeof(int16_t)), sound.pcm.sampleRate);
    if (ALenum error = alGetError(); error != AL_NO_ERROR) {
        ofLog(OF_LOG_WARNING, "sound: [%s] the audio engine refused the samples (%s)", path.c_str(), alGetString(error));
        alDeleteBuffers(1, &sound.buffer);
        return 0;
    }
    SoundId id = ++lastSoundId;
    sounds.emplace(id, std::move(sound));
    return id;
}

bool SoundEngine::getSoundLength(SoundId sound, unsigned int& frames) const
{
    auto it = sounds.find(sound);
    if (it == sounds.end()) {
        return false;
    }
    frames = static_cast<unsigned int>(it->second.pcm.frames());
    return true;
}

void SoundEngine::releaseSound(SoundId sound)
{
    auto it = sounds.find(sound);
    if (it == sounds.end()) {
        return;
    }
    catchUp();
    for (Slot& slot : slots) {
        if (slot.sound == sound) {
            stopSlot(slot);
            alSourcei(slot.source, AL_BUFFER, 0);
            slot.sound = 0;
        }
    }
    alDeleteBuffers(1, &it->second.buffer);
    sounds.erase(it);
}

SoundChannel SoundEngine::playSound(SoundId sound, bool paused)
{
    auto it = sounds.find(sound);
    if (!isOpen() || it == sounds.end() || slots.empty()) {
        return {};
    }
    catchUp();

    // A free channel, or else the one whose play is the oldest.
    Slot* chosen = nullptr;
    for (Slot& slot : slots) {
        if (slotIsFree(slot)) {
            chosen = &slot;
            break;
        }
        if (chosen == nullptr || slot.play < chosen->play) {
            chosen = &slot;
        }
    }

    // Back to the defaults, so nothing of the channel's previous play carries over.
    const DecodedSound& pcm = it->second.pcm;
    alSourceStop(chosen->source);
    alSourcei(chosen->source, AL_BUFFER, static_cast<ALint>(it->second.buffer));
    alSourceRewind(chosen->source);
    alSourcef(chosen->source, AL_GAIN, 1.0f);
    alSourcef(chosen->source, AL_PITCH, 1.0f);
    alSourcei(chosen->source, AL_LOOPING, AL_FALSE);
    alSource3f(chosen->source, AL_POSITION, 0.0f, 0.0f, -1.0f);
    alSourcei(chosen->source, AL_DIRECT_CHANNELS_SOFT, pcm.channels == 2 ? AL_TRUE : AL_FALSE);

    chosen->play = ++lastPlay;
    chosen->sound = sound;
    chosen->reserved = true;
    chosen->started = false;
    chosen->paused = paused;
    chosen->frequency = static_cast<float>(pcm.sampleRate);
    return {static_cast<int>(chosen - slots.data()), chosen->play};
}

bool SoundEngine::getFrequency(SoundChannel channel, float& hz) const
{
    const Slot* slot = find(channel);
    if (slot == nullptr) {
        return false;
    }
    hz = slot->frequency;
    return true;
}

void SoundEngine::setFrequency(SoundChannel channel, float hz)
{
    Slot* slot = find(channel);
    auto it = slot != nullptr ? sounds.find(slot->sound) : sounds.end();
    if (it == sounds.end() || !finite(hz)) {
        return;
    }
    catchUp();
    // OpenAL plays no frequency below zero (no playing backwards): such a channel stands still.
    slot->frequency = hz;
    alSourcef(slot->source, AL_PITCH, std::max(hz, 0.0f) / static_cast<float>(it->second.pcm.sampleRate));
}

void SoundEngine::setVolume(SoundChannel channel, float volume)
{
    Slot* slot = find(channel);
    if (slot == nullptr || !finite(volume)) {
        return;
    }
    catchUp();
    alSourcef(slot->source, AL_GAIN, std::clamp(volume, 0.0f, 1.0f));
}

void SoundEngine::setPan(SoundChannel channel, float pan)
{
    Slot* slot = find(channel);
    if (slot == nullptr || !finite(pan)) {
        return;
    }
    catchUp();
    // On a unit circle around the listener: -1 is hard left, 0 straight ahead, +1 hard right.
    float x = std::clamp(pan, 0.0f, 1.0f) * 2.0f - 1.0f;
    alSource3f(slot->source, AL_POSITION, x, 0.0f, -std::sqrt(1.0f - x * x));
}

void SoundEngine::setLooping(SoundChannel channel, bool looping)
{
    Slot* slot = find(channel);
    if (slot == nullptr) {
        return;
    }
    catchUp();
    alSourcei(slot->source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
}

void SoundEngine::setPaused(SoundChannel channel, bool paused)
{
    Slot* slot = find(channel);
    if (slot == nullptr) {
        return;
    }
    catchUp();
    if (slot->started) {
        ALint state = AL_STOPPED;
        alGetSourcei(slot->source, AL_SOURCE_STATE, &state);
        if (paused && state == AL_PLAYING) {
            alSourcePause(slot->source);
        } else if (!paused && state == AL_PAUSED) {
            alSourcePlay(slot->source);
        }
    }
    slot->paused = paused;
}

void SoundEngine::stop(SoundChannel channel)
{
    Slot* slot = find(channel);
    if (slot == nullptr) {
        return;
    }
    catchUp();
    stopSlot(*slot);
}

bool SoundEngine::isPlaying(SoundChannel channel)
{
    Slot* slot = find(channel);
    if (slot == nullptr) {
        return false;
    }
    catchUp();
    return !slotIsFree(*slot);
}

void SoundEngine::setPosition(SoundChannel channel, unsigned int frame)
{
    Slot* slot = find(channel);
    auto it = slot != nullptr ? sounds.find(slot->sound) : sounds.end();
    if (it == sounds.end() || frame >= it->second.pcm.frames()) {
        return;
    }
    catchUp();
    alSourcei(slot->source, AL_SAMPLE_OFFSET, static_cast<ALint>(frame));
}

bool SoundEngine::getPosition(SoundChannel channel, unsigned int& frame)
{
    Slot* slot = find(channel);
    if (slot == nullptr) {
        return false;
    }
    catchUp();
    ALint offset = 0;
    alGetSourcei(slot->source, AL_SAMPLE_OFFSET, &offset);
    frame = static_cast<unsigned int>(std::max(offset, 0));
    return true;
}

void SoundEngine::getSpectrum(float* out, int count)
{
    // The count is checked before anything is written: below 1 there is no buffer to fill.
    if (out == nullptr || count < 1) {
        return;
    }
    std::fill(out, out + count, 0.0f);
    // The transform takes a power of two; a larger count would only allocate more.
    if (!isOpen() || count > MAX_SPECTRUM_BINS || (count & (count - 1)) != 0) {
        return;
    }
    catchUp();

    // The left channel of the next 2 x count output frames, mixed from the playing channels'
    // samples at their current positions.
    std::vector<float> block(static_cast<size_t>(count) * 2, 0.0f);
    bool anything = false;
    for (const Slot& slot : slots) {
        auto it = sounds.find(slot.sound);
        ALint state = AL_STOPPED;
        alGetSourcei(slot.source, AL_SOURCE_STATE, &state);
        if (!slot.reserved || it == sounds.end() || state != AL_PLAYING) {
            continue;
        }
        mixSpectrumVoice(it->second.pcm, slot.source, masterVolume, outputRate, block);
        anything = true;
    }
    if (anything) {
        soundMagnitudeSpectrum(block.data(), count, out);
    }
}

SoundEngine::Slot* SoundEngine::find(SoundChannel channel)
{
    if (channel.slot < 0 || channel.slot >= static_cast<int>(slots.size())) {
        return nullptr;
    }
    Slot& slot = slots[static_cast<size_t>(channel.slot)];
    return slot.play == channel.play && slot.reserved ? &slot : nullptr;
}

const SoundEngine::Slot* SoundEngine::find(SoundChannel channel) const
{
    return const_cast<SoundEngine*>(this)->find(channel);
}

bool SoundEngine::slotIsFree(const Slot& slot) const
{
    if (!slot.reserved) {
        return true;
    }
    if (!slot.started) {
        return false;   // waiting for the next update or for unpausing
    }
    ALint state = AL_STOPPED;
    alGetSourcei(slot.source, AL_SOURCE_STATE, &state);
    return state != AL_PLAYING && state != AL_PAUSED;
}

void SoundEngine::stopSlot(Slot& slot)
{
    if (slot.reserved) {
        alSourceStop(slot.source);
        slot.reserved = false;
    }
}
