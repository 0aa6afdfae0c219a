// Included first: d3d9.h then defines some of the same names as macros with the same values.
#include "platform/win32/d3d9_device.h"

#include "platform/win32/d3d9_device_testing.h"
#include "platform/win32/windows_api.h"
// after windows_api.h, which it builds on
#include <d3d9.h>

#include <array>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "platform/core/xfile.h"
#include "platform/win32/win32_text.h"

namespace {

D3DMATRIX ToD3D(const Matrix& m) {
    // The row-vector matrix and the glm::mat4 holding it share one memory layout.
    static_assert(sizeof(D3DMATRIX) == sizeof(Matrix));
    D3DMATRIX out;
    std::memcpy(&out, &m, sizeof out);
    return out;
}

// The projection followed by a shift of half a pixel up and left. This device samples the scene
// at whole pixel coordinates where OpenGL samples pixel centres half a pixel further on; shifted,
// the scene covers and samples the same pixels on both rings.
D3DMATRIX PixelCentred(const D3DMATRIX& projection) {
    D3DMATRIX out = projection;
    for (int row = 0; row < 4; ++row) {
        out.m[row][0] -= projection.m[row][3] * (1.0f / BackBufferWidth);
        out.m[row][1] += projection.m[row][3] * (1.0f / BackBufferHeight);
    }
    return out;
}

D3DCOLORVALUE ToD3D(const dev::D3DCOLORVALUE& c) { return {c.r, c.g, c.b, c.a}; }
D3DVECTOR ToD3D(const dev::D3DVECTOR& v) { return {v.x, v.y, v.z}; }

D3DLIGHT9 ToD3D(const dev::D3DLIGHT9& l) {
    D3DLIGHT9 out{};
    out.Type = static_cast<D3DLIGHTTYPE>(l.type);
    out.Diffuse = ToD3D(l.diffuse);
    out.Specular = ToD3D(l.specular);
    out.Ambient = ToD3D(l.ambient);
    out.Position = ToD3D(l.position);
    out.Direction = ToD3D(l.direction);
    out.Range = l.range;
    out.Falloff = l.falloff;
    out.Attenuation0 = l.attenuation0;
    out.Attenuation1 = l.attenuation1;
    out.Attenuation2 = l.attenuation2;
    out.Theta = l.theta;
    out.Phi = l.phi;
    return out;
}

D3DMATERIAL9 ToD3D(const dev::D3DMATERIAL9& m) {
    return {ToD3D(m.diffuse), ToD3D(m.ambient), ToD3D(m.specular), ToD3D(m.emissive), m.power};
}

template <typename T>
void Release(T*& object) {
    if (object != nullptr) object->Release();
    object = nullptr;
}

// The screen sprite's corners: pre-transformed, so neither lighting nor the transforms apply.
struct SpriteVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    float u, v;
};
constexpr DWORD SpriteFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// The sky's vertices as the .x reader gives them.
struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
constexpr DWORD MeshFVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

class D3D9Device;

class D3D9Sprite : public Sprite {
  public:
    explicit D3D9Sprite(D3D9Device& owner) : owner_(owner) {}
    void SetTransform(const Matrix& transform) override { transform_ = transform; }
    void Begin(uint32_t) override {}
    void Draw(Texture* texture, dev::D3DVECTOR center, uint32_t color) override;
    void End() override {}

  private:
    D3D9Device& owner_;
    Matrix transform_{1.0f};
};

class D3D9Mesh : public Mesh {
  public:
    D3D9Mesh(D3D9Device& owner, IDirect3DVertexBuffer9* vertices, IDirect3DIndexBuffer9* indices,
             UINT vertexCount, std::vector<std::pair<UINT, UINT>> subsets)
        : owner_(owner),
          vertices_(vertices),
          indices_(indices),
          vertexCount_(vertexCount),
          subsets_(std::move(subsets)) {}
    ~D3D9Mesh() override {
        Release(vertices_);
        Release(indices_);
    }
    void DrawSubset(uint32_t subset) override;

  private:
    friend class D3D9Device;
    D3D9Device& owner_;
    IDirect3DVertexBuffer9* vertices_;
    IDirect3DIndexBuffer9* indices_;
    UINT vertexCount_;
    std::vector<std::pair<UINT, UINT>> subsets_;  // first index, triangle count
};

