#include "bench/frame/floor_frame.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <glm/geometric.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <map>
#include <optional>

#include "platform/core/image_file.h"
#include "platform/core/xfile.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_device_testing.h"
#include "platform/gl/gl_state.h"
#include "platform/gl/vertex_bytes.h"

using namespace dev;

namespace {

constexpr int MaxMatrices = 64;

const char* const VertexSource = R"(#version 330 core
layout(location = 0) in vec4 position;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec2 uv;
layout(location = 3) in ivec4 rect;
layout(location = 4) in int mode;  // matrix << 2 | clamp-to-edge << 1 | overlay
uniform mat4 matrices[64];
out vec4 diffuse;
out vec2 texCoord;
flat out ivec4 area;
flat out int clampToEdge;
void main() {
    vec4 clip = matrices[mode >> 2] * position;
    // Overlay images sit on the near plane, so that they pass the depth test as they would with
    // it off; the scene's depth 0..w becomes OpenGL's -w..w as in the device's program.
    clip.z = (mode & 1) != 0 ? -clip.w : 2.0 * clip.z - clip.w;
    gl_Position = clip;
    diffuse = colour;
    texCoord = uv;
    area = rect;
    clampToEdge = (mode >> 1) & 1;
}
)";

// Nearest-texel addressing done by hand in the atlas, as the sampler does it for one texture:
// wrap takes the fraction, clamp keeps to the edge texels.
const char* const FragmentSource = R"(#version 330 core
in vec4 diffuse;
in vec2 texCoord;
flat in ivec4 area;
flat in int clampToEdge;
uniform sampler2D atlas;
uniform float alphaRef;
out vec4 fragment;
void main() {
    vec2 size = vec2(area.zw);
    ivec2 clamped = clamp(ivec2(floor(texCoord * size)), ivec2(0), area.zw - 1);
    ivec2 wrapped = ivec2(min(fract(texCoord), vec2(0.99999994)) * size);
    ivec2 texel = clampToEdge != 0 ? clamped : wrapped;
    vec4 c = texelFetch(atlas, area.xy + texel, 0) * diffuse;
    if (floor(clamp(c.a, 0.0, 1.0) * 255.0 + 0.5) < alphaRef) discard;
    fragment = c;
}
)";

struct FloorVertex {
    glm::vec4 position;
    glm::vec4 colour;
    glm::vec2 uv;
    int32_t rect[4];
    int32_t mode;
};

glm::vec4 Colour(uint32_t argb) { return RgbaFloats(argb); }
glm::vec4 Colour(const D3DCOLORVALUE& c) { return {c.r, c.g, c.b, c.a}; }

// The device settings as the frame leaves them, with the device's defaults for unset ones.
struct Settings {
    std::map<uint32_t, uint32_t> render, stage, sampler;
    D3DLIGHT9 lights[MaxLights] = {};
    bool enabled[MaxLights] = {};
    Matrix world{1.0f}, view{1.0f}, projection{1.0f}, sprite{1.0f};
    uint32_t fvf = 0;
    const Texture* texture = nullptr;
    D3DMATERIAL9 material{};

    uint32_t Render(uint32_t state, uint32_t fallback) const {
        auto found = render.find(state);
        return found != render.end() ? found->second : fallback;
    }
    uint32_t Stage(uint32_t type, uint32_t fallback) const {
        auto found = stage.find(type);
        return found != stage.end() ? found->second : fallback;
    }
    uint32_t Sampler(uint32_t type, uint32_t fallback) const {
        auto found = sampler.find(type);
        return found != sampler.end() ? found->second : fallback;
    }
    void Apply(const DeviceCall& c) {
        if (c.op == "SetRenderState") render[c.ints[0]] = c.ints[1];
        if (c.op == "SetTextureStageState" && c.ints[0] == 0) stage[c.ints[1]] = c.ints[2];
        if (c.op == "SetSamplerState" && c.ints[0] == 0) sampler[c.ints[1]] = c.ints[2];
        if (c.op == "SetLight" && c.ints[0] < MaxLights) lights[c.ints[0]] = c.light;
        if (c.op == "LightEnable" && c.ints[0] < MaxLights) enabled[c.ints[0]] = c.ints[1] != 0;
        if (c.op == "SetTransform") {
            if (c.ints[0] == D3DTS_WORLD) world = c.matrix;
            if (c.ints[0] == D3DTS_VIEW) view = c.matrix;
            if (c.ints[0] == D3DTS_PROJECTION) projection = c.matrix;
        }
        if (c.op == "SetFVF") fvf = c.ints[0];
        if (c.op == "SetTexture" && c.ints[0] == 0) texture = c.texture;
        if (c.op == "SetMaterial") material = c.material;
        if (c.op == "Sprite.SetTransform") sprite = c.matrix;
    }
};

