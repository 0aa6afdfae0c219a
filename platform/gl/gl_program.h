// The shader programs that stand in for the fixed-function pipeline: per-vertex directional
// lighting or the vertex colour, one texture stage, and the alpha test.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

#include "platform/gl/gl_api.h"

constexpr int MaxLights = 8;

// Vertex attribute locations, shared with the vertex arrays that feed the program.
constexpr GLuint AttribPosition = 0;  // vec4
constexpr GLuint AttribNormal = 1;    // vec3
constexpr GLuint AttribColour = 2;    // normalised RGBA bytes
constexpr GLuint AttribUV = 3;        // vec2

// What the fragment stage does, compiled into the program as constants: a software renderer
// runs a general shader that switches on uniforms at half the speed.
struct StageConfig {
    uint32_t colourOp = 0, colourArg1 = 0, colourArg2 = 0;
    uint32_t alphaOp = 0, alphaArg1 = 0, alphaArg2 = 0;
    bool textured = false;
    bool alphaTest = false;
    uint32_t alphaFunc = 0;
    auto operator<=>(const StageConfig&) const = default;
};

struct FixedProgram {
    GLuint program = 0;
    GLint world = -1, viewProjection = -1, normalMatrix = -1;
    GLint lighting = -1, normalize = -1, diffuseFromVertex = -1;
    GLint materialDiffuse = -1, materialAmbient = -1, materialEmissive = -1, globalAmbient = -1;
    GLint lightCount = -1, lightToward = -1, lightDiffuse = -1, lightAmbient = -1;
    GLint texture = -1, alphaRef = -1;
};

// Compiles and links the program for `stage`; false with `error` when the driver refuses it.
bool BuildFixedProgram(const StageConfig& stage, FixedProgram& out, std::string& error);