// Every setting the game has made, so that a Reset (which returns the device to its defaults)
// can put them back, and the sprite can restore what it changes.
struct Settings {
    std::map<DWORD, DWORD> renderStates;
    std::map<std::pair<DWORD, DWORD>, DWORD> stageStates;    // (stage, type)
    std::map<std::pair<DWORD, DWORD>, DWORD> samplerStates;  // (sampler, type)
    std::map<DWORD, D3DLIGHT9> lights;
    std::map<DWORD, BOOL> lightsEnabled;
    std::map<DWORD, D3DMATRIX> transforms;
    std::optional<D3DMATERIAL9> material;
    DWORD fvf = 0;
    std::array<IDirect3DTexture9*, 8> textures{};
};

// The device's own starting values of what the sprite changes, for settings the game never made.
DWORD DefaultRenderState(DWORD state) {
    switch (state) {
        case D3DRS_ZENABLE:  // on: the device has an automatic depth buffer
        case D3DRS_ZWRITEENABLE:
        case D3DRS_LIGHTING:
            return TRUE;
        case D3DRS_CULLMODE:
            return D3DCULL_CCW;
        case D3DRS_SRCBLEND:
            return D3DBLEND_ONE;
        case D3DRS_DESTBLEND:
            return D3DBLEND_ZERO;
        default:
            return FALSE;  // blending, fog
    }
}
DWORD DefaultStageState(DWORD type) {
    switch (type) {
        case D3DTSS_COLOROP:
            return D3DTOP_MODULATE;
        case D3DTSS_ALPHAOP:
            return D3DTOP_SELECTARG1;
        case D3DTSS_COLORARG1:
        case D3DTSS_ALPHAARG1:
            return D3DTA_TEXTURE;
        default:
            return D3DTA_CURRENT;
    }
}
DWORD DefaultSamplerState(DWORD type) {
    switch (type) {
        case D3DSAMP_ADDRESSU:
        case D3DSAMP_ADDRESSV:
            return D3DTADDRESS_WRAP;
        case D3DSAMP_MAGFILTER:
        case D3DSAMP_MINFILTER:
            return D3DTEXF_POINT;
        default:
            return D3DTEXF_NONE;  // the mip filter
    }
}

class D3D9Device : public Device {
  public:
    D3D9Device(HWND window, IDirect3D9* d3d, IDirect3DDevice9* device,
               const D3DPRESENT_PARAMETERS& parameters)
        : window_(window), d3d_(d3d), device_(device), parameters_(parameters) {}
    ~D3D9Device() override {
        meshes_.clear();
        sprites_.clear();
        for (IDirect3DTexture9*& texture : made_) Release(texture);
        Release(device_);
        Release(d3d_);
    }

    void Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override {
        if (unseen_) return;
        Flush();
        if (lost_) Recover();
        device_->Clear(0, nullptr, flags, color, z, stencil);
    }
    // While the window is minimised or hidden nothing can be seen: the frame's drawing and its
    // presenting are skipped, and everything else goes on as ever.
    void BeginScene() override {
        unseen_ = IsIconic(window_) || !IsWindowVisible(window_);
        device_->BeginScene();
    }
    void EndScene() override {
        Flush();
        device_->EndScene();
    }

    void Present() override {
        if (unseen_) return;
        Flush();
        if (lost_) Recover();
        RECT client{};
        GetClientRect(window_, &client);
        PresentArea area = FitBackBuffer(client.right - client.left, client.bottom - client.top);
        if (area.width <= 0 || area.height <= 0) return;  // minimised: nothing to show
        RECT picture{area.x, area.y, area.x + area.width, area.y + area.height};
        HRESULT result = device_->Present(nullptr, &picture, nullptr, nullptr);
        if (result == D3DERR_DEVICELOST) lost_ = true;
        PaintBars(client, picture);
    }

