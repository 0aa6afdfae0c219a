#include "platform/gl/gl_device.h"

#include <algorithm>
#include <cstring>
#include <glm/geometric.hpp>
#include <map>
#include <optional>
#include <vector>

#include "platform/core/xfile.h"
#include "platform/gl/gl_device_testing.h"
#include "platform/gl/gl_program.h"
#include "platform/gl/gl_state.h"
#include "platform/gl/vertex_bytes.h"

using namespace dev;

namespace {

// One vertex as the program reads it: positions already in world space for streamed draws.
struct GLVertex {
    glm::vec4 position;
    glm::vec3 normal;
    uint8_t colour[4];  // RGBA
    glm::vec2 uv;
};

// Where the parts of a flexible-format vertex lie; offsets of absent parts are negative.
struct VertexLayout {
    int normal = -1, diffuse = -1, uv = -1;
    uint32_t size = 0;
};

// Only untransformed positions are drawn; the format order is position, normal, diffuse,
// specular, then texture coordinate sets (the first one is used).
bool LayoutOf(uint32_t fvf, VertexLayout& layout) {
    if ((fvf & 0x00e) != D3DFVF_XYZ) return false;
    uint32_t at = 12;
    if (fvf & D3DFVF_NORMAL) layout.normal = static_cast<int>(at), at += 12;
    if (fvf & D3DFVF_DIFFUSE) layout.diffuse = static_cast<int>(at), at += 4;
    if (fvf & 0x080) at += 4;  // specular colour, unused
    uint32_t sets = (fvf >> 8) & 0xf;
    if (sets > 0) layout.uv = static_cast<int>(at);
    layout.size = at + 8 * sets;
    return true;
}

void SetAttributes() {
    const auto stride = static_cast<GLsizei>(sizeof(GLVertex));
    glEnableVertexAttribArray(AttribPosition);
    glVertexAttribPointer(AttribPosition, 4, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(GLVertex, position)));
    glEnableVertexAttribArray(AttribNormal);
    glVertexAttribPointer(AttribNormal, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(GLVertex, normal)));
    glEnableVertexAttribArray(AttribColour);
    glVertexAttribPointer(AttribColour, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<void*>(offsetof(GLVertex, colour)));
    glEnableVertexAttribArray(AttribUV);
    glVertexAttribPointer(AttribUV, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(GLVertex, uv)));
}

class GLDevice;

class GLSprite : public Sprite {
  public:
    explicit GLSprite(GLDevice& owner) : owner_(owner) {}
    void SetTransform(const Matrix& transform) override { transform_ = transform; }
    void Begin(uint32_t) override {}
    void Draw(Texture* texture, D3DVECTOR center, uint32_t color) override;
    void End() override {}

  private:
    GLDevice& owner_;
    Matrix transform_{1.0f};
};

class GLMesh : public Mesh {
  public:
    GLMesh(GLDevice& owner, const XMeshData& data);
    ~GLMesh() override {
        glDeleteVertexArrays(1, &vertexArray_);
        glDeleteBuffers(1, &vertices_);
        glDeleteBuffers(1, &indices_);
    }
    void DrawSubset(uint32_t subset) override;

  private:
    friend class GLDevice;
    GLDevice& owner_;
    GLuint vertexArray_ = 0, vertices_ = 0, indices_ = 0;
    struct Range {
        size_t first;
        GLsizei count;
    };
    std::vector<Range> subsets_;
};

class GLDevice : public Device {
  public:
    explicit GLDevice(std::unique_ptr<GLSurface> surface) : surface_(std::move(surface)) {}
    ~GLDevice() override {
        meshes_.clear();
        sprites_.clear();
        for (auto& texture : textures_) glDeleteTextures(1, &texture->handle);
        glDeleteVertexArrays(1, &streamArray_);
        glDeleteBuffers(1, &streamBuffer_);
        glDeleteSamplers(1, &sampler_);
        for (auto& [stage, program] : programs_) glDeleteProgram(program.program);
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteTextures(1, &colour_);
        glDeleteRenderbuffers(1, &depth_);
    }

