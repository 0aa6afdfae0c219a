#include "platform/gl/gl_state.h"

#include <glm/gtc/type_ptr.hpp>

#include "platform/gl/vertex_bytes.h"

using namespace dev;

namespace {

GLenum BlendFactor(uint32_t d3d) {
    switch (d3d) {
        case D3DBLEND_ZERO:
            return GL_ZERO;
        case D3DBLEND_SRCCOLOR:
            return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR:
            return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA:
            return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA:
            return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA:
            return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA:
            return GL_ONE_MINUS_DST_ALPHA;
        case D3DBLEND_DESTCOLOR:
            return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR:
            return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT:
            return GL_SRC_ALPHA_SATURATE;
        case D3DBLEND_ONE:
        default:
            return GL_ONE;
    }
}

GLint Address(uint32_t d3d) {
    switch (d3d) {
        case D3DTADDRESS_MIRROR:
            return GL_MIRRORED_REPEAT;
        case D3DTADDRESS_CLAMP:
            return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_BORDER:
            return ClampToBorder;
        case D3DTADDRESS_MIRRORONCE:
            return GL_MIRRORED_REPEAT;
        default:
            return GL_REPEAT;
    }
}

// No mipmaps are made, so the mip filter has nothing to choose from.
GLint Filter(uint32_t d3d) { return d3d >= D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST; }

}  // namespace

StageConfig StageOf(const DrawState& s) {
    StageConfig stage;
    stage.colourOp = s.colourOp;
    stage.colourArg1 = s.colourArg1;
    stage.colourArg2 = s.colourArg2;
    stage.alphaOp = s.alphaOp;
    stage.alphaArg1 = s.alphaArg1;
    stage.alphaArg2 = s.alphaArg2;
    stage.textured = s.texture != nullptr;
    stage.alphaTest = s.alphaTest;
    stage.alphaFunc = s.alphaTest ? s.alphaFunc : 0;
    return stage;
}

namespace {

// Each sets the uniform when its value differs from the one kept, and keeps the new one.
void SetInt(GLint at, int& kept, int value) {
    if (kept == value) return;
    kept = value;
    glUniform1i(at, value);
}
void SetVec4(GLint at, glm::vec4& kept, const glm::vec4& value) {
    if (kept == value) return;
    kept = value;
    glUniform4fv(at, 1, glm::value_ptr(value));
}
void SetMat4(GLint at, glm::mat4& kept, const glm::mat4& value) {
    if (kept == value) return;
    kept = value;
    glUniformMatrix4fv(at, 1, GL_FALSE, glm::value_ptr(value));
}

void SetUniforms(const FixedProgram& p, UniformValues& u, const DrawState& s,
                 const glm::mat4& world, const glm::mat3& normalMatrix) {
    SetMat4(p.world, u.world, world);
    SetMat4(p.viewProjection, u.viewProjection, s.viewProjection);
    if (u.normalMatrix != normalMatrix) {
        u.normalMatrix = normalMatrix;
        glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, glm::value_ptr(normalMatrix));
    }
    SetInt(p.lighting, u.lighting, s.lighting);
    SetInt(p.normalize, u.normalize, s.normalizeNormals);
    SetInt(p.diffuseFromVertex, u.diffuseFromVertex, s.diffuseFromVertex);
    SetVec4(p.materialDiffuse, u.materialDiffuse, s.materialDiffuse);
    SetVec4(p.materialAmbient, u.materialAmbient, s.materialAmbient);
    SetVec4(p.materialEmissive, u.materialEmissive, s.materialEmissive);
    SetVec4(p.globalAmbient, u.globalAmbient, RgbaFloats(s.ambient));
    if (s.lighting) {
        // Unlit draws leave the lights as they were: the program does not read them.
        std::array<glm::vec3, MaxLights> toward{};
        std::array<glm::vec4, MaxLights> diffuse{}, ambient{};
        int count = 0;
        for (const LightState& light : s.lights) {
            if (!light.enabled || !light.directional) continue;
            toward[count] = light.toward;
            diffuse[count] = light.diffuse;
            ambient[count] = light.ambient;
            ++count;
        }
        SetInt(p.lightCount, u.lightCount, count);
        if (count > 0 &&
            (toward != u.lightToward || diffuse != u.lightDiffuse || ambient != u.lightAmbient)) {
            u.lightToward = toward;
            u.lightDiffuse = diffuse;
            u.lightAmbient = ambient;
            glUniform3fv(p.lightToward, count, glm::value_ptr(toward[0]));
            glUniform4fv(p.lightDiffuse, count, glm::value_ptr(diffuse[0]));
            glUniform4fv(p.lightAmbient, count, glm::value_ptr(ambient[0]));
        }
    }
    float alphaRef = static_cast<float>(s.alphaRef & 0xff);
    if (u.alphaRef != alphaRef) {
        u.alphaRef = alphaRef;
        glUniform1f(p.alphaRef, alphaRef);
    }
}

