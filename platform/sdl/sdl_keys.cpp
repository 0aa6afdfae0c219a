#include "platform/sdl/sdl_keys.h"

#include <algorithm>
#include <iterator>

#include "platform/core/pad_keys.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/seam.h"

namespace {

SDL_Scancode ScancodeOf(int virtualKey) {
    switch (virtualKey) {
        case VK_RETURN:
            return SDL_SCANCODE_RETURN;
        case VK_ESCAPE:
            return SDL_SCANCODE_ESCAPE;
        case VK_SPACE:
            return SDL_SCANCODE_SPACE;
        case VK_LEFT:
            return SDL_SCANCODE_LEFT;
        case VK_UP:
            return SDL_SCANCODE_UP;
        case VK_RIGHT:
            return SDL_SCANCODE_RIGHT;
        case VK_DOWN:
            return SDL_SCANCODE_DOWN;
        case VK_W:
            return SDL_SCANCODE_W;
        case VK_S:
            return SDL_SCANCODE_S;
        case VK_M:
            return SDL_SCANCODE_M;
        default:
            return SDL_SCANCODE_UNKNOWN;
    }
}

// Keys pressed since the pump before the last: a tap that is released again between two pumps
// still reads as down, for one frame, as the polling it stands for reports a press since the
// last poll.
bool tapped[SDL_NUM_SCANCODES] = {};

}  // namespace

void BeginKeyPump() { std::fill(std::begin(tapped), std::end(tapped), false); }

void TakeKeyEvent(const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN && event.key.keysym.scancode < SDL_NUM_SCANCODES)
        tapped[event.key.keysym.scancode] = true;
}

bool SdlKeyDown(int virtualKey) {
    if (PadKeysDown() & InputBit(virtualKey)) return true;
    SDL_Scancode code = ScancodeOf(virtualKey);
    if (code == SDL_SCANCODE_UNKNOWN) return false;
    return SDL_GetKeyboardState(nullptr)[code] != 0 || tapped[code];
}
