#include "media/ofSoundPlayer.h"

#include "media/ofLibraries.h"
#include "media/ofUtils.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int MAX_SPECTRUM_BANDS = 8192;
constexpr int MIN_SPECTRUM_VALUES = 64;

bool engineStarted = false;   // set by the first load or mix call, cleared by ofSoundShutdown

// Spectrum buffers: raw magnitudes, their dB values, the bands handed out.
float spectrumRaw[MAX_SPECTRUM_BANDS];
float spectrumDb[MAX_SPECTRUM_BANDS];
float spectrumBands[MAX_SPECTRUM_BANDS];

void initializeSoundEngine()
{
    if (engineStarted) {
        return;
    }
    // The result is not examined: a closed engine makes every later call do nothing.
    ofSoundGetEngine().open(SoundEngine::MAX_CHANNELS);
    engineStarted = true;
}

int nextPow2(int a)
{
    int r = 1;
    while (r < a) {
        r <<= 1;
    }
    return r;
}

} // namespace

SoundEngine& ofSoundGetEngine()
{
    // Never destroyed, so players that outlive static destruction still find it; the exit path
    // closes it through ofSoundShutdown.
    static SoundEngine* engine = new SoundEngine;
    return *engine;
}

void ofSoundShutdown()
{
    if (engineStarted) {
        ofSoundGetEngine().close();
        engineStarted = false;
    }
}

void ofSoundUpdate()
{
    if (engineStarted) {
        ofSoundGetEngine().update();
    }
}

void ofSoundStopAll()
{
    initializeSoundEngine();
    ofSoundGetEngine().stopAll();
}

void ofSoundSetVolume(float vol)
{
    initializeSoundEngine();
    ofSoundGetEngine().setMasterVolume(vol);
}

float* ofSoundGetSpectrum(int nBands)
{
    initializeSoundEngine();
    std::fill(std::begin(spectrumBands), std::end(spectrumBands), 0.0f);

    if (nBands > MAX_SPECTRUM_BANDS) {
        ofLog(OF_LOG_ERROR, "error in ofSoundGetSpectrum, the maximum number of bands is 8192 - you asked for %i we will return 8192", nBands);
        nBands = MAX_SPECTRUM_BANDS;
    } else if (nBands <= 0) {
        ofLog(OF_LOG_ERROR, "error in ofSoundSpectrum, you've asked for %i bands, minimum is 1", nBands);
        return spectrumBands;
    }

    const int values = std::max(MIN_SPECTRUM_VALUES, nextPow2(nBands));
    ofSoundGetEngine().getSpectrum(spectrumRaw, values);
    for (int i = 0; i < values; ++i) {
        spectrumDb[i] = 2.0f * 10.0f * std::log10(spectrumRaw[i] + 1.0f);
    }
    if (values == nBands) {
        return spectrumDb;
    }

    // Average `perBand` values into each band; a value straddling a band boundary counts
    // towards both bands in proportion.
    const double perBand = static_cast<double>(values) / nBands;
    auto bandEndOf = [&](int band) { return band + 1 == nBands ? static_cast<double>(values) : perBand * (band + 1); };
    int band = 0;
    double bandEnd = bandEndOf(0);   // in values, from the start of the spectrum
    for (int i = 0; i < values; ++i) {
        double start = i;
        const double end = i + 1.0;
        while (start < end) {
            if (band >= nBands) {
                ofLog(OF_LOG_ERROR, "ofSoundGetSpectrum - currentBand >= nBands");
                break;
            }
            const double part = std::min(end, bandEnd) - start;
            spectrumBands[band] += static_cast<float>(part * spectrumDb[i]);
            start += part;
            if (start >= bandEnd) {
                ++band;
                bandEnd = bandEndOf(band);
            }
        }
    }
    for (int b = 0; b < nBands; ++b) {
        spectrumBands[b] = std::min(static_cast<float>(spectrumBands[b] / perBand), 1.0f);
    }
    return spectrumBands;
}

ofSoundPlayer::~ofSoundPlayer()
{
    unloadSound();
}

void ofSoundPlayer::loadSound(std::string fileName, bool stream)
{
    fileName = ofToDataPath(fileName);
    bMultiPlay = false;
    initializeSoundEngine();
    unloadSound();

    SoundEngine& engine = ofSoundGetEngine();
    sound = engine.createSound(fileName);
    result = sound != 0 ? 0 : 1;
    if (result != 0) {
        bLoadedOk = false;
        ofLog(OF_LOG_ERROR, "ofSoundPlayer: Could not load sound file %s", fileName.c_str());
        return;
    }
    bLoadedOk = true;
    engine.getSoundLength(sound, length);
    isStreaming = stream;
}

void ofSoundPlayer::unloadSound()
{
    // The sound is released whether or not it was opened as a stream, and the player forgets
    // it, so nothing can play a freed sound.
    if (bLoadedOk) {
        stop();
        ofSoundGetEngine().releaseSound(sound);
    }
    bLoadedOk = false;
    sound = 0;
}

void ofSoundPlayer::play()
{
    SoundEngine& engine = ofSoundGetEngine();
    if (bLoop) {
        engine.stop(channel);
    }
    if (!bMultiPlay) {
        engine.stop(channel);
    }
    channel = engine.playSound(sound, bPaused);
    engine.getFrequency(channel, internalFreq);
    engine.setVolume(channel, volume);
    engine.setPan(channel, pan);
    engine.setFrequency(channel, internalFreq * speed);
    engine.setLooping(channel, bLoop);
    engine.update();
}

void ofSoundPlayer::stop()
{
    ofSoundGetEngine().stop(channel);
}

void ofSoundPlayer::setVolume(float vol)
{
    if (getIsPlaying()) {
        ofSoundGetEngine().setVolume(channel, vol);
    }
    volume = vol;
}

void ofSoundPlayer::setPan(float p)
{
    if (getIsPlaying()) {
        ofSoundGetEngine().setPan(channel, p);
    }
    pan = p;
}

void ofSoundPlayer::setSpeed(float spd)
{
    if (getIsPlaying()) {
        ofSoundGetEngine().setFrequency(channel, internalFreq * spd);
    }
    speed = spd;
}

void ofSoundPlayer::setPaused(bool bP)
{
    if (getIsPlaying()) {
        ofSoundGetEngine().setPaused(channel, bP);
        bPaused = bP;
    }
}

void ofSoundPlayer::setLoop(bool bLp)
{
    if (getIsPlaying()) {
        ofSoundGetEngine().setLooping(channel, bLp);
    }
    bLoop = bLp;
}

void ofSoundPlayer::setMultiPlay(bool bMp)
{
    bMultiPlay = bMp;
}

void ofSoundPlayer::setPosition(float pct)
{
    if (!getIsPlaying()) {
        return;
    }
    // Outside 0 to 1 (or not a number) there is no such place in the sound: the position stays.
    if (!(pct >= 0.0f && pct < 1.0f)) {
        return;
    }
    ofSoundGetEngine().setPosition(channel, static_cast<unsigned int>(static_cast<float>(length) * pct));
}

float ofSoundPlayer::getPosition()
{
    if (!getIsPlaying()) {
        return 0.0f;
    }
    unsigned int frame = 0;
    ofSoundGetEngine().getPosition(channel, frame);
    return length > 0 ? static_cast<float>(frame) / static_cast<float>(length) : 0.0f;
}

bool ofSoundPlayer::getIsPlaying()
{
    if (!bLoadedOk) {
        return false;
    }
    return ofSoundGetEngine().isPlaying(channel);
}
