// The drawing device on Direct3D 9: the interface was shaped after it, so states, lights,
// transforms and draws pass straight through; images, the mesh and the screen sprite are built
// here from the project's own readers (no D3DX, which Windows does not ship).
#pragma once

#include <memory>
#include <string>

#include "platform/core/image_file.h"
#include "platform/core/present_area.h"
#include "platform/device.h"

// The window handle as windows.h declares it, so this header needs no windows.h.
using HWND = struct HWND__*;

// A HAL device on `window` with a 640x480 back buffer; null with `error` (naming the failing
// call and its HRESULT) when Direct3D 9 or the device cannot be made.
std::unique_ptr<Device> CreateD3D9Device(HWND window, std::string& error);

// The back buffer as it stands, top row first (for tests, screenshots and the benchmark).
Image ReadD3D9BackBuffer(Device& d3d9Device);
// The back buffer of every Present, read just before it while keeping is on; the last one.
void KeepD3D9Frames(Device& d3d9Device, bool on);
Image LastD3D9Frame(Device& d3d9Device);
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