    bool Init(std::string& error) {
        if (!GLVersionEnough(error)) return false;
        // A texture, so that Present can draw it.
        glGenTextures(1, &colour_);
        glBindTexture(GL_TEXTURE_2D, colour_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, BackBufferWidth, BackBufferHeight, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glBindTexture(GL_TEXTURE_2D, 0);
        backBuffer_.width = BackBufferWidth;
        backBuffer_.height = BackBufferHeight;
        backBuffer_.handle = colour_;
        glGenRenderbuffers(1, &depth_);
        glBindRenderbuffer(GL_RENDERBUFFER, depth_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, BackBufferWidth,
                              BackBufferHeight);
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour_, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            error = "the back buffer cannot be made";
            return false;
        }
        glViewport(0, 0, BackBufferWidth, BackBufferHeight);
        // The stage the game uses, built now so that a driver that cannot build it fails here.
        DrawState game;
        game.colourArg2 = D3DTA_DIFFUSE;
        game.alphaOp = D3DTOP_MODULATE;
        game.alphaTest = true;
        game.alphaFunc = D3DCMP_GREATEREQUAL;
        if (ProgramFor(game, error) == nullptr) return false;
        glGenSamplers(1, &sampler_);
        glGenVertexArrays(1, &streamArray_);
        glGenBuffers(1, &streamBuffer_);
        glBindVertexArray(streamArray_);
        glBindBuffer(GL_ARRAY_BUFFER, streamBuffer_);
        SetAttributes();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        return true;
    }