    // Settings reach the device at the next draw, and only those that differ from what it has:
    // the game sets the same few states around every quad.
    void SetRenderState(dev::D3DRENDERSTATETYPE state, uint32_t value) override {
        settings_.renderStates[state] = value;
        dirtyRender_.push_back(state);
    }
    void SetTextureStageState(uint32_t stage, dev::D3DTEXTURESTAGESTATETYPE type,
                              uint32_t value) override {
        settings_.stageStates[{stage, type}] = value;
        dirtyStage_.emplace_back(stage, type);
    }
    void SetSamplerState(uint32_t sampler, dev::D3DSAMPLERSTATETYPE type, uint32_t value) override {
        settings_.samplerStates[{sampler, type}] = value;
        dirtySampler_.emplace_back(sampler, type);
    }
    void SetLight(uint32_t index, const dev::D3DLIGHT9& light) override {
        Flush();
        D3DLIGHT9 converted = ToD3D(light);
        if (SUCCEEDED(device_->SetLight(index, &converted))) settings_.lights[index] = converted;
    }
    void LightEnable(uint32_t index, bool enable) override {
        Flush();
        if (SUCCEEDED(device_->LightEnable(index, enable ? TRUE : FALSE)))
            settings_.lightsEnabled[index] = enable ? TRUE : FALSE;
    }
    void SetTransform(dev::D3DTRANSFORMSTATETYPE state, const Matrix& matrix) override {
        settings_.transforms[state] = ToD3D(matrix);
        if (static_cast<DWORD>(state) == D3DTS_WORLD) world_ = matrix;
    }
    void SetFVF(uint32_t fvf) override { settings_.fvf = fvf; }
    void SetTexture(uint32_t stage, Texture* texture) override {
        if (stage >= settings_.textures.size()) return;
        settings_.textures[stage] = Find(texture);
    }
    void SetMaterial(const dev::D3DMATERIAL9& material) override {
        Flush();
        D3DMATERIAL9 m = ToD3D(material);
        settings_.material = m;
        device_->SetMaterial(&m);
    }

    // Unlit triangle lists that differ only in their world matrix (every quad of the game)
    // are moved to world space here and drawn as one: under Wine every draw costs a great deal
    // more than its pixels. The order of triangles stays the order of calls.
    void DrawPrimitiveUP(dev::D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                         uint32_t stride) override {
        if (unseen_ || primitiveCount == 0 || vertices == nullptr) return;
        const size_t bytes = static_cast<size_t>(primitiveCount) * 3 * stride;
        if (batching && Joinable(type, stride)) {
            if (pendingStride_ != stride || pending_.size() + bytes > MaxPendingBytes) Flush();
            Apply(/*worldInVertices=*/true);
            pendingStride_ = stride;
            const size_t at = pending_.size();
            pending_.resize(at + bytes);
            std::memcpy(&pending_[at], vertices, bytes);
            for (size_t offset = at; offset < pending_.size(); offset += stride) {
                glm::vec3 position;
                std::memcpy(&position, &pending_[offset], sizeof position);
                position = glm::vec3(world_ * glm::vec4(position, 1.0f));
                std::memcpy(&pending_[offset], &position, sizeof position);
            }
            return;
        }
        Flush();
        Apply(/*worldInVertices=*/false);
        device_->DrawPrimitiveUP(static_cast<D3DPRIMITIVETYPE>(type), primitiveCount, vertices,
                                 stride);
        ++drawCalls;
    }

    Texture* CreateTextureFromFile(const std::string& path) override {
        std::optional<Image> image = LoadImageFile(path);
        if (!image || image->width <= 0 || image->height <= 0) return nullptr;
        D3DCAPS9 caps{};
        device_->GetDeviceCaps(&caps);
        if (static_cast<DWORD>(image->width) > caps.MaxTextureWidth ||
            static_cast<DWORD>(image->height) > caps.MaxTextureHeight)
            return nullptr;
        IDirect3DTexture9* made = nullptr;
        if (FAILED(device_->CreateTexture(image->width, image->height, 1, 0, D3DFMT_A8R8G8B8,
                                          D3DPOOL_MANAGED, &made, nullptr)))
            return nullptr;
        D3DLOCKED_RECT locked{};
        if (FAILED(made->LockRect(0, &locked, nullptr, 0))) {
            made->Release();
            return nullptr;
        }
        // A8R8G8B8 lies in memory as B, G, R, A; the first row of the file is the top (tv 0).
        for (int y = 0; y < image->height; ++y) {
            const uint8_t* from = &image->rgba[static_cast<size_t>(y) * image->width * 4];
            auto* to =
                static_cast<uint8_t*>(locked.pBits) + static_cast<ptrdiff_t>(y) * locked.Pitch;
            for (int x = 0; x < image->width; ++x, from += 4, to += 4) {
                to[0] = from[2];
                to[1] = from[1];
                to[2] = from[0];
                to[3] = from[3];
            }
        }
        made->UnlockRect(0);
        auto texture = std::make_unique<Texture>();
        texture->width = static_cast<uint32_t>(image->width);
        texture->height = static_cast<uint32_t>(image->height);
        texture->path = path;
        made_.push_back(made);
        texture->handle = static_cast<uint32_t>(made_.size());  // 0 stays "none"
        textures_.push_back(std::move(texture));
        return textures_.back().get();
    }

