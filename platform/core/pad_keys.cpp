#include "platform/core/pad_keys.h"

#include "platform/seam.h"

uint32_t PadKeys(const PadState& pad) {
    uint32_t keys = 0;
    if (pad.up || pad.stickY > PadStickDeadZone) keys |= PadKeyUp;
    if (pad.down || pad.stickY < -PadStickDeadZone) keys |= PadKeyDown;
    if (pad.left || pad.stickX < -PadStickDeadZone) keys |= PadKeyLeft;
    if (pad.right || pad.stickX > PadStickDeadZone) keys |= PadKeyRight;
    if (pad.a || pad.rightTrigger > PadTriggerThreshold) keys |= PadKeySpace;
    if (pad.start) keys |= PadKeyReturn;
    if (pad.b || pad.back) keys |= PadKeyEscape;
    return keys;
}

uint32_t PadKeyBit(int virtualKey) {
    switch (virtualKey) {
        case VK_UP:
            return PadKeyUp;
        case VK_DOWN:
            return PadKeyDown;
        case VK_LEFT:
            return PadKeyLeft;
        case VK_RIGHT:
            return PadKeyRight;
        case VK_SPACE:
            return PadKeySpace;
        case VK_RETURN:
            return PadKeyReturn;
        case VK_ESCAPE:
            return PadKeyEscape;
        default:
            return 0;
    }
}
