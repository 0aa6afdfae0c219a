#include "platform/sdl/sdl_fullscreen.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

bool IsFullscreenToggle(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN && event.key.repeat == 0 &&
           event.key.keysym.scancode == SDL_SCANCODE_F11;
}

}  // namespace

void WatchFullscreenKey(FullscreenSwitch& state, SDL_Window* window) {
    state.window = window;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    state.x11Keys = SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11;
    if (state.x11Keys) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

void TakeFullscreenEvent(FullscreenSwitch& state, const SDL_Event& event) {
    // On X11, SDL takes a release and a press at the same instant for the key repeating, and
    // quick F11 taps are lost; there the presses are counted from the X events.
    bool toggle = false;
    if (event.type == SDL_SYSWMEVENT && event.syswm.msg->subsystem == SDL_SYSWM_X11) {
        XEvent& x = event.syswm.msg->msg.x11.event;
        if ((x.type == KeyPress || x.type == KeyRelease) && XLookupKeysym(&x.xkey, 0) == XK_F11) {
            toggle = x.type == KeyPress && state.f11Up;
            state.f11Up = x.type == KeyRelease;
        }
    } else if (!state.x11Keys) {
        toggle = IsFullscreenToggle(event);
    }
    if (toggle) SetFullscreen(state, !state.fullscreen);
}

void SetFullscreen(FullscreenSwitch& state, bool fullscreen) {
    state.fullscreen = fullscreen;
    state.toggledAt = SDL_GetTicks();
    SDL_SetWindowFullscreen(state.window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void KeepFullscreen(FullscreenSwitch& state) {
    // The state follows the presses, not the window manager's answers, which come late: for a
    // while after a press an answer to an earlier one is set right again.
    if (SDL_GetTicks() - state.toggledAt >= 2000) return;
    bool now = (SDL_GetWindowFlags(state.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
               SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (now != state.fullscreen)
        SDL_SetWindowFullscreen(state.window, state.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}