    Sprite* CreateSprite() override {
        sprites_.push_back(std::make_unique<D3D9Sprite>(*this));
        return sprites_.back().get();
    }

    Mesh* LoadMeshFromX(const std::string& path, std::vector<XMaterial>& materials,
                        std::string& error) override {
        XMeshData data;
        if (!ReadXFile(path, data, error)) return nullptr;
        std::unique_ptr<D3D9Mesh> mesh = MakeMesh(data, error);
        if (mesh == nullptr) return nullptr;
        materials = data.materials;
        meshes_.push_back(std::move(mesh));
        return meshes_.back().get();
    }

    // The whole texture, unscaled, with `centre` on the transform's origin, as pre-transformed
    // corners; blended over the scene with no depth test, under the device's alpha test. The
    // states it changes are put back afterwards, as the library sprite does.
    void DrawSprite(Texture* texture, dev::D3DVECTOR centre, uint32_t colour,
                    const Matrix& transform) {
        IDirect3DTexture9* d3dTexture = Find(texture);
        if (d3dTexture == nullptr || unseen_) return;
        Flush();
        Apply(/*worldInVertices=*/false);  // what is put back afterwards is then the settings
        static const std::pair<DWORD, DWORD> renderStates[] = {
            {D3DRS_LIGHTING, FALSE},
            {D3DRS_ZENABLE, D3DZB_FALSE},
            {D3DRS_ZWRITEENABLE, FALSE},
            {D3DRS_CULLMODE, D3DCULL_NONE},
            {D3DRS_FOGENABLE, FALSE},
            {D3DRS_ALPHABLENDENABLE, TRUE},
            {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
            {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
        };
        static const std::pair<DWORD, DWORD> stageStates[] = {
            {D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG1, D3DTA_TEXTURE},
            {D3DTSS_COLORARG2, D3DTA_DIFFUSE}, {D3DTSS_ALPHAOP, D3DTOP_MODULATE},
            {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
        };
        static const std::pair<DWORD, DWORD> samplerStates[] = {
            {D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP},
            {D3DSAMP_MAGFILTER, D3DTEXF_POINT},    {D3DSAMP_MINFILTER, D3DTEXF_POINT},
            {D3DSAMP_MIPFILTER, D3DTEXF_NONE},
        };
        for (auto [state, value] : renderStates)
            device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), value);
        for (auto [type, value] : stageStates)
            device_->SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(type), value);
        for (auto [type, value] : samplerStates)
            device_->SetSamplerState(0, static_cast<D3DSAMPLERSTATETYPE>(type), value);
        device_->SetFVF(SpriteFVF);
        device_->SetTexture(0, d3dTexture);

        // Pixel centres lie on whole coordinates here, half a pixel from where a texel's centre
        // falls, so every corner moves up and left by half a pixel to map texels onto pixels.
        const float w = static_cast<float>(texture->width);
        const float h = static_cast<float>(texture->height);
        auto corner = [&](float u, float v) {
            glm::vec4 at = transform * glm::vec4(u * w - centre.x, v * h - centre.y, 0.0f, 1.0f);
            return SpriteVertex{at.x - 0.5f, at.y - 0.5f, 0.0f, 1.0f, colour, u, v};
        };
        const SpriteVertex corners[4] = {corner(0, 0), corner(1, 0), corner(0, 1), corner(1, 1)};
        const SpriteVertex triangles[6] = {corners[0], corners[2], corners[1],
                                           corners[1], corners[2], corners[3]};
        device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, triangles, sizeof(SpriteVertex));

