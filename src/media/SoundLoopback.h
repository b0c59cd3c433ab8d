#pragma once
// The loopback device that stands in for a speaker when no output device opens: OpenAL
// Soft mixes into memory instead, rendered here as wall time passes, so channels start,
// loop, end and report as they would with a speaker. Tests can also stop its clock, place
// every frame themselves and read back what was mixed.

#include <AL/alc.h>
#include <AL/alext.h>

#include <chrono>
#include <cstdint>
#include <vector>

class SoundLoopback {
public:
    static constexpr int RATE = 44100;      // frames per second
    static constexpr int CHANNELS = 2;      // stereo, left first

    // Opens a loopback device and makes a context on it current; false, with nothing open,
    // when OpenAL Soft offers none. The caller owns device and context and closes them,
    // calling close() here as it does.
    bool open(ALCdevice*& device, ALCcontext*& context);
    void close();
    bool isOpen() const { return render != nullptr; }

    // Renders the frames due since the device opened (nothing while the clock is stopped).
    void catchUp();

    // For tests. Renders the next `frames` frames at once, as if that much time passed in an
    // instant; clock-paced rendering then goes on from now.
    void renderAhead(int frames);
    // While the clock is stopped the device renders only through renderAhead, so a caller
    // can place every frame exactly; it runs again from the moment it is restarted.
    void setClock(bool running);
    // Keeps a copy of everything rendered from now on (interleaved stereo floats); starting
    // again drops what was kept.
    void startCapture();
    std::vector<float> takeCapture();

private:
    void renderFrames(long long frames);

    ALCdevice* device = nullptr;                  // the caller's
    LPALCRENDERSAMPLESSOFT render = nullptr;      // set while open
    bool floatSamples = true;                     // float samples, else 16-bit
    std::chrono::steady_clock::time_point start;  // when the frames counted below began
    long long renderedFrames = 0;                 // since start
    bool clockRunning = true;
    std::vector<float> scratch;                   // one render block
    std::vector<int16_t> scratch16;
    bool capturing = false;
    std::vector<float> capture;
};
