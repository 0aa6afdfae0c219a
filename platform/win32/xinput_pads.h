// Gamepads on Windows through XInput, loaded at run time: a machine without it has no pads.
#pragma once

#include <cstdint>

// The keys (InputBit) that the pads plugged in hold now. Loads XInput on the first call.
// `now` in milliseconds: an empty slot is asked again only every second, as asking one costs far
// more than reading a pad.
uint32_t ReadXInputPads(uint32_t now);
