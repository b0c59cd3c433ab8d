#include "support/VirtualPad.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cstdio>

namespace testsupport {

namespace {

// The controller's buttons as virtual joystick buttons: A to DPAD_RIGHT, so that button i of
// the joystick is SDL_GameControllerButton i in the mapping SDL makes for it.
constexpr int BUTTONS = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;

int sdlButtonOf(PadButton button)
{
    switch (button) {
    case PadButton::Up: return SDL_CONTROLLER_BUTTON_DPAD_UP;
    case PadButton::Down: return SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    case PadButton::Left: return SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    case PadButton::Right: return SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
    case PadButton::A: return SDL_CONTROLLER_BUTTON_A;
    case PadButton::B: return SDL_CONTROLLER_BUTTON_B;
    case PadButton::X: return SDL_CONTROLLER_BUTTON_X;
    case PadButton::Y: return SDL_CONTROLLER_BUTTON_Y;
    case PadButton::Start: return SDL_CONTROLLER_BUTTON_START;
    }
    return SDL_CONTROLLER_BUTTON_INVALID;
}

} // namespace

VirtualPad::VirtualPad(const std::string& name) : padName(name)
{
    // Held for the pad's lifetime, so SDL stays up even if the Gamepad goes first.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "VirtualPad: SDL did not start: %s\n", SDL_GetError());
        return;
    }
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = BUTTONS;
    desc.nhats = 0;
    desc.button_mask = (1u << BUTTONS) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = padName.c_str();
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    if (device < 0) {
        std::fprintf(stderr, "VirtualPad: cannot attach: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        return;
    }
    joystick = SDL_JoystickOpen(device);
    if (joystick == nullptr) {
        std::fprintf(stderr, "VirtualPad: cannot open: %s\n", SDL_GetError());
        SDL_JoystickDetachVirtual(device);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        return;
    }
    instanceId = SDL_JoystickInstanceID(joystick);
    // Triggers rest at their minimum; everything else at 0.
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
    SDL_JoystickUpdate();
}

VirtualPad::~VirtualPad()
{
    detach();
}

void VirtualPad::detach()
{
    if (joystick == nullptr) {
        return;
    }
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    // Device indices shift as pads come and go; the instance id finds ours.
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == instanceId) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
    SDL_JoystickUpdate();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
        SDL_Quit();
    }
}

void VirtualPad::press(PadButton button) { set(button, true); }
void VirtualPad::release(PadButton button) { set(button, false); }

void VirtualPad::set(PadButton button, bool down)
{
    if (joystick == nullptr) {
        return;
    }
    SDL_JoystickSetVirtualButton(joystick, sdlButtonOf(button), down ? SDL_PRESSED : SDL_RELEASED);
    SDL_JoystickUpdate();
}

void VirtualPad::stick(int x, int y)
{
    if (joystick == nullptr) {
        return;
    }
    auto axis = [](int v) { return static_cast<Sint16>(std::clamp(v, -32768, 32767)); };
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, axis(x));
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, axis(y));
    SDL_JoystickUpdate();
}

} // namespace testsupport
