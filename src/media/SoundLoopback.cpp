#include "media/SoundLoopback.h"

#include <algorithm>

namespace {

constexpr int RENDER_BLOCK_FRAMES = 4096;
// After a longer stall (a debugger, a suspended machine) the clock skips ahead instead of
// rendering minutes of audio at once; the sounds of the game are shorter than this.
constexpr long long MAX_CATCH_UP_SECONDS = 10;

} // namespace

bool SoundLoopback::open(ALCdevice*& outDevice, ALCcontext*& outContext)
{
    if (alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") != ALC_TRUE) {
        return false;
    }
    auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto formatSupported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
    auto renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (openLoopback == nullptr || formatSupported == nullptr || renderSamples == nullptr) {
        return false;
    }
    ALCdevice* opened = openLoopback(nullptr);
    if (opened == nullptr) {
        return false;
    }
    floatSamples = formatSupported(opened, RATE, ALC_STEREO_SOFT, ALC_FLOAT_SOFT) == ALC_TRUE;
    const ALCint attributes[] = {
        ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT,
        ALC_FORMAT_TYPE_SOFT, floatSamples ? ALC_FLOAT_SOFT : ALC_SHORT_SOFT,
        ALC_FREQUENCY, RATE,
        0,
    };
    ALCcontext* context = alcCreateContext(opened, attributes);
    if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
        if (context != nullptr) {
            alcDestroyContext(context);
        }
        alcCloseDevice(opened);
        return false;
    }
    outDevice = device = opened;
    outContext = context;
    render = renderSamples;
    clockRunning = true;
    start = std::chrono::steady_clock::now();
    renderedFrames = 0;
    scratch.assign(static_cast<size_t>(RENDER_BLOCK_FRAMES) * CHANNELS, 0.0f);
    scratch16.assign(floatSamples ? 0 : scratch.size(), 0);
    return true;
}

void SoundLoopback::close()
{
    device = nullptr;
    render = nullptr;
    capturing = false;
    capture.clear();
}

void SoundLoopback::catchUp()
{
    if (!isOpen() || !clockRunning) {
        return;
    }
    using namespace std::chrono;
    const auto elapsed = duration_cast<microseconds>(steady_clock::now() - start).count();
    const long long due = elapsed * RATE / 1000000;
    long long behind = due - renderedFrames;
    const long long limit = MAX_CATCH_UP_SECONDS * RATE;
    if (behind > limit) {
        renderedFrames += behind - limit;
        behind = limit;
    }
    renderFrames(behind);
}

void SoundLoopback::renderAhead(int frames)
{
    if (!isOpen() || frames <= 0) {
        return;
    }
    catchUp();
    renderFrames(frames);
    // The frames count as an instant's extra time: clock-paced rendering goes on from now.
    start = std::chrono::steady_clock::now();
    renderedFrames = 0;
}

void SoundLoopback::setClock(bool running)
{
    if (running && !clockRunning) {
        start = std::chrono::steady_clock::now();
        renderedFrames = 0;
    }
    clockRunning = running;
}

void SoundLoopback::startCapture()
{
    capture.clear();
    capturing = true;
}

std::vector<float> SoundLoopback::takeCapture()
{
    std::vector<float> taken;
    taken.swap(capture);
    return taken;
}

void SoundLoopback::renderFrames(long long frames)
{
    while (frames > 0) {
        const int block = static_cast<int>(std::min<long long>(frames, RENDER_BLOCK_FRAMES));
        const size_t values = static_cast<size_t>(block) * CHANNELS;
        if (floatSamples) {
            render(device, scratch.data(), block);
        } else {
            render(device, scratch16.data(), block);
            for (size_t i = 0; i < values; ++i) {
                scratch[i] = scratch16[i] / 32768.0f;
            }
        }
        if (capturing) {
            capture.insert(capture.end(), scratch.begin(), scratch.begin() + static_cast<long>(values));
        }
        renderedFrames += block;
        frames -= block;
    }
}