// The one combination of states the floor draws: textured, modulated by the diffuse colour,
// alpha-tested, alpha-blended, depth-tested, no culling, point sampling.
// Sprites take only the alpha test from the settings: the device fixes the rest for them.
std::string Unsupported(const Settings& s, bool sprite, uint32_t& alphaRef) {
    if (s.Render(D3DRS_ALPHATESTENABLE, FALSE) != TRUE) return "alpha test off";
    if (s.Render(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS) != D3DCMP_GREATEREQUAL) return "alpha function";
    alphaRef = s.Render(D3DRS_ALPHAREF, 0) & 0xff;
    if (sprite) return "";
    if (s.Stage(D3DTSS_COLOROP, D3DTOP_MODULATE) != D3DTOP_MODULATE) return "colour operation";
    if (s.Stage(D3DTSS_ALPHAOP, D3DTOP_SELECTARG1) != D3DTOP_MODULATE) return "alpha operation";
    for (auto [type, fallback] :
         {std::pair{D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}})
        if (s.Stage(type, fallback) != D3DTA_TEXTURE) return "first stage argument";
    for (auto [type, fallback] :
         {std::pair{D3DTSS_COLORARG2, D3DTA_CURRENT}, {D3DTSS_ALPHAARG2, D3DTA_CURRENT}})
        if (s.Stage(type, fallback) > D3DTA_CURRENT) return "second stage argument";
    if (s.Render(D3DRS_ALPHABLENDENABLE, FALSE) != TRUE ||
        s.Render(D3DRS_SRCBLEND, D3DBLEND_ONE) != D3DBLEND_SRCALPHA ||
        s.Render(D3DRS_DESTBLEND, D3DBLEND_ZERO) != D3DBLEND_INVSRCALPHA)
        return "blending";
    if (s.Render(D3DRS_ZENABLE, TRUE) == 0 || s.Render(D3DRS_ZWRITEENABLE, TRUE) == 0 ||
        s.Render(D3DRS_ZFUNC, D3DCMP_LESSEQUAL) != D3DCMP_LESSEQUAL)
        return "depth";
    if (s.Render(D3DRS_CULLMODE, D3DCULL_CCW) != D3DCULL_NONE) return "culling";
    if (s.Sampler(D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP) != D3DTADDRESS_WRAP ||
        s.Sampler(D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP) != D3DTADDRESS_WRAP)
        return "addressing";
    if (s.Sampler(D3DSAMP_MAGFILTER, D3DTEXF_POINT) != D3DTEXF_POINT ||
        s.Sampler(D3DSAMP_MINFILTER, D3DTEXF_POINT) != D3DTEXF_POINT)
        return "filtering";
    if (s.texture == nullptr) return "no texture";
    return "";
}

