// The one shader program that stands in for the fixed-function pipeline: per-vertex directional
// lighting or the vertex colour, one texture stage, and the alpha test.
#pragma once

#include <epoxy/gl.h>

#include <string>

constexpr int MaxLights = 8;

// Vertex attribute locations, shared with the vertex arrays that feed the program.
constexpr GLuint AttribPosition = 0;  // vec4
constexpr GLuint AttribNormal = 1;    // vec3
constexpr GLuint AttribColour = 2;    // normalised RGBA bytes
constexpr GLuint AttribUV = 3;        // vec2

struct FixedProgram {
    GLuint program = 0;
    GLint world = -1, viewProjection = -1, normalMatrix = -1;
    GLint lighting = -1, normalize = -1, diffuseFromVertex = -1;
    GLint materialDiffuse = -1, materialAmbient = -1, materialEmissive = -1, globalAmbient = -1;
    GLint lightCount = -1, lightToward = -1, lightDiffuse = -1, lightAmbient = -1;
    GLint textured = -1, texture = -1;
    GLint colourOp = -1, colourArg1 = -1, colourArg2 = -1;
    GLint alphaOp = -1, alphaArg1 = -1, alphaArg2 = -1;
    GLint alphaTest = -1, alphaFunc = -1, alphaRef = -1;
};

// Compiles and links the program; false with `error` when the driver refuses it.
bool BuildFixedProgram(FixedProgram& out, std::string& error);
