#include "platform/sdl/sdl_fullscreen.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

bool IsFullscreenToggle(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN && event.key.repeat == 0 &&
           event.key.keysym.scancode == SDL_SCANCODE_F11;
}

// SDL_SetWindowFullscreen on X11 waits up to 100 ms for the window manager to move the window,
// every time, and on an X server without one no answer ever comes. The request goes out the same
// way here, without the wait: the answer arrives later as a resize like any other.
void AskWindowManager(const FullscreenSwitch& state, bool fullscreen) {
    auto* display = static_cast<Display*>(state.x11Display);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = state.x11Window;
    request.xclient.message_type = state.wmState;
    request.xclient.format = 32;
    request.xclient.data.l[0] = fullscreen ? 1 : 0;  // add or remove the state
    request.xclient.data.l[1] = static_cast<long>(state.wmFullscreen);
    request.xclient.data.l[3] = 1;  // asked by an application
    XSendEvent(display, state.x11Root, False, SubstructureRedirectMask | SubstructureNotifyMask,
               &request);
    XFlush(display);
}

}  // namespace

void WatchFullscreenKey(FullscreenSwitch& state, SDL_Window* window) {
    state.window = window;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    Display* display = info.info.x11.display;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, info.info.x11.window, &attributes) == 0) return;
    state.x11Display = display;
    state.x11Window = info.info.x11.window;
    state.x11Root = attributes.root;
    state.wmState = XInternAtom(display, "_NET_WM_STATE", False);
    state.wmFullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
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
    } else if (state.x11Display == nullptr) {
        toggle = IsFullscreenToggle(event);
    }
    if (toggle) SetFullscreen(state, !state.fullscreen);
}

void SetFullscreen(FullscreenSwitch& state, bool fullscreen) {
    state.fullscreen = fullscreen;
    state.toggledAt = SDL_GetTicks();
    if (state.x11Display != nullptr)
        AskWindowManager(state, fullscreen);
    else
        SDL_SetWindowFullscreen(state.window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void KeepFullscreen(FullscreenSwitch& state) {
    // The window manager takes the X11 requests in the order they were made. Elsewhere the state
    // follows the presses, not SDL's flags, which follow the window manager's answers and come
    // late: for a while after a press an answer to an earlier one is set right again.
    if (state.x11Display != nullptr || SDL_GetTicks() - state.toggledAt >= 2000) return;
    bool now = (SDL_GetWindowFlags(state.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
               SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (now != state.fullscreen)
        SDL_SetWindowFullscreen(state.window, state.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}
