// The side-on camera that follows the player's aircraft.
#pragma once

#include "platform/device.h"
#include "world/records.h"

// The eye of the current frame, read by the quad and sky drawing.
extern dev::D3DVECTOR cameraEye;

void UpdateCamera(const GameObject& player);
