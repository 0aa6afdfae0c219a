// The keyboard on SDL2, with the game controllers read as keys: what the game polls.
#pragma once

#include <SDL.h>

// Before a pump's events: forgets the taps of the pump before.
void BeginKeyPump();
// Notes a key pressed in this pump.
void TakeKeyEvent(const SDL_Event& event);
// The key source of the SDL window: the keyboard as SDL saw it at the last pump, and the pads.
bool SdlKeyDown(int virtualKey);
