// The drawing device: the operations of a fixed-function 3D device that the game uses, with the
// names and numeric values of that device's states, so the game code reads like its design.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/matrix.h"

// The vocabulary lives in a namespace of its own because the Windows ring also sees d3d9.h,
// which declares the same names. Some of them are macros there (the clear flags, vertex format
// bits, texture arguments, D3DTS_WORLD, TRUE and FALSE) with the same values, so a file that
// includes both includes this header first.
namespace dev {

// Clear flags.
constexpr uint32_t D3DCLEAR_TARGET = 0x1;
constexpr uint32_t D3DCLEAR_ZBUFFER = 0x2;

// Render states (values as the original device numbers them).
enum D3DRENDERSTATETYPE : uint32_t {
    D3DRS_ZENABLE = 7,
    D3DRS_SHADEMODE = 9,
    D3DRS_ZWRITEENABLE = 14,
    D3DRS_ALPHATESTENABLE = 15,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_CULLMODE = 22,
    D3DRS_ZFUNC = 23,
    D3DRS_ALPHAREF = 24,
    D3DRS_ALPHAFUNC = 25,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_FOGENABLE = 28,
    D3DRS_LIGHTING = 137,
    D3DRS_AMBIENT = 139,
    D3DRS_NORMALIZENORMALS = 143,
};
constexpr uint32_t D3DSHADE_GOURAUD = 2;
constexpr uint32_t D3DCULL_NONE = 1;
constexpr uint32_t D3DZB_TRUE = 1;
constexpr uint32_t D3DBLEND_SRCALPHA = 5;
constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr uint32_t D3DCMP_LESSEQUAL = 4;
constexpr uint32_t D3DCMP_GREATEREQUAL = 7;
constexpr uint32_t TRUE = 1;
constexpr uint32_t FALSE = 0;

enum D3DTEXTURESTAGESTATETYPE : uint32_t {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
};
constexpr uint32_t D3DTOP_MODULATE = 4;
constexpr uint32_t D3DTA_DIFFUSE = 0;
constexpr uint32_t D3DTA_CURRENT = 1;
constexpr uint32_t D3DTA_TEXTURE = 2;

enum D3DSAMPLERSTATETYPE : uint32_t {
    D3DSAMP_ADDRESSU = 1,
    D3DSAMP_ADDRESSV = 2,
    D3DSAMP_MAGFILTER = 5,
    D3DSAMP_MINFILTER = 6,
    D3DSAMP_MIPFILTER = 7,
};
constexpr uint32_t D3DTADDRESS_WRAP = 1;

enum D3DTRANSFORMSTATETYPE : uint32_t {
    D3DTS_VIEW = 2,
    D3DTS_PROJECTION = 3,
    D3DTS_WORLD = 256,
};

enum D3DPRIMITIVETYPE : uint32_t { D3DPT_TRIANGLELIST = 4 };

// Vertex format bits.
constexpr uint32_t D3DFVF_XYZ = 0x002;
constexpr uint32_t D3DFVF_NORMAL = 0x010;
constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
constexpr uint32_t D3DFVF_TEX1 = 0x100;

enum D3DLIGHTTYPE : uint32_t { D3DLIGHT_DIRECTIONAL = 3 };

struct D3DCOLORVALUE {
    float r = 0, g = 0, b = 0, a = 0;
};
struct D3DVECTOR {
    float x = 0, y = 0, z = 0;
};

struct D3DLIGHT9 {
    D3DLIGHTTYPE type = D3DLIGHTTYPE(0);
    D3DCOLORVALUE diffuse, specular, ambient;
    D3DVECTOR position, direction;
    float range = 0, falloff = 0, attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
    float theta = 0, phi = 0;
};

struct D3DMATERIAL9 {
    D3DCOLORVALUE diffuse, ambient, specular, emissive;
    float power = 0;
};

}  // namespace dev

// A loaded image; owned by the device that made it and kept until the device goes.
struct Texture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::string path;
    uint32_t handle = 0;  // the implementation's own name for it
};

// One material of a mesh file as read, with its texture file name when it has one.
struct XMaterial {
    dev::D3DMATERIAL9 matD3D;
    std::optional<std::string> textureFilename;
};

// A mesh made by the device from a mesh file; one subset per material.
class Mesh {
  public:
    virtual ~Mesh() = default;
    virtual void DrawSubset(uint32_t subset) = 0;
};

