// The cheapest way to draw a captured frame's pixels on OpenGL: every triangle of the frame
// built ahead of time into one vertex buffer, every image in one atlas, one small program, one
// GL draw. It stands for what any device path must at least spend: the rasterising and filling.
#pragma once

#include <epoxy/gl.h>

#include <string>
#include <vector>

#include "bench/frame/captured_frame.h"
#include "platform/matrix.h"

struct FloorFrame {
    GLuint program = 0, vertexArray = 0, vertices = 0, atlas = 0;
    GLint matricesAt = -1, atlasAt = -1, alphaRefAt = -1;
    GLsizei vertexCount = 0;
    std::vector<Matrix> matrices;  // the scene's view-projection, then one per sprite
    uint32_t alphaRef = 0;
};

// Needs the GL context current. Only the states the frame uses are supported: any other draw
// state makes it fail with `error` rather than draw something else.
bool BuildFloor(const CapturedFrame& captured, FloorFrame& out, std::string& error);
// Draws the frame into the device's back buffer between the device's own Clear and Present.
void DrawFloor(Device& glDevice, const DeviceCall& clear, const FloorFrame& floor);
void DestroyFloor(FloorFrame& floor);
