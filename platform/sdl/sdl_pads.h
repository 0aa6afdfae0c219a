// The game controllers on SDL2, read as keys: plugged in and out while the game runs, their
// buttons and axes followed from SDL's events.
#pragma once

#include <SDL.h>

#include <cstdint>

// Starts the controller subsystem; without it the game plays on the keyboard alone. The pads
// already plugged in arrive as events at the first pump, like any plugged in later.
void OpenPads();
// Lets every pad go.
void ClosePads();
// Before a pump's events: forgets the taps of the pump before.
void BeginPadPump();
// Plugs, unplugs and moves the pads; false for an event that is not theirs.
bool TakePadEvent(const SDL_Event& event);
// After a pump's events: the keys the pads hold now.
void EndPadPump();
// The pads' keys (InputBit) held at the last pump or tapped since the one before.
uint32_t PadKeysDown();
