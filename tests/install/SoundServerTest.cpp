// The game's sound through a real sound server, as on a desktop: a private PulseAudio server
// with a null sink (its own runtime folder, no sound card), OpenAL Soft's pulse backend, the
// music and a die pickup played by the game's sound code, and the sink's monitor recorded.
#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int RATE = 44100;               // the sink's and the recording's frames per second
constexpr double PICKUP_AT = 2.0;         // seconds after the music starts (server_sound_app)
constexpr double STOPPED_AT = 3.5;
constexpr float MUSIC_VOLUME = 0.15f;     // the game's volumes
constexpr float KEY_VOLUME = 1.0f;

// Mono samples of a data file, -1 to 1, and its rate.
struct Wav {
    std::vector<float> samples;
    int rate = 0;
};

Wav readWav(const fs::path& file)
{
    Wav wav;
    SF_INFO info{};
    SNDFILE* in = sf_open(file.c_str(), SFM_READ, &info);
    if (in == nullptr || info.channels != 1) {
        if (in != nullptr) {
            sf_close(in);
        }
        return wav;
    }
    wav.samples.resize(static_cast<size_t>(info.frames));
    wav.samples.resize(static_cast<size_t>(sf_readf_float(in, wav.samples.data(), info.frames)));
    wav.rate = info.samplerate;
    sf_close(in);
    return wav;
}

// Root mean square of x over [from, to) seconds at `rate`; -1 when the span is not all there.
double rms(const std::vector<float>& x, int rate, double from, double to, size_t offset = 0)
{
    const size_t a = offset + static_cast<size_t>(from * rate);
    const size_t b = offset + static_cast<size_t>(to * rate);
    if (b > x.size() || a >= b) {
        return -1.0;
    }
    double sum = 0.0;
    for (size_t i = a; i < b; ++i) {
        sum += double(x[i]) * x[i];
    }
    return std::sqrt(sum / double(b - a));
}

bool waitFor(const fs::path& file, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (fs::exists(file)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool waitForBytes(const fs::path& file, uintmax_t bytes, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        std::error_code error;
        if (fs::file_size(file, error) >= bytes && !error) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

} // namespace

TEST(SoundServer, MusicAndAPickupReachTheServerAtTheGamesVolumes)
{
    testsupport::ScratchDir dir;
    const fs::path runtime = dir.path() / "run";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const fs::path socket = runtime / "native";
    const fs::path config = dir.write("server.pa",
        "load-module module-null-sink sink_name=tumbrix rate=44100 channels=2\n"
        "load-module module-native-protocol-unix auth-anonymous=1 socket=" + socket.string() + "\n"
        "set-default-sink tumbrix\n");
    // Nothing of this machine's own sound set-up is read or touched.
    const std::vector<std::string> privateEnv = {"HOME=" + (dir.path() / "home").string(),
        "XDG_RUNTIME_DIR=" + runtime.string(), "XDG_CONFIG_HOME=" + (dir.path() / "config").string(),
        "PULSE_SERVER=unix:" + socket.string(), "DBUS_SESSION_BUS_ADDRESS=disabled:"};

    testsupport::ChildProcess server("/usr/bin/pulseaudio",
        {"-n", "-F", config.string(), "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
         "--use-pid-file=no", "--log-target=stderr"},
        dir.path(), privateEnv);
    ASSERT_TRUE(server.started());
    ASSERT_TRUE(waitFor(socket, 15000)) << "no server socket; pulseaudio said:\n" << server.output();

    const fs::path capture = dir.path() / "monitor.raw";
    testsupport::ChildProcess recorder("/usr/bin/parec",
        {"--device=tumbrix.monitor", "--format=s16le", "--rate=44100", "--channels=2", "--raw",
         "--latency-msec=20", capture.string()},
        dir.path(), privateEnv);
    ASSERT_TRUE(recorder.started());
    // The sink's monitor streams silence from the moment the recorder is connected; the
    // game's sound must start after that for its onset to be found.
    ASSERT_TRUE(waitForBytes(capture, RATE / 5 * 4, 15000)) << "the recorder records nothing:\n" << recorder.output();

    // The sound layer of the test build, with OpenAL Soft offered its pulse backend alone.
    const fs::path game = dir.path() / "game";
    testsupport::copyGameAssets(game / "data");
    std::vector<std::string> gameEnv = privateEnv;
    gameEnv.push_back("ALSOFT_DRIVERS=pulse");
    testsupport::ChildProcess player(testsupport::binaryDir() / "server_sound_app", {}, game, gameEnv);
    std::optional<int> status = player.wait(30000);
    ASSERT_TRUE(status.has_value()) << "still playing after 30 s:\n" << player.output();
    EXPECT_EQ(*status, 0) << player.output();
    EXPECT_NE(player.output().find("done"), std::string::npos) << player.output();
    EXPECT_EQ(player.output().find("silent"), std::string::npos) << "took the loopback fallback:\n" << player.output();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(recorder.running()) << recorder.output();

    std::ifstream in(capture, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> left;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        const auto sample = static_cast<int16_t>(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
        left.push_back(sample / 32768.0f);
    }

    // The music starts the sound: its first beat opens the track.
    size_t onset = 0;
    while (onset < left.size() && std::fabs(left[onset]) < 1e-3f) {
        ++onset;
    }
    ASSERT_LT(onset, left.size()) << "the monitor recorded only silence";
    ASSERT_GT(onset, size_t(RATE / 10)) << "the sound was playing before the recording started";

    // What reached the sink against what the files hold at the game's volumes: one output
    // gain (the backend's panning of a centred mono source) must explain both the music
    // alone and the music with the pickup over it.
    const Wav music = readWav(game / "data" / "techno.wav");
    const Wav key = readWav(game / "data" / "key.wav");
    ASSERT_GT(music.rate, 0);
    ASSERT_GT(key.rate, 0);
    const double musicAlone = rms(left, RATE, 0.25, 1.75, onset);
    const double withPickup = rms(left, RATE, PICKUP_AT + 0.15, PICKUP_AT + 0.75, onset);
    const double afterStop = rms(left, RATE, STOPPED_AT + 0.3, STOPPED_AT + 0.9, onset);
    const double musicFile = MUSIC_VOLUME * rms(music.samples, music.rate, 0.25, 1.75);
    const double mixFile = std::hypot(MUSIC_VOLUME * rms(music.samples, music.rate, PICKUP_AT + 0.15, PICKUP_AT + 0.75),
        KEY_VOLUME * rms(key.samples, key.rate, 0.15, 0.75));
    const double gainAlone = musicAlone / musicFile;
    const double gainWithPickup = withPickup / mixFile;
    RecordProperty("music_rms", std::to_string(musicAlone));
    RecordProperty("music_and_pickup_rms", std::to_string(withPickup));
    std::printf("sound server: %zu frames recorded, music from frame %zu; rms music alone %.4f (files say %.4f x gain), "
                "music and pickup %.4f (%.4f x gain), after the stop %.6f; gains %.3f and %.3f\n",
        left.size(), onset, musicAlone, musicFile, withPickup, mixFile, afterStop, gainAlone, gainWithPickup);

    ASSERT_GE(afterStop, 0.0) << "the recording ends before the quiet second";
    EXPECT_GT(gainAlone, 0.4);
    EXPECT_LT(gainAlone, 1.1);
    EXPECT_NEAR(gainWithPickup / gainAlone, 1.0, 0.25) << "the pickup is not heard at its volume over the music";
    EXPECT_GT(withPickup, 1.5 * musicAlone);
    EXPECT_LT(afterStop, 1e-4) << "sound went on after everything was stopped";
}
