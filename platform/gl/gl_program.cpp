#include "platform/gl/gl_program.h"

#include <vector>

namespace {

// Matrices arrive in the row-vector layout, which GLSL's column-major mat4 reads as the
// column-vector matrix that acts the same way; so `m * v` applies them as the game means.
const char* const VertexSource = R"(
layout(location = 0) in vec4 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec4 colour;
layout(location = 3) in vec2 uv;

uniform mat4 world;
uniform mat4 viewProjection;
uniform mat3 normalMatrix;
uniform bool lighting;
uniform bool normalizeNormals;
uniform bool diffuseFromVertex;
uniform vec4 materialDiffuse;
uniform vec4 materialAmbient;
uniform vec4 materialEmissive;
uniform vec4 globalAmbient;
uniform int lightCount;
uniform vec3 lightToward[8];  // unit vectors from the surface toward each light
uniform vec4 lightDiffuse[8];
uniform vec4 lightAmbient[8];

out vec4 diffuse;
out vec2 texCoord;

void main() {
    vec4 clip = viewProjection * (world * position);
    // The projection gives depth 0..w; OpenGL clips and stores -w..w.
    clip.z = 2.0 * clip.z - clip.w;
    gl_Position = clip;
    texCoord = uv;
    if (!lighting) {
        diffuse = colour;
        return;
    }
    vec3 n = normalMatrix * normal;
    float length2 = dot(n, n);
    if (normalizeNormals && length2 > 0.0) n *= inversesqrt(length2);
    vec4 matDiffuse = diffuseFromVertex ? colour : materialDiffuse;
    vec3 lit = materialEmissive.rgb + globalAmbient.rgb * materialAmbient.rgb;
    for (int i = 0; i < lightCount; ++i) {
        lit += lightAmbient[i].rgb * materialAmbient.rgb;
        lit += max(dot(n, lightToward[i]), 0.0) * lightDiffuse[i].rgb * matDiffuse.rgb;
    }
    diffuse = vec4(clamp(lit, 0.0, 1.0), clamp(matDiffuse.a, 0.0, 1.0));
}
)";

// Stage 0 of the texture stages, with operations and arguments by their device numbers; the
// constants come from the StageConfig.
const char* const FragmentSource = R"(
in vec4 diffuse;
in vec2 texCoord;

uniform sampler2D image;
uniform float alphaRef;

out vec4 fragment;

vec4 Argument(int which, vec4 texel) {
    which &= 15;
    if (which == 2) return texel;  // texture
    if (which == 4) return vec4(0.0);  // specular: none
    return diffuse;  // diffuse, and current, which at stage 0 is the diffuse colour
}

vec4 Operate(int op, vec4 a, vec4 b) {
    if (op == 1) return diffuse;  // disabled
    if (op == 2) return a;
    if (op == 3) return b;
    if (op == 5) return min(a * b * 2.0, 1.0);
    if (op == 6) return min(a * b * 4.0, 1.0);
    if (op == 7) return min(a + b, 1.0);
    return a * b;  // modulate
}

bool Passes(float alpha) {
    float a = floor(clamp(alpha, 0.0, 1.0) * 255.0 + 0.5);
    if (ALPHA_FUNC == 1) return false;
    if (ALPHA_FUNC == 2) return a < alphaRef;
    if (ALPHA_FUNC == 3) return a == alphaRef;
    if (ALPHA_FUNC == 4) return a <= alphaRef;
    if (ALPHA_FUNC == 5) return a > alphaRef;
    if (ALPHA_FUNC == 6) return a != alphaRef;
    if (ALPHA_FUNC == 7) return a >= alphaRef;
    return true;
}

void main() {
    // With no texture bound the stage reads opaque white: the vertex colour shows as it is.
    vec4 texel = TEXTURED ? texture(image, texCoord) : vec4(1.0);
    vec3 rgb = Operate(COLOUR_OP, Argument(COLOUR_ARG1, texel), Argument(COLOUR_ARG2, texel)).rgb;
    float a = Operate(ALPHA_OP, Argument(ALPHA_ARG1, texel), Argument(ALPHA_ARG2, texel)).a;
    if (ALPHA_TEST && !Passes(a)) discard;
    fragment = vec4(rgb, a);
}
)";

std::string Constants(const StageConfig& s) {
    auto n = [](uint32_t v) { return std::to_string(static_cast<int>(v & 0xff)); };
    return std::string(GLSLVersion) + "const int COLOUR_OP = " + n(s.colourOp) +
           ";\n"
           "const int COLOUR_ARG1 = " +
           n(s.colourArg1) +
           ";\n"
           "const int COLOUR_ARG2 = " +
           n(s.colourArg2) +
           ";\n"
           "const int ALPHA_OP = " +
           n(s.alphaOp) +
           ";\n"
           "const int ALPHA_ARG1 = " +
           n(s.alphaArg1) +
           ";\n"
           "const int ALPHA_ARG2 = " +
           n(s.alphaArg2) +
           ";\n"
           "const bool TEXTURED = " +
           (s.textured ? "true" : "false") +
           ";\n"
           "const bool ALPHA_TEST = " +
           (s.alphaTest ? "true" : "false") +
           ";\n"
           "const int ALPHA_FUNC = " +
           n(s.alphaFunc) + ";\n";
}

GLuint Compile(GLenum kind, const std::string& text, std::string& error) {
    GLuint shader = glCreateShader(kind);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        GLint length = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
        std::vector<char> log(static_cast<size_t>(length) + 1);
        glGetShaderInfoLog(shader, length, nullptr, log.data());
        error = std::string("shader: ") + log.data();
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

bool BuildFixedProgram(const StageConfig& stage, FixedProgram& out, std::string& error) {
    GLuint vertex = Compile(GL_VERTEX_SHADER, GLSLVersion + std::string(VertexSource), error);
    if (vertex == 0) return false;
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, Constants(stage) + FragmentSource, error);
    if (fragment == 0) {
        glDeleteShader(vertex);
        return false;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        error = std::string("shader program: ") + log;
        glDeleteProgram(program);
        return false;
    }
    out.program = program;
    auto at = [program](const char* name) { return glGetUniformLocation(program, name); };
    out.world = at("world");
    out.viewProjection = at("viewProjection");
    out.normalMatrix = at("normalMatrix");
    out.lighting = at("lighting");
    out.normalize = at("normalizeNormals");
    out.diffuseFromVertex = at("diffuseFromVertex");
    out.materialDiffuse = at("materialDiffuse");
    out.materialAmbient = at("materialAmbient");
    out.materialEmissive = at("materialEmissive");
    out.globalAmbient = at("globalAmbient");
    out.lightCount = at("lightCount");
    out.lightToward = at("lightToward");
    out.lightDiffuse = at("lightDiffuse");
    out.lightAmbient = at("lightAmbient");
    out.texture = at("image");
    out.alphaRef = at("alphaRef");
    return true;
}
