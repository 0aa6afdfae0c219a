#include "platform/sdl/gl_state.h"

#include <glm/gtc/matrix_inverse.hpp>
#include <glm/gtc/type_ptr.hpp>

using namespace dev;

namespace {

GLenum BlendFactor(uint32_t d3d) {
    switch (d3d) {
        case 1:
            return GL_ZERO;
        case 2:
            return GL_ONE;
        case 3:
            return GL_SRC_COLOR;
        case 4:
            return GL_ONE_MINUS_SRC_COLOR;
        case 5:
            return GL_SRC_ALPHA;
        case 6:
            return GL_ONE_MINUS_SRC_ALPHA;
        case 7:
            return GL_DST_ALPHA;
        case 8:
            return GL_ONE_MINUS_DST_ALPHA;
        case 9:
            return GL_DST_COLOR;
        case 10:
            return GL_ONE_MINUS_DST_COLOR;
        case 11:
            return GL_SRC_ALPHA_SATURATE;
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
            return GL_CLAMP_TO_BORDER;
        case 5:
            return GL_MIRRORED_REPEAT;  // mirror once
        default:
            return GL_REPEAT;
    }
}

// No mipmaps are made, so the mip filter has nothing to choose from.
GLint Filter(uint32_t d3d) { return d3d >= D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST; }

glm::vec4 Colour(uint32_t argb) {
    return glm::vec4(((argb >> 16) & 0xff) / 255.0f, ((argb >> 8) & 0xff) / 255.0f,
                     (argb & 0xff) / 255.0f, ((argb >> 24) & 0xff) / 255.0f);
}

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

glm::mat3 NormalMatrix(const glm::mat4& world) {
    glm::mat3 m(world);
    return glm::determinant(m) != 0.0f ? glm::inverseTranspose(m) : m;
}

void ApplyDrawState(const FixedProgram& p, GLuint sampler, const DrawState& s,
                    const glm::mat4& world, const glm::mat3& normalMatrix) {
    glUseProgram(p.program);
    glUniformMatrix4fv(p.world, 1, GL_FALSE, glm::value_ptr(world));
    glUniformMatrix4fv(p.viewProjection, 1, GL_FALSE, glm::value_ptr(s.viewProjection));
    glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, glm::value_ptr(normalMatrix));
    glUniform1i(p.lighting, s.lighting);
    glUniform1i(p.normalize, s.normalizeNormals);
    glUniform1i(p.diffuseFromVertex, s.diffuseFromVertex);
    glUniform4fv(p.materialDiffuse, 1, glm::value_ptr(s.materialDiffuse));
    glUniform4fv(p.materialAmbient, 1, glm::value_ptr(s.materialAmbient));
    glUniform4fv(p.materialEmissive, 1, glm::value_ptr(s.materialEmissive));
    glUniform4fv(p.globalAmbient, 1, glm::value_ptr(Colour(s.ambient)));
    if (s.lighting) {
        glm::vec3 toward[MaxLights];
        glm::vec4 diffuse[MaxLights], ambient[MaxLights];
        int count = 0;
        for (const LightState& light : s.lights) {
            if (!light.enabled || !light.directional) continue;
            toward[count] = light.toward;
            diffuse[count] = light.diffuse;
            ambient[count] = light.ambient;
            ++count;
        }
        glUniform1i(p.lightCount, count);
        if (count > 0) {
            glUniform3fv(p.lightToward, count, glm::value_ptr(toward[0]));
            glUniform4fv(p.lightDiffuse, count, glm::value_ptr(diffuse[0]));
            glUniform4fv(p.lightAmbient, count, glm::value_ptr(ambient[0]));
        }
    }

    glUniform1i(p.texture, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, s.texture != nullptr ? s.texture->handle : 0);
    glBindSampler(0, sampler);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, Address(s.addressU));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, Address(s.addressV));
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, Filter(s.magFilter));
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, Filter(s.minFilter));
    glUniform1f(p.alphaRef, static_cast<float>(s.alphaRef & 0xff));

    if (s.depthTest) {
        glEnable(GL_DEPTH_TEST);
        // The comparison functions are numbered in the same order in both APIs.
        uint32_t func = s.depthFunc >= 1 && s.depthFunc <= 8 ? s.depthFunc : D3DCMP_LESSEQUAL;
        glDepthFunc(GL_NEVER + (func - 1));
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(s.depthWrite ? GL_TRUE : GL_FALSE);
    if (s.blend) {
        glEnable(GL_BLEND);
        glBlendFunc(BlendFactor(s.srcBlend), BlendFactor(s.destBlend));
    } else {
        glDisable(GL_BLEND);
    }
    // Front faces are the clockwise ones as the viewer sees them, in both APIs' screen terms.
    if (s.cullMode == D3DCULL_CW || s.cullMode == D3DCULL_CCW) {
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        glCullFace(s.cullMode == D3DCULL_CCW ? GL_BACK : GL_FRONT);
    } else {
        glDisable(GL_CULL_FACE);
    }
}
