// F11 on SDL2: borderless fullscreen on the window's display and back, pressed as often and as
// fast as the player likes, whatever the window manager makes of it, and never waiting for it.
#pragma once

#include <SDL.h>

#include <cstdint>

struct FullscreenSwitch {
    SDL_Window* window = nullptr;
    bool fullscreen = false;  // as the F11 presses left it
    uint32_t toggledAt = 0;
    bool f11Up = true;
    // On X11 the presses are counted from X's own key events, and the window manager is asked
    // directly; null elsewhere.
    void* x11Display = nullptr;
    unsigned long x11Window = 0, x11Root = 0;
    unsigned long wmState = 0, wmFullscreen = 0;  // the atoms of the request
};

// Watches `window`'s F11 presses.
void WatchFullscreenKey(FullscreenSwitch& state, SDL_Window* window);
// Toggles on an F11 press; other events change nothing.
void TakeFullscreenEvent(FullscreenSwitch& state, const SDL_Event& event);
void SetFullscreen(FullscreenSwitch& state, bool fullscreen);
// After a pump's events: keeps the window as the presses left it.
void KeepFullscreen(FullscreenSwitch& state);
