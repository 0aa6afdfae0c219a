#include "platform/core/pad_keys.h"

#include "platform/seam.h"

uint16_t PadKeys(const PadState& pad) {
    uint16_t keys = 0;
    if (pad.up || pad.stickY > PadStickDeadZone) keys |= InputUp;
    if (pad.down || pad.stickY < -PadStickDeadZone) keys |= InputDown;
    if (pad.left || pad.stickX < -PadStickDeadZone) keys |= InputLeft;
    if (pad.right || pad.stickX > PadStickDeadZone) keys |= InputRight;
    if (pad.a || pad.rightTrigger > PadTriggerThreshold) keys |= InputSpace;
    if (pad.start) keys |= InputEnter;
    if (pad.b || pad.back) keys |= InputEscape;
    return keys;
}
