#pragma once
// The game controllers plugged in, read through SDL2's game controller layer (input only: no
// SDL window, no video, no signal handlers of SDL's own). Pads may come and go at any time;
// any of them drives the game. What a button does is decided elsewhere: this class only says
// which buttons went down and up.

#include <array>
#include <string>
#include <vector>

enum class PadButton { Up, Down, Left, Right, A, B, X, Y, Start };
inline constexpr int PAD_BUTTON_COUNT = 9;

struct PadEvent {
    PadButton button;
    bool pressed;   // false: released
    bool operator==(const PadEvent&) const = default;
};

// "Up", "A", ...: for messages and test output.
const char* padButtonName(PadButton button);

// The left stick gives a direction once it is pushed past PRESS and keeps it until it comes
// back inside RELEASE, so a stick resting near the threshold does not chatter. SDL's axis
// units: -32768 to 32767, y positive downwards.
inline constexpr int PAD_STICK_PRESS = 16384;     // half way out
inline constexpr int PAD_STICK_RELEASE = 10000;   // under a third of the way

struct _SDL_GameController;

class Gamepad {
public:
    // Starts SDL's game controller layer; when it cannot start (no permission, no devices
    // layer) one line says so and the game goes on with the keyboard alone. Pads already
    // plugged in are opened by the first poll.
    Gamepad();
    // Closes the pads and shuts SDL down when nothing else in the process still uses it.
    ~Gamepad();
    Gamepad(const Gamepad&) = delete;
    Gamepad& operator=(const Gamepad&) = delete;

    // Once per game step, never waiting: the presses and releases since the last poll, in
    // the order they happened (a press and its release within one step both come). A button
    // held on two pads, or a direction held on the d-pad and the stick together, is one
    // press, reported when the first goes down, and one release, when the last comes up. A
    // pad unplugged releases what it held. Opens pads as they are plugged in, saying
    // "gamepad connected: <name>" once, and "gamepad disconnected: <name>" when they go.
    std::vector<PadEvent> poll();

    bool started() const { return sdlStarted; }   // false: the keyboard alone
    int padCount() const { return static_cast<int>(pads.size()); }

private:
    struct Pad {
        _SDL_GameController* controller = nullptr;
        int instanceId = -1;                        // SDL's joystick instance id
        std::string name;
        std::array<bool, PAD_BUTTON_COUNT> held{};  // buttons and d-pad, as SDL reports them
        int stickX = 0;                             // -1 left, 0, 1 right, after hysteresis
        int stickY = 0;                             // -1 up, 0, 1 down
    };

    void open(int deviceIndex);
    void close(int instanceId);
    Pad* find(int instanceId);
    // Appends the difference between what all pads hold now and what was last reported,
    // releases first, so a stick swung across the centre reads as let go, then pushed.
    void report(std::vector<PadEvent>& events);

    bool sdlStarted = false;
    std::vector<Pad> pads;
    std::array<bool, PAD_BUTTON_COUNT> reported{};   // held, as the caller has been told
};