// The device's per-vertex lighting, worked on the CPU in the order its program works it.
glm::vec4 Lit(const Settings& s, glm::vec3 normal, const glm::mat3& normalMatrix) {
    glm::vec3 n = normalMatrix * normal;
    float length2 = glm::dot(n, n);
    if (s.Render(D3DRS_NORMALIZENORMALS, FALSE) != 0 && length2 > 0.0f)
        n *= 1.0f / std::sqrt(length2);
    glm::vec4 diffuse = Colour(s.material.diffuse), ambient = Colour(s.material.ambient);
    glm::vec3 lit = glm::vec3(Colour(s.material.emissive)) +
                    glm::vec3(Colour(s.Render(D3DRS_AMBIENT, 0))) * glm::vec3(ambient);
    for (int i = 0; i < MaxLights; ++i) {
        const D3DLIGHT9& light = s.lights[i];
        if (!s.enabled[i] || light.type != D3DLIGHT_DIRECTIONAL) continue;
        glm::vec3 direction(light.direction.x, light.direction.y, light.direction.z);
        float length = glm::length(direction);
        glm::vec3 toward = length > 0.0f ? -direction / length : glm::vec3(0.0f);
        lit += glm::vec3(Colour(light.ambient)) * glm::vec3(ambient);
        lit += std::max(glm::dot(n, toward), 0.0f) * glm::vec3(Colour(light.diffuse)) *
               glm::vec3(diffuse);
    }
    return glm::vec4(glm::clamp(lit, 0.0f, 1.0f), std::clamp(diffuse.a, 0.0f, 1.0f));
}

struct Placed {
    int x, y;
    Image image;
};

// Shelves of images, tallest first, in an atlas 2048 texels wide.
bool PackAtlas(std::map<const Texture*, Placed>& placed, int& height, std::string& error) {
    constexpr int Width = 2048;
    std::vector<std::pair<const Texture*, Placed*>> order;
    for (auto& [texture, place] : placed) {
        std::optional<Image> image = LoadImageFile(texture->path);
        if (!image || image->width > Width) {
            error = "cannot use " + texture->path;
            return false;
        }
        place.image = std::move(*image);
        order.emplace_back(texture, &place);
    }
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return a.second->image.height > b.second->image.height;
    });
    int x = 0, y = 0, shelf = 0;
    for (auto& [texture, place] : order) {
        if (x + place->image.width > Width) x = 0, y += shelf, shelf = 0;
        place->x = x;
        place->y = y;
        x += place->image.width;
        shelf = std::max(shelf, place->image.height);
    }
    height = y + shelf;
    return true;
}

}  // namespace