void SetSampler(GLuint sampler, GLenum name, GLint& kept, GLint value) {
    if (kept == value) return;
    kept = value;
    glSamplerParameteri(sampler, name, value);
}

void SetEnabled(GLenum capability, bool& kept, bool on, bool known) {
    if (known && kept == on) return;
    kept = on;
    on ? glEnable(capability) : glDisable(capability);
}

}  // namespace

void ApplyDrawState(AppliedGL& a, const FixedProgram& p, GLuint sampler, const DrawState& s,
                    const glm::mat4& world, const glm::mat3& normalMatrix) {
    const bool known = a.known;
    if (!known) {
        // Settings no draw changes: made once.
        glActiveTexture(GL_TEXTURE0);
        glBindSampler(0, sampler);
        glFrontFace(GL_CW);  // front faces are the clockwise ones, as the viewer sees them
        a.known = true;
    }
    if (!known || a.program != p.program) {
        a.program = p.program;
        glUseProgram(p.program);
    }
    auto [entry, added] = a.uniforms.try_emplace(p.program);
    if (added) glUniform1i(p.texture, 0);
    SetUniforms(p, entry->second, s, world, normalMatrix);

    GLuint texture = s.texture != nullptr ? s.texture->handle : 0;
    if (!known || a.texture != texture) {
        a.texture = texture;
        glBindTexture(GL_TEXTURE_2D, texture);
    }
    if (!known) a.wrapS = a.wrapT = a.magFilter = a.minFilter = 0;
    SetSampler(sampler, GL_TEXTURE_WRAP_S, a.wrapS, Address(s.addressU));
    SetSampler(sampler, GL_TEXTURE_WRAP_T, a.wrapT, Address(s.addressV));
    SetSampler(sampler, GL_TEXTURE_MAG_FILTER, a.magFilter, Filter(s.magFilter));
    SetSampler(sampler, GL_TEXTURE_MIN_FILTER, a.minFilter, Filter(s.minFilter));

    SetEnabled(GL_DEPTH_TEST, a.depthTest, s.depthTest, known);
    if (s.depthTest) {
        // The comparison functions are numbered in the same order in both APIs.
        uint32_t func = s.depthFunc >= 1 && s.depthFunc <= 8 ? s.depthFunc : D3DCMP_LESSEQUAL;
        GLenum depthFunc = GL_NEVER + (func - 1);
        if (!known || a.depthFunc != depthFunc) {
            a.depthFunc = depthFunc;
            glDepthFunc(depthFunc);
        }
    }
    if (!known || a.depthWrite != s.depthWrite) {
        a.depthWrite = s.depthWrite;
        glDepthMask(s.depthWrite ? GL_TRUE : GL_FALSE);
    }
    SetEnabled(GL_BLEND, a.blend, s.blend, known);
    if (s.blend) {
        GLenum src = BlendFactor(s.srcBlend), dest = BlendFactor(s.destBlend);
        if (!known || a.srcBlend != src || a.destBlend != dest) {
            a.srcBlend = src;
            a.destBlend = dest;
            glBlendFunc(src, dest);
        }
    }
    const bool cull = s.cullMode == D3DCULL_CW || s.cullMode == D3DCULL_CCW;
    SetEnabled(GL_CULL_FACE, a.cull, cull, known);
    if (cull) {
        GLenum face = s.cullMode == D3DCULL_CCW ? GL_BACK : GL_FRONT;
        if (!known || a.cullFace != face) {
            a.cullFace = face;
            glCullFace(face);
        }
    }
}
