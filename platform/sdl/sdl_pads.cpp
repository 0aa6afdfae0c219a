#include "platform/sdl/sdl_pads.h"

#include <algorithm>
#include <vector>

#include "platform/core/pad_keys.h"

namespace {

// The game controllers plugged in, as their events left them.
struct Pad {
    SDL_JoystickID id;
    SDL_GameController* controller;
    PadState state;
};
std::vector<Pad> pads;
// The pads' keys held at the last pump, and those held at any moment since the one before, so
// that a button tapped between two pumps counts once like a key.
uint32_t padsHeld = 0;
uint32_t padsTapped = 0;

Pad* PadWithId(SDL_JoystickID id) {
    for (Pad& pad : pads)
        if (pad.id == id) return &pad;
    return nullptr;
}

void PlugPad(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    // SDL announces the pads present at start-up once more after they were opened.
    if (PadWithId(id) != nullptr)
        SDL_GameControllerClose(controller);
    else
        pads.push_back({id, controller, {}});
}

void UnplugPad(SDL_JoystickID id) {
    for (auto pad = pads.begin(); pad != pads.end(); ++pad)
        if (pad->id == id) {
            SDL_GameControllerClose(pad->controller);
            pads.erase(pad);
            return;
        }
}

void PressPadButton(PadState& state, uint8_t button, bool down) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            state.up = down;
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            state.down = down;
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            state.left = down;
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            state.right = down;
            break;
        case SDL_CONTROLLER_BUTTON_A:
            state.a = down;
            break;
        case SDL_CONTROLLER_BUTTON_B:
            state.b = down;
            break;
        case SDL_CONTROLLER_BUTTON_START:
            state.start = down;
            break;
        case SDL_CONTROLLER_BUTTON_BACK:
            state.back = down;
            break;
        default:
            break;
    }
}

// SDL's axes in XInput's terms: SDL's stick Y grows downwards, its triggers reach 32767.
void MovePadAxis(PadState& state, uint8_t axis, int16_t value) {
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) state.stickX = value;
    if (axis == SDL_CONTROLLER_AXIS_LEFTY)
        state.stickY = static_cast<int16_t>(std::clamp(-int(value), -32768, 32767));
    if (axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT)
        state.rightTrigger = static_cast<uint8_t>(std::clamp(int(value), 0, 32767) >> 7);
}

}  // namespace

void OpenPads() { SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER); }

void ClosePads() {
    for (Pad& pad : pads) SDL_GameControllerClose(pad.controller);
    pads.clear();
    padsHeld = padsTapped = 0;
}

void BeginPadPump() { padsTapped = 0; }

bool TakePadEvent(const SDL_Event& event) {
    Pad* pad = nullptr;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            PlugPad(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            UnplugPad(event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            pad = PadWithId(event.cbutton.which);
            if (pad != nullptr)
                PressPadButton(pad->state, event.cbutton.button,
                               event.type == SDL_CONTROLLERBUTTONDOWN);
            break;
        case SDL_CONTROLLERAXISMOTION:
            pad = PadWithId(event.caxis.which);
            if (pad != nullptr) MovePadAxis(pad->state, event.caxis.axis, event.caxis.value);
            break;
        case SDL_WINDOWEVENT:
            // Like the keyboard, a pad lets go when the window loses the focus; SDL passes no
            // presses on while it is away.
            if (event.window.event != SDL_WINDOWEVENT_FOCUS_LOST) return false;
            for (Pad& each : pads) each.state = {};
            return true;
        default:
            return false;
    }
    if (pad != nullptr) padsTapped |= PadKeys(pad->state);
    return true;
}

void EndPadPump() {
    padsHeld = 0;
    for (const Pad& pad : pads) padsHeld |= PadKeys(pad.state);
}

uint32_t PadKeysDown() { return padsHeld | padsTapped; }
