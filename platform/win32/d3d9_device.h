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
