// Installing the process-wide device. The module-level slots of device resources (the world
// images, the screen images and their sprite, the sky) are filled once and kept while the device
// lives; installing a device empties them, because the old resources went with the old device
// (tests make many devices, the game one).
#pragma once

#include "platform/device.h"

// Makes `installed` (which may be null) the process's device, with every slot empty.
void InstallDevice(Device* installed);
