// A gamepad read as the keyboard: both rings turn their pads' state into the same keys, so the
// menu's latches and every rule of the game see a pad as keys held.
#pragma once

#include <cstdint>

// One pad at one instant, in XInput's conventions: the stick's Y grows upwards, the trigger goes
// from 0 (released) to 255 (pulled fully).
struct PadState {
    bool up = false, down = false, left = false, right = false;  // the D-pad
    bool a = false, b = false, start = false, back = false;
    int16_t stickX = 0, stickY = 0;  // the left stick, -32768 to 32767
    uint8_t rightTrigger = 0;
};

// A stick this far from its centre on an axis reads as that direction: worn sticks rest a few
// thousand off centre.
constexpr int PadStickDeadZone = 8000;
// The right trigger fires from this far in (XInput's own threshold).
constexpr int PadTriggerThreshold = 30;

// The keys `pad` holds, as the frame input's bits (InputBit): D-pad or stick = the arrows, A or
// the right trigger = Space, Start = Enter, B or Back = Escape.
uint16_t PadKeys(const PadState& pad);
