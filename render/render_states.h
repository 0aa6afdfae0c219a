// The device's fixed states and the three lights, set once after the device is made.
#pragma once

void InitRenderStates();
void InitLights();
