#include "platform/core/null_device.h"

#include "platform/core/image_file.h"
#include "platform/core/xfile.h"

using namespace dev;

namespace {

class NullSprite : public Sprite {
  public:
    void SetTransform(const Matrix&) override {}
    void Begin(uint32_t) override {}
    void Draw(Texture*, D3DVECTOR, uint32_t) override {}
    void End() override {}
};

class NullMesh : public Mesh {
  public:
    void DrawSubset(uint32_t) override {}
};

}  // namespace

Texture* NullDevice::CreateTextureFromFile(const std::string& path) {
    std::optional<Image> image = LoadImageFile(path);
    if (!image) return nullptr;
    auto texture = std::make_unique<Texture>();
    texture->width = static_cast<uint32_t>(image->width);
    texture->height = static_cast<uint32_t>(image->height);
    texture->path = path;
    textures_.push_back(std::move(texture));
    return textures_.back().get();
}

Sprite* NullDevice::CreateSprite() {
    sprites_.push_back(std::make_unique<NullSprite>());
    return sprites_.back().get();
}

Mesh* NullDevice::LoadMeshFromX(const std::string& path, std::vector<XMaterial>& materials,
                                std::string& error) {
    XMeshData data;
    if (!ReadXFile(path, data, error)) return nullptr;
    materials = data.materials;
    meshes_.push_back(std::make_unique<NullMesh>());
    return meshes_.back().get();
}
