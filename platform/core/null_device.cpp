#include "platform/core/null_device.h"

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
    return files_.LoadTexture(path);
}

Sprite* NullDevice::CreateSprite() { return files_.Keep(std::make_unique<NullSprite>()); }

Mesh* NullDevice::LoadMeshFromX(const std::string& path, std::vector<XMaterial>& materials,
                                std::string& error) {
    return files_.LoadMesh(path, materials, error, std::make_unique<NullMesh>());
}