    void Clear(uint32_t flags, uint32_t color, float z, uint32_t) override {
        // The frame clears before its BeginScene: looked at here too, so that the first frame
        // after the window is hidden draws nothing either.
        unseen_ = surface_->Unseen();
        if (unseen_) return;
        Flush();
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glViewport(0, 0, BackBufferWidth, BackBufferHeight);
        GLbitfield mask = 0;
        if (flags & D3DCLEAR_TARGET) {
            glm::vec4 rgba = RgbaFloats(color);
            glClearColor(rgba.r, rgba.g, rgba.b, rgba.a);
            mask |= GL_COLOR_BUFFER_BIT;
        }
        if (flags & D3DCLEAR_ZBUFFER) {
            ClearDepth(z);
            glDepthMask(GL_TRUE);
            applied.depthWrite = true;
            mask |= GL_DEPTH_BUFFER_BIT;
        }
        glClear(mask);
    }
    // While the window is minimised or hidden nothing can be seen: the frame's drawing and its
    // presenting are skipped, and everything else goes on as ever.
    void BeginScene() override { unseen_ = surface_->Unseen(); }
    void EndScene() override { Flush(); }
    void Present() override {
        if (unseen_) return;
        Flush();
        int width = 0, height = 0;
        surface_->DrawableSize(width, height);
        PresentArea area = FitBackBuffer(width, height);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, width, height);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        // The picture goes up as one quad through the game's own program. A framebuffer blit
        // made a software renderer build shaders of its own, anew at every start, which took
        // longer than drawing the whole first frame.
        glViewport(area.x, area.y, area.width, area.height);
        DrawState s;
        s.lighting = false;
        s.depthTest = s.depthWrite = false;
        s.cullMode = D3DCULL_NONE;
        // Texture times the white vertex colour, exactly the texture: reading the colour too
        // keeps the program's inputs those of the game's draws, which spares another compile.
        s.colourOp = s.alphaOp = D3DTOP_MODULATE;
        s.colourArg1 = s.alphaArg1 = D3DTA_TEXTURE;
        s.colourArg2 = s.alphaArg2 = D3DTA_CURRENT;
        s.addressU = s.addressV = D3DTADDRESS_CLAMP;
        s.magFilter = s.minFilter = area.sharp ? D3DTEXF_POINT : D3DTEXF_LINEAR;
        s.texture = &backBuffer_;
        std::vector<GLVertex> quad;
        for (auto [u, v] :
             {std::pair{0.f, 0.f}, {1.f, 0.f}, {0.f, 1.f}, {0.f, 1.f}, {1.f, 0.f}, {1.f, 1.f}}) {
            GLVertex corner{};
            corner.position = glm::vec4(2.0f * u - 1.0f, 2.0f * v - 1.0f, 0.5f, 1.0f);
            std::fill(std::begin(corner.colour), std::end(corner.colour), uint8_t{255});
            corner.uv = {u, v};
            quad.push_back(corner);
        }
        DrawVertices(s, quad);
        surface_->Swap();
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glViewport(0, 0, BackBufferWidth, BackBufferHeight);
    }

    void SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) override {
        stateTouched_ = true;
        DrawState& s = current_;
        switch (state) {
            case D3DRS_LIGHTING:
                s.lighting = value != 0;
                break;
            case D3DRS_NORMALIZENORMALS:
                s.normalizeNormals = value != 0;
                break;
            case D3DRS_ALPHATESTENABLE:
                s.alphaTest = value != 0;
                break;
            case D3DRS_ALPHAFUNC:
                s.alphaFunc = value;
                break;
            case D3DRS_ALPHAREF:
                s.alphaRef = value;
                break;
            case D3DRS_ALPHABLENDENABLE:
                s.blend = value != 0;
                break;
            case D3DRS_SRCBLEND:
                s.srcBlend = value;
                break;
            case D3DRS_DESTBLEND:
                s.destBlend = value;
                break;
            case D3DRS_ZENABLE:
                s.depthTest = value != 0;
                break;
            case D3DRS_ZWRITEENABLE:
                s.depthWrite = value != 0;
                break;
            case D3DRS_ZFUNC:
                s.depthFunc = value;
                break;
            case D3DRS_CULLMODE:
                s.cullMode = value;
                break;
            case D3DRS_AMBIENT:
                s.ambient = value;
                break;
            default:
                break;  // Gouraud shading is the only kind; fog is never turned on
        }
    }
    void SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type,
                              uint32_t value) override {
        if (stage != 0) return;
        stateTouched_ = true;
        DrawState& s = current_;
        switch (type) {
            case D3DTSS_COLOROP:
                s.colourOp = value;
                break;
            case D3DTSS_COLORARG1:
                s.colourArg1 = value;
                break;
            case D3DTSS_COLORARG2:
                s.colourArg2 = value;
                break;
            case D3DTSS_ALPHAOP:
                s.alphaOp = value;
                break;
            case D3DTSS_ALPHAARG1:
                s.alphaArg1 = value;
                break;
            case D3DTSS_ALPHAARG2:
                s.alphaArg2 = value;
                break;
        }
    }
    void SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) override {
        if (sampler != 0) return;
        stateTouched_ = true;
        DrawState& s = current_;
        switch (type) {
            case D3DSAMP_ADDRESSU:
                s.addressU = value;
                break;
            case D3DSAMP_ADDRESSV:
                s.addressV = value;
                break;
            case D3DSAMP_MAGFILTER:
                s.magFilter = value;
                break;
            case D3DSAMP_MINFILTER:
                s.minFilter = value;
                break;
            case D3DSAMP_MIPFILTER:
                break;  // textures have no mipmaps
        }
    }
    void SetLight(uint32_t index, const D3DLIGHT9& light) override {
        if (index >= MaxLights) return;
        stateTouched_ = true;
        LightState& l = current_.lights[index];
        l.directional = light.type == D3DLIGHT_DIRECTIONAL;
        glm::vec3 direction(light.direction.x, light.direction.y, light.direction.z);
        float length = glm::length(direction);
        l.toward = length > 0.0f ? -direction / length : glm::vec3(0.0f);
        l.diffuse = {light.diffuse.r, light.diffuse.g, light.diffuse.b, light.diffuse.a};
        l.ambient = {light.ambient.r, light.ambient.g, light.ambient.b, light.ambient.a};
    }
    void LightEnable(uint32_t index, bool enable) override {
        if (index >= MaxLights) return;
        stateTouched_ = true;
        current_.lights[index].enabled = enable;
    }
    void SetTransform(D3DTRANSFORMSTATETYPE state, const Matrix& matrix) override {
        switch (state) {
            case D3DTS_WORLD:
                // Every quad sets its own world matrix and few need normals: the inverse is
                // worked out when a lit draw asks for it.
                world_ = matrix;
                normalMatrixStale_ = true;
                break;
            case D3DTS_VIEW:
                view_ = matrix;
                stateTouched_ = true;
                current_.viewProjection = D3DXMatrixMultiply(view_, projection_);
                break;
            case D3DTS_PROJECTION:
                projection_ = matrix;
                stateTouched_ = true;
                current_.viewProjection = D3DXMatrixMultiply(view_, projection_);
                break;
        }
    }
    void SetFVF(uint32_t fvf) override { fvf_ = fvf; }
    void SetTexture(uint32_t stage, Texture* texture) override {
        // Each quad sets its texture again, mostly the same one.
        if (stage != 0 || current_.texture == texture) return;
        stateTouched_ = true;
        current_.texture = texture;
    }
    void SetMaterial(const D3DMATERIAL9& m) override {
        stateTouched_ = true;
        current_.materialDiffuse = {m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a};
        current_.materialAmbient = {m.ambient.r, m.ambient.g, m.ambient.b, m.ambient.a};
        current_.materialEmissive = {m.emissive.r, m.emissive.g, m.emissive.b, m.emissive.a};
    }

    // The vertices are moved to world space here, so draws that differ only in their world
    // matrix (every quad) join one GL draw; the order of triangles stays the order of calls.
    void DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                         uint32_t stride) override {
        VertexLayout layout;
        if (unseen_ || type != D3DPT_TRIANGLELIST || primitiveCount == 0 || vertices == nullptr ||
            !LayoutOf(fvf_, layout) || stride < layout.size)
            return;
        // Untouched settings since the pending batch was made under them need no comparing.
        const bool diffuse = layout.diffuse >= 0;
        if (pending_.empty() || stateTouched_ || batch_.diffuseFromVertex != diffuse) {
            DrawState state = current_;
            state.diffuseFromVertex = diffuse;
            Join(state);
            stateTouched_ = false;
        }
        const bool lighting = current_.lighting;
        const auto* bytes = static_cast<const uint8_t*>(vertices);
        size_t count = static_cast<size_t>(primitiveCount) * 3;
        for (size_t i = 0; i < count; ++i, bytes += stride) {
            GLVertex v{};
            v.position = world_ * glm::vec4(Load<glm::vec3>(bytes), 1.0f);
            if (layout.normal >= 0 && lighting)
                v.normal = NormalMatrixNow() * Load<glm::vec3>(bytes + layout.normal);
            RgbaBytes(layout.diffuse >= 0 ? Load<uint32_t>(bytes + layout.diffuse) : ~0u, v.colour);
            if (layout.uv >= 0) v.uv = Load<glm::vec2>(bytes + layout.uv);
            pending_.push_back(v);
        }
        if (!batching) Flush();
    }

    Texture* CreateTextureFromFile(const std::string& path) override {
        std::optional<Image> image = LoadImageFile(path);
        GLint largest = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
        if (!image || image->width > largest || image->height > largest) return nullptr;
        auto texture = std::make_unique<Texture>();
        texture->width = static_cast<uint32_t>(image->width);
        texture->height = static_cast<uint32_t>(image->height);
        texture->path = path;
        glGenTextures(1, &texture->handle);
        glBindTexture(GL_TEXTURE_2D, texture->handle);
        applied.texture = texture->handle;
        // The first row of the file is row 0, so tv 0 is the top of the image.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image->width, image->height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, image->rgba.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        textures_.push_back(std::move(texture));
        return textures_.back().get();
    }
    Sprite* CreateSprite() override {
        sprites_.push_back(std::make_unique<GLSprite>(*this));
        return sprites_.back().get();
    }
    Mesh* LoadMeshFromX(const std::string& path, std::vector<XMaterial>& materials,
                        std::string& error) override {
        XMeshData data;
        if (!ReadXFile(path, data, error)) return nullptr;
        materials = data.materials;
        meshes_.push_back(std::make_unique<GLMesh>(*this, data));
        return meshes_.back().get();
    }

    // The whole texture, unscaled, with `centre` on the sprite transform's origin; blended over
    // the scene with no depth test, under the device's alpha test.
    void DrawSprite(Texture* texture, D3DVECTOR centre, uint32_t colour, const Matrix& transform) {
        if (texture == nullptr || unseen_) return;
        DrawState state = current_;
        state.lighting = false;
        state.depthTest = false;
        state.depthWrite = false;
        state.cullMode = D3DCULL_NONE;
        state.blend = true;
        state.srcBlend = D3DBLEND_SRCALPHA;
        state.destBlend = D3DBLEND_INVSRCALPHA;
        state.colourOp = state.alphaOp = D3DTOP_MODULATE;
        state.colourArg1 = state.alphaArg1 = D3DTA_TEXTURE;
        state.colourArg2 = state.alphaArg2 = D3DTA_DIFFUSE;
        state.magFilter = state.minFilter = D3DTEXF_POINT;
        state.addressU = state.addressV = D3DTADDRESS_CLAMP;
        state.texture = texture;
        state.diffuseFromVertex = false;
        // Back-buffer pixels to clip space: x right, y down, any depth inside the range.
        Matrix pixels(1.0f);
        pixels[0][0] = 2.0f / BackBufferWidth;
        pixels[1][1] = -2.0f / BackBufferHeight;
        pixels[2][2] = 0.0f;
        pixels[3] = glm::vec4(-1.0f, 1.0f, 0.5f, 1.0f);
        state.viewProjection = D3DXMatrixMultiply(transform, pixels);
        Join(state);
        stateTouched_ = true;  // the batch now holds the sprite's state, not the settings
        float w = static_cast<float>(texture->width), h = static_cast<float>(texture->height);
        auto corner = [&](float u, float v) {
            GLVertex vertex{};
            vertex.position = glm::vec4(u * w - centre.x, v * h - centre.y, 0.0f, 1.0f);
            RgbaBytes(colour, vertex.colour);
            vertex.uv = {u, v};
            return vertex;
        };
        for (auto [u, v] :
             {std::pair{0.f, 0.f}, {0.f, 1.f}, {1.f, 0.f}, {1.f, 0.f}, {0.f, 1.f}, {1.f, 1.f}})
            pending_.push_back(corner(u, v));
        if (!batching) Flush();
    }

    void DrawMeshSubset(const GLMesh& mesh, uint32_t subset) {
        if (unseen_ || subset >= mesh.subsets_.size() || mesh.subsets_[subset].count == 0) return;
        Flush();
        DrawState state = current_;
        state.diffuseFromVertex = false;
        std::string error;
        const FixedProgram* program = ProgramFor(state, error);
        if (program == nullptr) return;
        ApplyDrawState(applied, *program, sampler_, state, world_, NormalMatrixNow());
        glBindVertexArray(mesh.vertexArray_);
        glDrawElements(GL_TRIANGLES, mesh.subsets_[subset].count, GL_UNSIGNED_INT,
                       reinterpret_cast<void*>(mesh.subsets_[subset].first * sizeof(uint32_t)));
        glBindVertexArray(streamArray_);
    }

    Image Read() {
        Flush();
        Image image;
        image.width = BackBufferWidth;
        image.height = BackBufferHeight;
        image.rgba.resize(static_cast<size_t>(BackBufferWidth) * BackBufferHeight * 4);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
        glReadPixels(0, 0, BackBufferWidth, BackBufferHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                     image.rgba.data());
        // GL rows run bottom-up.
        size_t row = static_cast<size_t>(BackBufferWidth) * 4;
        for (int y = 0; y < BackBufferHeight / 2; ++y)
            std::swap_ranges(image.rgba.begin() + y * row, image.rgba.begin() + (y + 1) * row,
                             image.rgba.begin() + (BackBufferHeight - 1 - y) * row);
        return image;
    }

    int drawCalls = 0;  // GL draws since creation, for measuring the batching
    bool batching = true;
    AppliedGL applied;

  private:
    std::unique_ptr<GLSurface> surface_;
    bool unseen_ = false;
    GLuint framebuffer_ = 0, colour_ = 0, depth_ = 0;
    Texture backBuffer_;  // colour_, as the program samples it
    std::map<StageConfig, FixedProgram> programs_;
    GLuint sampler_ = 0, streamArray_ = 0, streamBuffer_ = 0;

    DrawState current_;
    uint32_t fvf_ = 0;
    Matrix world_{1.0f}, view_{1.0f}, projection_{1.0f};
    glm::mat3 normalMatrix_{1.0f};  // for world_ unless stale
    bool normalMatrixStale_ = false;
    // Set when a setting may have changed since `batch_` was last made from the settings.
    bool stateTouched_ = true;

    // Streamed vertices waiting to be drawn together under `batch_`.
    std::vector<GLVertex> pending_;
    DrawState batch_;

    std::vector<std::unique_ptr<Texture>> textures_;
    std::vector<std::unique_ptr<Sprite>> sprites_;
    std::vector<std::unique_ptr<Mesh>> meshes_;

    // The program for the state's fragment stage, built on first use; null if the driver
    // refuses it (the draw is then dropped, as a device drops a draw it cannot do).
    const FixedProgram* ProgramFor(const DrawState& state, std::string& error) {
        StageConfig stage = StageOf(state);
        auto found = programs_.find(stage);
        if (found != programs_.end()) return &found->second;
        FixedProgram program;
        if (!BuildFixedProgram(stage, program, error)) return nullptr;
        return &programs_.emplace(stage, program).first->second;
    }

    const glm::mat3& NormalMatrixNow() {
        if (normalMatrixStale_) normalMatrix_ = NormalMatrix(world_);
        normalMatrixStale_ = false;
        return normalMatrix_;
    }

    // Starts a new batch unless the pending one was made under the same state.
    void Join(const DrawState& state) {
        if (!pending_.empty() && !(state == batch_)) Flush();
        if (pending_.empty()) batch_ = state;
    }

    void Flush() {
        if (pending_.empty()) return;
        if (DrawVertices(batch_, pending_)) ++drawCalls;
        pending_.clear();
    }

    // Vertices in world space (or clip space, under an identity view and projection).
    bool DrawVertices(const DrawState& state, const std::vector<GLVertex>& vertices) {
        std::string error;
        const FixedProgram* program = ProgramFor(state, error);
        if (program == nullptr) return false;
        ApplyDrawState(applied, *program, sampler_, state, Matrix(1.0f), glm::mat3(1.0f));
        glBindVertexArray(streamArray_);
        glBindBuffer(GL_ARRAY_BUFFER, streamBuffer_);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(GLVertex)),
                     vertices.data(), GL_STREAM_DRAW);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
        return true;
    }
};