        ++drawCalls;

        for (auto [state, value] : renderStates) {
            auto found = applied_.renderStates.find(state);
            device_->SetRenderState(
                static_cast<D3DRENDERSTATETYPE>(state),
                found != applied_.renderStates.end() ? found->second : DefaultRenderState(state));
        }
        for (auto [type, value] : stageStates) {
            auto found = applied_.stageStates.find({0, type});
            device_->SetTextureStageState(
                0, static_cast<D3DTEXTURESTAGESTATETYPE>(type),
                found != applied_.stageStates.end() ? found->second : DefaultStageState(type));
        }
        for (auto [type, value] : samplerStates) {
            auto found = applied_.samplerStates.find({0, type});
            device_->SetSamplerState(
                0, static_cast<D3DSAMPLERSTATETYPE>(type),
                found != applied_.samplerStates.end() ? found->second : DefaultSamplerState(type));
        }
        device_->SetFVF(applied_.fvf);
        device_->SetTexture(0, applied_.textures[0]);
    }

    void DrawMeshSubset(const D3D9Mesh& mesh, uint32_t subset) {
        if (unseen_ || subset >= mesh.subsets_.size() || mesh.subsets_[subset].second == 0) return;
        Flush();
        Apply(/*worldInVertices=*/false);
        device_->SetFVF(MeshFVF);
        device_->SetStreamSource(0, mesh.vertices_, 0, sizeof(MeshVertex));
        device_->SetIndices(mesh.indices_);
        device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, mesh.vertexCount_,
                                      mesh.subsets_[subset].first, mesh.subsets_[subset].second);
        ++drawCalls;
        // The game's own format stays in force for its next draws.
        device_->SetFVF(applied_.fvf);
    }

    Image Read() {
        Flush();
        Image image;
        IDirect3DSurface9* back = nullptr;
        if (FAILED(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) return image;
        D3DSURFACE_DESC desc{};
        back->GetDesc(&desc);
        IDirect3DSurface9* copy = nullptr;
        if (SUCCEEDED(device_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                           D3DPOOL_SYSTEMMEM, &copy, nullptr)) &&
            SUCCEEDED(device_->GetRenderTargetData(back, copy)))
            image = FromSurface(copy, 0, 0, static_cast<int>(desc.Width),
                                static_cast<int>(desc.Height));
        Release(copy);
        Release(back);
        return image;
    }

    void Finish() {
        Flush();
        IDirect3DQuery9* query = nullptr;
        if (FAILED(device_->CreateQuery(D3DQUERYTYPE_EVENT, &query))) return;
        query->Issue(D3DISSUE_END);
        while (query->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
        }
        query->Release();
    }

    void SimulateLost() { lost_ = true; }
    int resets = 0;
    int drawCalls = 0;  // draws made on the device, joined ones counted once
    bool batching = true;

  private:
    HWND window_;
    IDirect3D9* d3d_;
    IDirect3DDevice9* device_;
    D3DPRESENT_PARAMETERS parameters_;
    bool lost_ = false;
    bool unseen_ = false;
    Settings settings_;
    std::vector<IDirect3DTexture9*> made_;  // by Texture::handle - 1
    std::vector<std::unique_ptr<Texture>> textures_;
    std::vector<std::unique_ptr<Sprite>> sprites_;
    std::vector<std::unique_ptr<D3D9Mesh>> meshes_;

    // What the device has been given, as far as this class knows; a key missing from it is
    // unknown and gets set at the next draw.
    Settings applied_;
    std::vector<DWORD> dirtyRender_;
    std::vector<std::pair<DWORD, DWORD>> dirtyStage_, dirtySampler_;
    Matrix world_{1.0f};
    // Joined draws waiting: triangle-list vertices already in world space, one stride for all.
    static constexpr size_t MaxPendingBytes = size_t(4) << 20;
    std::vector<uint8_t> pending_;
    uint32_t pendingStride_ = 0;

    bool Joinable(dev::D3DPRIMITIVETYPE type, uint32_t stride) const {
        auto lighting = settings_.renderStates.find(D3DRS_LIGHTING);
        const bool affine = world_[0][3] == 0.0f && world_[1][3] == 0.0f && world_[2][3] == 0.0f &&
                            world_[3][3] == 1.0f;
        return type == dev::D3DPT_TRIANGLELIST &&
               (settings_.fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZ && stride >= 12 &&
               lighting != settings_.renderStates.end() && lighting->second == FALSE && affine;
    }

    void Flush() {
        if (pending_.empty()) return;
        device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST,
                                 static_cast<UINT>(pending_.size() / pendingStride_ / 3),
                                 pending_.data(), pendingStride_);
        ++drawCalls;
        pending_.clear();
    }

    // Brings the device to the settings (the world matrix as identity when the vertices carry
    // it), drawing the joined draws first if anything they were made under changes.
    void Apply(bool worldInVertices) {
        static const D3DMATRIX identity = ToD3D(Matrix(1.0f));
        auto worldFound = settings_.transforms.find(D3DTS_WORLD);
        const D3DMATRIX& world = worldInVertices || worldFound == settings_.transforms.end()
                                     ? identity
                                     : worldFound->second;
        auto differs = [](const auto& applied, const auto& key, const auto& wanted) {
            auto found = applied.find(key);
            return found == applied.end() || std::memcmp(&found->second, &wanted, sizeof wanted);
        };
        bool changes = settings_.fvf != applied_.fvf || settings_.textures != applied_.textures ||
                       differs(applied_.transforms, DWORD(D3DTS_WORLD), world);
        for (DWORD key : dirtyRender_)
            changes = changes || differs(applied_.renderStates, key, settings_.renderStates[key]);
        for (const auto& key : dirtyStage_)
            changes = changes || differs(applied_.stageStates, key, settings_.stageStates[key]);
        for (const auto& key : dirtySampler_)
            changes = changes || differs(applied_.samplerStates, key, settings_.samplerStates[key]);
        for (const auto& [state, matrix] : settings_.transforms)
            changes =
                changes || (state != D3DTS_WORLD && differs(applied_.transforms, state, matrix));
        if (changes) {
            Flush();
            for (DWORD key : dirtyRender_) {
                DWORD value = settings_.renderStates[key];
                if (!differs(applied_.renderStates, key, value)) continue;
                device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(key), value);
                applied_.renderStates[key] = value;
            }
            for (const auto& key : dirtyStage_) {
                DWORD value = settings_.stageStates[key];
                if (!differs(applied_.stageStates, key, value)) continue;
                device_->SetTextureStageState(
                    key.first, static_cast<D3DTEXTURESTAGESTATETYPE>(key.second), value);
                applied_.stageStates[key] = value;
            }
            for (const auto& key : dirtySampler_) {
                DWORD value = settings_.samplerStates[key];
                if (!differs(applied_.samplerStates, key, value)) continue;
                device_->SetSamplerState(key.first, static_cast<D3DSAMPLERSTATETYPE>(key.second),
                                         value);
                applied_.samplerStates[key] = value;
            }
            for (const auto& [state, matrix] : settings_.transforms) {
                const D3DMATRIX& wanted = state == D3DTS_WORLD ? world : matrix;
                if (!differs(applied_.transforms, state, wanted)) continue;
                const D3DMATRIX sent = state == D3DTS_PROJECTION ? PixelCentred(wanted) : wanted;
                device_->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(state), &sent);
                applied_.transforms[state] = wanted;
            }
            if (worldFound == settings_.transforms.end() &&
                differs(applied_.transforms, DWORD(D3DTS_WORLD), world)) {
                device_->SetTransform(D3DTS_WORLD, &world);
                applied_.transforms[D3DTS_WORLD] = world;
            }
            if (settings_.fvf != applied_.fvf) device_->SetFVF(settings_.fvf);
            applied_.fvf = settings_.fvf;
            for (DWORD stage = 0; stage < settings_.textures.size(); ++stage)
                if (settings_.textures[stage] != applied_.textures[stage])
                    device_->SetTexture(stage, settings_.textures[stage]);
            applied_.textures = settings_.textures;
        }
        dirtyRender_.clear();
        dirtyStage_.clear();
        dirtySampler_.clear();
    }

    IDirect3DTexture9* Find(const Texture* texture) const {
        if (texture == nullptr || texture->handle == 0 || texture->handle > made_.size())
            return nullptr;
        return made_[texture->handle - 1];
    }

    // A lost device draws nothing until it can be reset. Everything is in the managed pool, so
    // only the settings need putting back.
    void Recover() {
        HRESULT level = device_->TestCooperativeLevel();
        if (level == D3DERR_DEVICELOST) return;  // not yet: try again next frame
        D3DPRESENT_PARAMETERS parameters = parameters_;
        if (FAILED(device_->Reset(&parameters))) return;
        ++resets;
        lost_ = false;
        Reapply();
    }

    // The device is back at its defaults: lights and the material go back now, the rest is
    // unknown to the device and set again at the next draw.
    void Reapply() {
        pending_.clear();
        applied_ = Settings{};
        for (const auto& [key, value] : settings_.renderStates) dirtyRender_.push_back(key);
        for (const auto& [key, value] : settings_.stageStates) dirtyStage_.push_back(key);
        for (const auto& [key, value] : settings_.samplerStates) dirtySampler_.push_back(key);
        for (const auto& [index, light] : settings_.lights) device_->SetLight(index, &light);
        for (auto [index, enabled] : settings_.lightsEnabled) device_->LightEnable(index, enabled);
        if (settings_.material) device_->SetMaterial(&*settings_.material);
    }

    // Present fills only the picture's rectangle; the rest of the client area is painted black
    // here, as the window's class brush would.
    void PaintBars(const RECT& client, const RECT& picture) {
        const RECT bars[4] = {{client.left, client.top, picture.left, client.bottom},
                              {picture.right, client.top, client.right, client.bottom},
                              {picture.left, client.top, picture.right, picture.top},
                              {picture.left, picture.bottom, picture.right, client.bottom}};
        HDC dc = nullptr;
        for (const RECT& bar : bars) {
            if (bar.right <= bar.left || bar.bottom <= bar.top) continue;
            if (dc == nullptr) dc = GetDC(window_);
            if (dc == nullptr) return;
            FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        if (dc != nullptr) ReleaseDC(window_, dc);
    }

    // The rectangle of a system-memory surface from (left, top), as RGBA, top row first.
    static Image FromSurface(IDirect3DSurface9* surface, int left, int top, int width, int height) {
        Image image;
        D3DSURFACE_DESC desc{};
        surface->GetDesc(&desc);
        if (desc.Format != D3DFMT_X8R8G8B8 && desc.Format != D3DFMT_A8R8G8B8) return image;
        if (left < 0 || top < 0 || width <= 0 || height <= 0 ||
            left + width > static_cast<int>(desc.Width) ||
            top + height > static_cast<int>(desc.Height))
            return image;
        D3DLOCKED_RECT locked{};
        if (FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return image;
        image.width = width;
        image.height = height;
        image.rgba.resize(static_cast<size_t>(width) * height * 4);
        for (int y = 0; y < height; ++y) {
            const auto* from = static_cast<const uint8_t*>(locked.pBits) +
                               static_cast<ptrdiff_t>(top + y) * locked.Pitch + left * 4;
            uint8_t* to = &image.rgba[static_cast<size_t>(y) * width * 4];
            for (int x = 0; x < width; ++x, from += 4, to += 4) {
                to[0] = from[2];
                to[1] = from[1];
                to[2] = from[0];
                to[3] = 255;
            }
        }
        surface->UnlockRect();
        return image;
    }

    std::unique_ptr<D3D9Mesh> MakeMesh(const XMeshData& data, std::string& error) {
        std::vector<MeshVertex> vertices;
        vertices.reserve(data.vertices.size());
        for (const XVertex& v : data.vertices)
            vertices.push_back({v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y,
                                v.normal.z, v.uv.x, v.uv.y});
        std::vector<uint32_t> indices;
        std::vector<std::pair<UINT, UINT>> subsets;
        for (const std::vector<uint32_t>& subset : data.subsets) {
            subsets.emplace_back(static_cast<UINT>(indices.size()),
                                 static_cast<UINT>(subset.size() / 3));
            indices.insert(indices.end(), subset.begin(), subset.end());
        }
        if (vertices.empty() || indices.empty()) {
            error = "the mesh has no triangles";
            return nullptr;
        }
        const UINT vertexBytes = static_cast<UINT>(vertices.size() * sizeof(MeshVertex));
        // 16-bit indices where they reach every vertex: not every device takes 32-bit ones.
        const bool narrow = vertices.size() <= 0xffff;
        const UINT indexBytes =
            static_cast<UINT>(indices.size() * (narrow ? sizeof(uint16_t) : sizeof(uint32_t)));
        IDirect3DVertexBuffer9* vertexBuffer = nullptr;
        IDirect3DIndexBuffer9* indexBuffer = nullptr;
        void* at = nullptr;
        HRESULT result = device_->CreateVertexBuffer(vertexBytes, D3DUSAGE_WRITEONLY, MeshFVF,
                                                     D3DPOOL_MANAGED, &vertexBuffer, nullptr);
        if (SUCCEEDED(result)) result = vertexBuffer->Lock(0, 0, &at, 0);
        if (SUCCEEDED(result)) {
            std::memcpy(at, vertices.data(), vertexBytes);
            vertexBuffer->Unlock();
            result = device_->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY,
                                                narrow ? D3DFMT_INDEX16 : D3DFMT_INDEX32,
                                                D3DPOOL_MANAGED, &indexBuffer, nullptr);
        }
        if (SUCCEEDED(result)) result = indexBuffer->Lock(0, 0, &at, 0);
        if (FAILED(result)) {
            Release(vertexBuffer);
            Release(indexBuffer);
            error = HresultText("making the mesh's buffers", result);
            return nullptr;
        }
        if (narrow) {
            auto* to = static_cast<uint16_t*>(at);
            for (uint32_t index : indices) *to++ = static_cast<uint16_t>(index);
        } else {
            std::memcpy(at, indices.data(), indexBytes);
        }
        indexBuffer->Unlock();
        return std::make_unique<D3D9Mesh>(*this, vertexBuffer, indexBuffer,
                                          static_cast<UINT>(vertices.size()), std::move(subsets));
    }
};

