// What tests and benchmarks ask of the Direct3D 9 device beyond the game's interface. Defined
// beside the device, which they reach into; the shipped program calls none of them. (mingw's
// linker keeps them in marvaze.exe all the same: its unwind tables refer to every function.)
#pragma once

#include "platform/core/image_file.h"
#include "platform/device.h"

// The back buffer as it stands, top row first (for tests, screenshots and the benchmark).
Image ReadD3D9BackBuffer(Device& d3d9Device);
// Waits until the device has drawn everything queued so far (for timing).
void FinishD3D9(Device& d3d9Device);
// Tests: Present and the draws behave as after a lost device until the next Reset succeeds.
void SimulateD3D9DeviceLost(Device& d3d9Device);
// Resets made since creation (after lost devices, or a window whose back buffer went away).
int D3D9ResetCount(Device& d3d9Device);
// Draws made on the device so far: joined draws count once.
int D3D9DrawCount(Device& d3d9Device);
// On (the default), unlit draws that share their settings join one device draw. Off, every
// DrawPrimitiveUP goes to the device as it comes: the call-for-call path, kept for measuring.
void SetD3D9Batching(Device& d3d9Device, bool on);
