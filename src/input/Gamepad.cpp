#include "input/Gamepad.h"

#include "media/ofUtils.h"

#include <SDL2/SDL.h>
#include <cstdio>

namespace {

int index(PadButton button)
{
    return static_cast<int>(button);
}

// The pad button an SDL controller button stands for; false for the buttons the game ignores.
bool padButtonOf(int sdlButton, PadButton& button)
{
    switch (sdlButton) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: button = PadButton::Up; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: button = PadButton::Down; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: button = PadButton::Left; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: button = PadButton::Right; return true;
    case SDL_CONTROLLER_BUTTON_A: button = PadButton::A; return true;
    case SDL_CONTROLLER_BUTTON_B: button = PadButton::B; return true;
    case SDL_CONTROLLER_BUTTON_X: button = PadButton::X; return true;
    case SDL_CONTROLLER_BUTTON_Y: button = PadButton::Y; return true;
    case SDL_CONTROLLER_BUTTON_START: button = PadButton::Start; return true;
    default: return false;
    }
}

// -1, 0 or 1 for an axis that was at `previous` and now reads `value` (see PAD_STICK_PRESS).
int stickDirection(int previous, int value)
{
    if (previous > 0 && value >= PAD_STICK_RELEASE) {
        return 1;
    }
    if (previous < 0 && value <= -PAD_STICK_RELEASE) {
        return -1;
    }
    if (value >= PAD_STICK_PRESS) {
        return 1;
    }
    if (value <= -PAD_STICK_PRESS) {
        return -1;
    }
    return 0;
}

void say(const char* what, const std::string& name)
{
    std::printf("gamepad %s: %s\n", what, name.c_str());
    std::fflush(stdout);
}

} // namespace

const char* padButtonName(PadButton button)
{
    static const char* const names[PAD_BUTTON_COUNT] = {"Up", "Down", "Left", "Right", "A", "B", "X", "Y", "Start"};
    const int i = index(button);
    return i >= 0 && i < PAD_BUTTON_COUNT ? names[i] : "?";
}

Gamepad::Gamepad()
{
    // SDL must not take SIGINT/SIGTERM from the game. It sees no window of ours, so it must
    // not hold pad events back for want of focus; the game decides what focus means.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        ofLog(OF_LOG_WARNING, "gamepad: SDL cannot read game controllers (%s); the keyboard alone plays", SDL_GetError());
        return;
    }
    sdlStarted = true;
}

Gamepad::~Gamepad()
{
    if (!sdlStarted) {
        return;
    }
    for (Pad& pad : pads) {
        SDL_GameControllerClose(pad.controller);
    }
    pads.clear();
    // Counted per subsystem, so a test's virtual pad (or anything else holding SDL) outlives
    // us; the last user takes SDL down as a whole.
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
        SDL_Quit();
    }
}

std::vector<PadEvent> Gamepad::poll()
{
    std::vector<PadEvent> events;
    if (!sdlStarted) {
        return events;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            open(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            close(event.cdevice.which);
            report(events);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            Pad* pad = find(event.cbutton.which);
            PadButton button;
            if (pad != nullptr && padButtonOf(event.cbutton.button, button)) {
                pad->held[index(button)] = event.type == SDL_CONTROLLERBUTTONDOWN;
                report(events);
            }
            break;
        }
        case SDL_CONTROLLERAXISMOTION: {
            Pad* pad = find(event.caxis.which);
            if (pad == nullptr) {
                break;
            }
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                pad->stickX = stickDirection(pad->stickX, event.caxis.value);
            } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                pad->stickY = stickDirection(pad->stickY, event.caxis.value);
            }
            report(events);
            break;
        }
        default:
            break;
        }
    }
    return events;
}

void Gamepad::open(int deviceIndex)
{
    // SDL announces the pads present at start-up and each one plugged in later the same way;
    // a pad already open is not opened twice.
    if (find(SDL_JoystickGetDeviceInstanceID(deviceIndex)) != nullptr) {
        return;
    }
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) {
        ofLog(OF_LOG_WARNING, "gamepad: a pad was plugged in but cannot be opened (%s)", SDL_GetError());
        return;
    }
    Pad pad;
    pad.controller = controller;
    pad.instanceId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    const char* name = SDL_GameControllerName(controller);
    pad.name = name != nullptr ? name : "unnamed pad";
    say("connected", pad.name);
    pads.push_back(pad);
}

void Gamepad::close(int instanceId)
{
    for (auto it = pads.begin(); it != pads.end(); ++it) {
        if (it->instanceId == instanceId) {
            say("disconnected", it->name);
            SDL_GameControllerClose(it->controller);
            pads.erase(it);
            return;
        }
    }
}

Gamepad::Pad* Gamepad::find(int instanceId)
{
    for (Pad& pad : pads) {
        if (pad.instanceId == instanceId) {
            return &pad;
        }
    }
    return nullptr;
}

void Gamepad::report(std::vector<PadEvent>& events)
{
    std::array<bool, PAD_BUTTON_COUNT> now{};
    for (const Pad& pad : pads) {
        for (int i = 0; i < PAD_BUTTON_COUNT; ++i) {
            now[i] = now[i] || pad.held[i];
        }
        now[index(PadButton::Left)] = now[index(PadButton::Left)] || pad.stickX < 0;
        now[index(PadButton::Right)] = now[index(PadButton::Right)] || pad.stickX > 0;
        now[index(PadButton::Up)] = now[index(PadButton::Up)] || pad.stickY < 0;
        now[index(PadButton::Down)] = now[index(PadButton::Down)] || pad.stickY > 0;
    }
    for (bool pressed : {false, true}) {
        for (int i = 0; i < PAD_BUTTON_COUNT; ++i) {
            if (now[i] == pressed && reported[i] != pressed) {
                reported[i] = pressed;
                events.push_back(PadEvent{static_cast<PadButton>(i), pressed});
            }
        }
    }
}
