#pragma once
// A game controller that exists only inside SDL, for tests that press pad buttons: attached
// on construction, detached on destruction, each change handed to SDL at once so that a press
// and a release between two polls of a Gamepad are both seen. The Gamepad opens it (and says
// "gamepad connected: <name>") at its next poll.

#include "input/Gamepad.h"

#include <string>

struct _SDL_Joystick;

namespace testsupport {

class VirtualPad {
public:
    explicit VirtualPad(const std::string& name = "Virtual Pad");
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool ok() const { return joystick != nullptr; }
    const std::string& name() const { return padName; }

    // The d-pad for Up, Down, Left and Right; the face buttons and Start for the others.
    void press(PadButton button);
    void release(PadButton button);
    // The left stick, in SDL's units (-32768 to 32767, y positive downwards).
    void stick(int x, int y);
    // Unplugs the pad now (the destructor does it otherwise).
    void detach();

private:
    void set(PadButton button, bool down);

    std::string padName;
    _SDL_Joystick* joystick = nullptr;
    int instanceId = -1;
};

} // namespace testsupport
