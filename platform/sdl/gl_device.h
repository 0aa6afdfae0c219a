// The OpenGL device (platform/gl) on an SDL window.
#pragma once

#include <memory>
#include <string>

#include "platform/gl/gl_device.h"

struct SDL_Window;

// Needs the window's GL context current; null with `error` when GL 3.3 is not available.
std::unique_ptr<Device> CreateGLDevice(SDL_Window* window, std::string& error);