bool BuildFloor(const CapturedFrame& captured, FloorFrame& out, std::string& error) {
    XMeshData sky;
    if (!ReadXFile("data/sky.x", sky, error)) return false;

    Settings s;
    for (const DeviceCall& call : captured.settings) s.Apply(call);

    // First every triangle with its texture, then the atlas, then the texture rectangles.
    // Reserved in full: large blocks freed while growing would move glibc's mmap threshold.
    size_t most = 0;
    for (const DeviceCall& call : captured.calls) {
        if (call.op == "DrawPrimitiveUP") most += size_t(call.ints[1]) * 3;
        if (call.op == "Sprite.Draw") most += 6;
        if (call.op == "Mesh.DrawSubset" && call.ints[0] < sky.subsets.size())
            most += sky.subsets[call.ints[0]].size();
    }
    std::vector<FloorVertex> vertices;
    std::vector<const Texture*> textureOf;  // per vertex
    vertices.reserve(most);
    textureOf.reserve(most);
    std::map<const Texture*, Placed> placed;
    auto matrixIndex = [&](const Matrix& m) {
        for (size_t i = 0; i < out.matrices.size(); ++i)
            if (out.matrices[i] == m) return static_cast<int32_t>(i);
        out.matrices.push_back(m);
        return static_cast<int32_t>(out.matrices.size() - 1);
    };
    auto add = [&](FloorVertex v, const Texture* texture) {
        vertices.push_back(v);
        textureOf.push_back(texture);
        placed[texture];
    };
    bool refSet = false;
    auto check = [&](bool sprite, const std::string& what) {
        uint32_t ref = 0;
        std::string why = Unsupported(s, sprite, ref);
        if (why.empty() && refSet && ref != out.alphaRef) why = "a second alpha reference";
        if (!why.empty()) {
            error = "the floor does not draw " + what + ": " + why;
            return false;
        }
        out.alphaRef = ref;
        refSet = true;
        return true;
    };

    for (const DeviceCall& call : captured.calls) {
        s.Apply(call);
        if (call.op == "DrawPrimitiveUP") {
            if (!check(false, "a streamed draw")) return false;
            const uint32_t fvf = s.fvf, stride = call.ints[2];
            if (s.Render(D3DRS_LIGHTING, TRUE) != FALSE || call.ints[0] != D3DPT_TRIANGLELIST ||
                (fvf & 0x00e) != D3DFVF_XYZ || !(fvf & D3DFVF_DIFFUSE) || ((fvf >> 8) & 0xf) == 0 ||
                (fvf & 0x080)) {
                error = "the floor draws only unlit coloured textured triangle lists";
                return false;
            }
            const uint32_t diffuseAt = 12 + ((fvf & D3DFVF_NORMAL) ? 12 : 0), uvAt = diffuseAt + 4;
            int32_t m = matrixIndex(D3DXMatrixMultiply(s.view, s.projection)) << 2;
            const auto* bytes = reinterpret_cast<const uint8_t*>(call.data.data());
            for (uint32_t i = 0; i < call.ints[1] * 3; ++i, bytes += stride) {
                FloorVertex v{};
                // Moved to world space on the CPU exactly as the device moves them.
                v.position = s.world * glm::vec4(Load<glm::vec3>(bytes), 1.0f);
                v.colour = Colour(Load<uint32_t>(bytes + diffuseAt));
                v.uv = Load<glm::vec2>(bytes + uvAt);
                v.mode = m;
                add(v, s.texture);
            }
        } else if (call.op == "Mesh.DrawSubset") {
            if (!check(false, "the sky")) return false;
            if (s.Render(D3DRS_LIGHTING, TRUE) == FALSE || call.ints[0] >= sky.subsets.size()) {
                error = "the floor draws the sky only lit";
                return false;
            }
            glm::mat3 normalMatrix = NormalMatrix(s.world);
            int32_t m = matrixIndex(D3DXMatrixMultiply(s.view, s.projection)) << 2;
            for (uint32_t index : sky.subsets[call.ints[0]]) {
                const XVertex& x = sky.vertices.at(index);
                FloorVertex v{};
                v.position = s.world * glm::vec4(x.position, 1.0f);
                v.colour = Lit(s, x.normal, normalMatrix);
                v.uv = x.uv;
                v.mode = m;
                add(v, s.texture);
            }
        } else if (call.op == "Sprite.Draw") {
            if (!check(true, "a sprite") || call.texture == nullptr) return false;
            Matrix pixels(1.0f);
            pixels[0][0] = 2.0f / BackBufferWidth;
            pixels[1][1] = -2.0f / BackBufferHeight;
            pixels[2][2] = 0.0f;
            pixels[3] = glm::vec4(-1.0f, 1.0f, 0.5f, 1.0f);
            int32_t m = matrixIndex(D3DXMatrixMultiply(s.sprite, pixels)) << 2 | 2 | 1;
            float w = static_cast<float>(call.texture->width);
            float h = static_cast<float>(call.texture->height);
            const uint32_t colour = call.ints[0];
            for (auto [u, v] : {std::pair{0.f, 0.f},
                                {0.f, 1.f},
                                {1.f, 0.f},
                                {1.f, 0.f},
                                {0.f, 1.f},
                                {1.f, 1.f}}) {
                FloorVertex vertex{};
                vertex.position =
                    glm::vec4(u * w - call.floats[0], v * h - call.floats[1], 0.0f, 1.0f);
                vertex.colour = Colour(colour);
                vertex.uv = {u, v};
                vertex.mode = m;
                add(vertex, call.texture);
            }
        }
    }
    if (out.matrices.size() > MaxMatrices) {
        error = "too many matrices for the floor";
        return false;
    }

    int atlasHeight = 0;
    if (!PackAtlas(placed, atlasHeight, error)) return false;
    for (size_t i = 0; i < vertices.size(); ++i) {
        const Placed& p = placed.at(textureOf[i]);
        int32_t rect[4] = {p.x, p.y, p.image.width, p.image.height};
        std::memcpy(vertices[i].rect, rect, sizeof rect);
    }

    glGenTextures(1, &out.atlas);
    glBindTexture(GL_TEXTURE_2D, out.atlas);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2048, atlasHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    for (const auto& [texture, p] : placed)
        glTexSubImage2D(GL_TEXTURE_2D, 0, p.x, p.y, p.image.width, p.image.height, GL_RGBA,
                        GL_UNSIGNED_BYTE, p.image.rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

    auto compile = [&](GLenum kind, const char* source) -> GLuint {
        GLuint shader = glCreateShader(kind);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        GLint ok = 0;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
        if (!ok) {
            char log[1024] = {};
            glGetShaderInfoLog(shader, sizeof log, nullptr, log);
            error = std::string("floor shader: ") + log;
            glDeleteShader(shader);
            return 0;
        }
        return shader;
    };
    GLuint vertex = compile(GL_VERTEX_SHADER, VertexSource);
    GLuint fragment = vertex != 0 ? compile(GL_FRAGMENT_SHADER, FragmentSource) : 0;
    if (fragment == 0) {
        glDeleteShader(vertex);
        return false;
    }
    out.program = glCreateProgram();
    glAttachShader(out.program, vertex);
    glAttachShader(out.program, fragment);
    glLinkProgram(out.program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = 0;
    glGetProgramiv(out.program, GL_LINK_STATUS, &linked);
    if (!linked) {
        error = "the floor program does not link";
        return false;
    }
    out.matricesAt = glGetUniformLocation(out.program, "matrices");
    out.atlasAt = glGetUniformLocation(out.program, "atlas");
    out.alphaRefAt = glGetUniformLocation(out.program, "alphaRef");

    glGenVertexArrays(1, &out.vertexArray);
    glBindVertexArray(out.vertexArray);
    glGenBuffers(1, &out.vertices);
    glBindBuffer(GL_ARRAY_BUFFER, out.vertices);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(FloorVertex)),
                 vertices.data(), GL_STATIC_DRAW);
    const auto stride = static_cast<GLsizei>(sizeof(FloorVertex));
    auto at = [](size_t offset) { return reinterpret_cast<void*>(offset); };
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride, at(offsetof(FloorVertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride, at(offsetof(FloorVertex, colour)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, at(offsetof(FloorVertex, uv)));
    glEnableVertexAttribArray(3);
    glVertexAttribIPointer(3, 4, GL_INT, stride, at(offsetof(FloorVertex, rect)));
    glEnableVertexAttribArray(4);
    glVertexAttribIPointer(4, 1, GL_INT, stride, at(offsetof(FloorVertex, mode)));
    glBindVertexArray(0);
    out.vertexCount = static_cast<GLsizei>(vertices.size());
    return true;
}

void DrawFloor(Device& glDevice, const DeviceCall& clear, const FloorFrame& floor) {
    glDevice.Clear(clear.ints[0], clear.ints[1], clear.floats[0], clear.ints[2]);
    glUseProgram(floor.program);
    glUniformMatrix4fv(floor.matricesAt, static_cast<GLsizei>(floor.matrices.size()), GL_FALSE,
                       glm::value_ptr(floor.matrices[0]));
    glUniform1i(floor.atlasAt, 0);
    glUniform1f(floor.alphaRefAt, static_cast<float>(floor.alphaRef));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, floor.atlas);
    glBindSampler(0, 0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_CULL_FACE);
    glBindVertexArray(floor.vertexArray);
    glDrawArrays(GL_TRIANGLES, 0, floor.vertexCount);
    ForgetGLState(glDevice);
    glDevice.Present();
}

void DestroyFloor(FloorFrame& floor) {
    glDeleteProgram(floor.program);
    glDeleteVertexArrays(1, &floor.vertexArray);
    glDeleteBuffers(1, &floor.vertices);
    glDeleteTextures(1, &floor.atlas);
    floor = FloorFrame{};
}
