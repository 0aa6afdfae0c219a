// Module-level slots of device resources (textures, the sprite, the sky) are filled once and kept
// for the process. A slot filled through one device is never handed to another: that happens only
// when tests make a fresh device, and the old resources went with the old device.
#pragma once

#include <cstdint>

#include "platform/device.h"

// True when `owner` does not name the current device; it then names it, and the caller empties
// the slots that the previous device filled.
inline bool DeviceReplaced(uint64_t& owner) {
    if (owner == device->Serial()) return false;
    owner = device->Serial();
    return true;
}
