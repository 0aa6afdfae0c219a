// Everything a draw depends on besides its vertices, as the fixed-function device keeps it, with
// that device's defaults. Two draws with equal states may share one GL draw.
#pragma once

#include <array>
#include <cstdint>
#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <map>

#include "platform/device.h"
#include "platform/gl/gl_program.h"

// Values of the device's enumerations that the game never names but a device must accept.
constexpr uint32_t D3DCULL_CW = 2;
constexpr uint32_t D3DCULL_CCW = 3;
constexpr uint32_t D3DCMP_ALWAYS = 8;
constexpr uint32_t D3DBLEND_ZERO = 1;
constexpr uint32_t D3DBLEND_ONE = 2;
constexpr uint32_t D3DBLEND_SRCCOLOR = 3;
constexpr uint32_t D3DBLEND_INVSRCCOLOR = 4;
constexpr uint32_t D3DBLEND_DESTALPHA = 7;
constexpr uint32_t D3DBLEND_INVDESTALPHA = 8;
constexpr uint32_t D3DBLEND_DESTCOLOR = 9;
constexpr uint32_t D3DBLEND_INVDESTCOLOR = 10;
constexpr uint32_t D3DBLEND_SRCALPHASAT = 11;
constexpr uint32_t D3DTOP_SELECTARG1 = 2;
constexpr uint32_t D3DTEXF_POINT = 1;
constexpr uint32_t D3DTEXF_LINEAR = 2;
constexpr uint32_t D3DTADDRESS_MIRROR = 2;
constexpr uint32_t D3DTADDRESS_CLAMP = 3;
constexpr uint32_t D3DTADDRESS_BORDER = 4;
constexpr uint32_t D3DTADDRESS_MIRRORONCE = 5;

struct LightState {
    bool enabled = false;
    bool directional = false;  // other kinds of light are not drawn
    glm::vec3 toward{0.0f};    // unit vector toward the light
    glm::vec4 diffuse{0.0f};
    glm::vec4 ambient{0.0f};
    bool operator==(const LightState&) const = default;
};

struct DrawState {
    bool lighting = true;
    bool normalizeNormals = false;
    bool alphaTest = false;
    uint32_t alphaFunc = D3DCMP_ALWAYS;
    uint32_t alphaRef = 0;
    bool blend = false;
    uint32_t srcBlend = D3DBLEND_ONE;
    uint32_t destBlend = D3DBLEND_ZERO;
    bool depthTest = true;  // the back buffer has a depth buffer
    bool depthWrite = true;
    uint32_t depthFunc = dev::D3DCMP_LESSEQUAL;
    uint32_t cullMode = D3DCULL_CCW;
    uint32_t ambient = 0;  // global ambient colour, ARGB

    uint32_t colourOp = dev::D3DTOP_MODULATE;
    uint32_t colourArg1 = dev::D3DTA_TEXTURE;
    uint32_t colourArg2 = dev::D3DTA_CURRENT;
    uint32_t alphaOp = D3DTOP_SELECTARG1;
    uint32_t alphaArg1 = dev::D3DTA_TEXTURE;
    uint32_t alphaArg2 = dev::D3DTA_CURRENT;

    uint32_t addressU = dev::D3DTADDRESS_WRAP;
    uint32_t addressV = dev::D3DTADDRESS_WRAP;
    uint32_t magFilter = D3DTEXF_POINT;
    uint32_t minFilter = D3DTEXF_POINT;

    Texture* texture = nullptr;
    glm::vec4 materialDiffuse{0.0f};
    glm::vec4 materialAmbient{0.0f};
    glm::vec4 materialEmissive{0.0f};
    std::array<LightState, MaxLights> lights{};
    glm::mat4 viewProjection{1.0f};  // the row-vector view then projection, as one matrix
    // Lit vertices that carry a colour take their diffuse material from it, as the device does
    // by default.
    bool diffuseFromVertex = false;

    bool operator==(const DrawState&) const = default;
};

// The fragment stage that `state` needs.
StageConfig StageOf(const DrawState& state);

// The values one program's uniforms were last given.
struct UniformValues {
    glm::mat4 world{0.0f}, viewProjection{0.0f};
    glm::mat3 normalMatrix{0.0f};
    int lighting = -1, normalize = -1, diffuseFromVertex = -1;
    glm::vec4 materialDiffuse{-1.0f}, materialAmbient{-1.0f}, materialEmissive{-1.0f};
    glm::vec4 globalAmbient{-1.0f};
    int lightCount = -1;
    std::array<glm::vec3, MaxLights> lightToward{};
    std::array<glm::vec4, MaxLights> lightDiffuse{}, lightAmbient{};
    float alphaRef = -1.0f;
};

// What ApplyDrawState last left in GL: the next one issues only the calls whose values differ.
// Made fresh (or reset with `Forget`) it knows nothing, and the next apply sets everything.
struct AppliedGL {
    bool known = false;
    GLuint program = 0;
    GLuint texture = 0;  // bound to unit 0
    GLint wrapS = 0, wrapT = 0, magFilter = 0, minFilter = 0;
    bool depthTest = false, depthWrite = false, blend = false, cull = false;
    GLenum depthFunc = 0, srcBlend = 0, destBlend = 0, cullFace = 0;
    // By program. Uniforms belong to their program, which only ApplyDrawState sets, so they stay
    // known when the rest is forgotten.
    std::map<GLuint, UniformValues> uniforms;

    // For code that has changed GL state behind ApplyDrawState's back.
    void Forget() {
        std::map<GLuint, UniformValues> kept = std::move(uniforms);
        *this = AppliedGL{};
        uniforms = std::move(kept);
    }
};

// Makes `state` the GL state and the uniforms of `program` (built for StageOf(state)), with
// `world` applied on the GPU, issuing only what differs from `applied`, which it then updates.
void ApplyDrawState(AppliedGL& applied, const FixedProgram& program, GLuint sampler,
                    const DrawState& state, const glm::mat4& world, const glm::mat3& normalMatrix);