void D3D9Sprite::Draw(Texture* texture, dev::D3DVECTOR center, uint32_t color) {
    owner_.DrawSprite(texture, center, color, transform_);
}

void D3D9Mesh::DrawSubset(uint32_t subset) { owner_.DrawMeshSubset(*this, subset); }

}  // namespace

std::unique_ptr<Device> CreateD3D9Device(HWND window, std::string& error) {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (d3d == nullptr) {
        error = "Direct3DCreate9 failed";
        return nullptr;
    }
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = BackBufferWidth;
    parameters.BackBufferHeight = BackBufferHeight;
    parameters.BackBufferFormat = D3DFMT_UNKNOWN;  // the desktop's
    parameters.BackBufferCount = 0;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters.MultiSampleQuality = 0;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = nullptr;  // the focus window
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.Flags = 0;
    parameters.FullScreen_RefreshRateInHz = 0;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    D3DPRESENT_PARAMETERS used = parameters;  // CreateDevice may fill in the format
    IDirect3DDevice9* device = nullptr;
    HRESULT result = d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                       D3DCREATE_SOFTWARE_VERTEXPROCESSING, &used, &device);
    if (FAILED(result)) {
        d3d->Release();
        error = HresultText("CreateDevice", result);
        return nullptr;
    }
    return std::make_unique<D3D9Device>(window, d3d, device, parameters);
}

Image ReadD3D9BackBuffer(Device& d3d9Device) { return static_cast<D3D9Device&>(d3d9Device).Read(); }

void FinishD3D9(Device& d3d9Device) { static_cast<D3D9Device&>(d3d9Device).Finish(); }

void SimulateD3D9DeviceLost(Device& d3d9Device) {
    static_cast<D3D9Device&>(d3d9Device).SimulateLost();
}

int D3D9ResetCount(Device& d3d9Device) { return static_cast<D3D9Device&>(d3d9Device).resets; }

int D3D9DrawCount(Device& d3d9Device) { return static_cast<D3D9Device&>(d3d9Device).drawCalls; }

void SetD3D9Batching(Device& d3d9Device, bool on) {
    static_cast<D3D9Device&>(d3d9Device).batching = on;
}
