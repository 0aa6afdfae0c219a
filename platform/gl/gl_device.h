// The drawing device on OpenGL 3.3 core or WebGL 2: the fixed-function look the game relies on,
// drawn into a 640x480 back buffer that Present shows scaled to the window at 4:3.
#pragma once

#include <memory>
#include <string>

#include "platform/core/image_file.h"
#include "platform/core/present_area.h"
#include "platform/device.h"

// What the device needs of the window whose GL context it draws with; each ring makes its own.
class GLSurface {
  public:
    virtual ~GLSurface() = default;
    // True while nothing of the window can be seen (minimised, hidden): frames are not drawn.
    virtual bool Unseen() = 0;
    // The size in pixels of the default framebuffer that Present draws into.
    virtual void DrawableSize(int& width, int& height) = 0;
    // Shows the picture just drawn there.
    virtual void Swap() = 0;
};

// Needs the surface's GL context current; null with `error` when the GL it needs is missing.
std::unique_ptr<Device> CreateGLDevice(std::unique_ptr<GLSurface> surface, std::string& error);
