// The one place where the device's two OpenGL flavours differ: desktop OpenGL 3.3 core (through
// libepoxy) on the Linux ring, OpenGL ES 3.0 as WebGL 2 in the browser.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#else
#include <epoxy/gl.h>
#endif

#include <string>

#ifdef __EMSCRIPTEN__
// ES shaders name their precision; ES 3.0 guarantees highp in both stages.
inline constexpr const char* GLSLVersion = "#version 300 es\nprecision highp float;\n";
// ES 3.0 has no border colour: the nearest it offers is the edge.
inline constexpr GLint ClampToBorder = GL_CLAMP_TO_EDGE;
inline void ClearDepth(float z) { glClearDepthf(z); }
// A WebGL 2 context is ES 3.0 or it is not made at all.
inline bool GLVersionEnough(std::string&) { return true; }
#else
inline constexpr const char* GLSLVersion = "#version 330 core\n";
inline constexpr GLint ClampToBorder = GL_CLAMP_TO_BORDER;
inline void ClearDepth(float z) { glClearDepth(z); }
inline bool GLVersionEnough(std::string& error) {
    if (epoxy_gl_version() >= 33) return true;
    error = "OpenGL 3.3 is not available";
    return false;
}
#endif