// Draws whole textures in back-buffer pixels over the scene.
class Sprite {
  public:
    virtual ~Sprite() = default;
    virtual void SetTransform(const Matrix& transform) = 0;
    virtual void Begin(uint32_t flags) = 0;
    // Draws the whole texture with its `center` point placed at the transform's origin.
    virtual void Draw(Texture* texture, dev::D3DVECTOR center, uint32_t color) = 0;
    virtual void End() = 0;
};

// The image files the game draws, named once for the process: an id indexes every device's table
// of images, so a draw finds its texture without comparing names. Each group of files drawn
// together (the world's, the screen's) has consecutive ids.
using ImageId = uint32_t;
struct ImageIds {
    ImageId first = 0;
    uint32_t count = 0;
    ImageId operator[](uint32_t i) const { return first + i; }
};
ImageIds RegisterImageFiles(const char* const* paths, uint32_t count);
const std::string& ImagePathOf(ImageId id);

// A mesh file as made on a device: the mesh, and for each subset the material and the texture
// (null: none) that its reader chose.
struct MeshFile {
    Mesh* mesh = nullptr;  // null: the file could not be read
    std::vector<dev::D3DMATERIAL9> materials;
    std::vector<Texture*> textures;
};

class Device {
  public:
    Device() = default;
    virtual ~Device() = default;
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // What the game made on this device, by file: the device is their one owner and they go with
    // it, so nothing can point into a device that is gone.
    // Makes every image of `ids` not made yet; one whose file fails stays null and is tried again
    // at the next call (the file reader looks at a failed file again at most once a second).
    // Once all are made this is one comparison: the game calls it at every draw.
    void MakeImages(ImageIds ids) {
        if (unmade_ != 0 || ids.first + ids.count > images_.size()) MakeMissing(ids);
    }
    // The image of `id` if it is made, without trying its file.
    Texture* MadeImage(ImageId id) const { return id < images_.size() ? images_[id] : nullptr; }
    // The sprite that draws over the scene, made at its first use.
    Sprite* ScreenSprite();
    // The entry of the mesh file `path`; `fresh` is true on the first call, when the caller reads
    // the file into it. Later calls give the entry as it was left, a failure included.
    MeshFile& MeshEntry(const std::string& path, bool& fresh);

    virtual void Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) = 0;
    virtual void BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual void Present() = 0;

    virtual void SetRenderState(dev::D3DRENDERSTATETYPE state, uint32_t value) = 0;
    virtual void SetTextureStageState(uint32_t stage, dev::D3DTEXTURESTAGESTATETYPE type,
                                      uint32_t value) = 0;
    virtual void SetSamplerState(uint32_t sampler, dev::D3DSAMPLERSTATETYPE type,
                                 uint32_t value) = 0;
    virtual void SetLight(uint32_t index, const dev::D3DLIGHT9& light) = 0;
    virtual void LightEnable(uint32_t index, bool enable) = 0;
    virtual void SetTransform(dev::D3DTRANSFORMSTATETYPE state, const Matrix& matrix) = 0;
    virtual void SetFVF(uint32_t fvf) = 0;
    virtual void SetTexture(uint32_t stage, Texture* texture) = 0;
    virtual void SetMaterial(const dev::D3DMATERIAL9& material) = 0;
    virtual void DrawPrimitiveUP(dev::D3DPRIMITIVETYPE type, uint32_t primitiveCount,
                                 const void* vertices, uint32_t stride) = 0;

    // Loads a PNG; null when the file is missing or unreadable.
    virtual Texture* CreateTextureFromFile(const std::string& path) = 0;
    virtual Sprite* CreateSprite() = 0;
    // Reads a text mesh file; null (with `error` set) when it cannot be read.
    virtual Mesh* LoadMeshFromX(const std::string& path, std::vector<XMaterial>& materials,
                                std::string& error) = 0;

  private:
    void MakeMissing(ImageIds ids);
    std::vector<Texture*> images_;  // by ImageId
    size_t unmade_ = 0;             // null entries of images_
    Sprite* sprite_ = nullptr;
    std::map<std::string, MeshFile> meshes_;  // entries stay put as others are added
};

// The process-wide device, written once at start-up; tests install theirs the same way. What was
// made on a device is found through it, so installing another is this one assignment.
extern Device* device;