void GLSprite::Draw(Texture* texture, D3DVECTOR center, uint32_t color) {
    owner_.DrawSprite(texture, center, color, transform_);
}

GLMesh::GLMesh(GLDevice& owner, const XMeshData& data) : owner_(owner) {
    std::vector<GLVertex> vertices;
    vertices.reserve(data.vertices.size());
    for (const XVertex& x : data.vertices) {
        GLVertex v{};
        v.position = glm::vec4(x.position, 1.0f);
        v.normal = x.normal;
        std::fill(std::begin(v.colour), std::end(v.colour), uint8_t{255});
        v.uv = x.uv;
        vertices.push_back(v);
    }
    std::vector<uint32_t> indices;
    for (const std::vector<uint32_t>& subset : data.subsets) {
        subsets_.push_back({indices.size(), static_cast<GLsizei>(subset.size())});
        indices.insert(indices.end(), subset.begin(), subset.end());
    }
    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glGenBuffers(1, &vertices_);
    glBindBuffer(GL_ARRAY_BUFFER, vertices_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(GLVertex)),
                 vertices.data(), GL_STATIC_DRAW);
    SetAttributes();
    glGenBuffers(1, &indices_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)), indices.data(),
                 GL_STATIC_DRAW);
    glBindVertexArray(0);
}

void GLMesh::DrawSubset(uint32_t subset) { owner_.DrawMeshSubset(*this, subset); }

}  // namespace

std::unique_ptr<Device> CreateGLDevice(std::unique_ptr<GLSurface> surface, std::string& error) {
    auto created = std::make_unique<GLDevice>(std::move(surface));
    if (!created->Init(error)) return nullptr;
    return created;
}

Image ReadBackBuffer(Device& glDevice) { return static_cast<GLDevice&>(glDevice).Read(); }

int GLDrawCount(Device& glDevice) { return static_cast<GLDevice&>(glDevice).drawCalls; }

void SetGLBatching(Device& glDevice, bool on) { static_cast<GLDevice&>(glDevice).batching = on; }

void ForgetGLState(Device& glDevice) { static_cast<GLDevice&>(glDevice).applied.Forget(); }
