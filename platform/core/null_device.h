// A device that reads files like a real one (so images and meshes load or fail as they would) but
// draws nothing and keeps nothing of its calls: for long headless runs and measurements.
#pragma once

#include <memory>
#include <vector>

#include "platform/core/file_resources.h"
#include "platform/device.h"

class NullDevice : public Device {
  public:
    void Clear(uint32_t, uint32_t, float, uint32_t) override {}
    void BeginScene() override {}
    void EndScene() override {}
    void Present() override {}
    void SetRenderState(dev::D3DRENDERSTATETYPE, uint32_t) override {}
    void SetTextureStageState(uint32_t, dev::D3DTEXTURESTAGESTATETYPE, uint32_t) override {}
    void SetSamplerState(uint32_t, dev::D3DSAMPLERSTATETYPE, uint32_t) override {}
    void SetLight(uint32_t, const dev::D3DLIGHT9&) override {}
    void LightEnable(uint32_t, bool) override {}
    void SetTransform(dev::D3DTRANSFORMSTATETYPE, const Matrix&) override {}
    void SetFVF(uint32_t) override {}
    void SetTexture(uint32_t, Texture*) override {}
    void SetMaterial(const dev::D3DMATERIAL9&) override {}
    void DrawPrimitiveUP(dev::D3DPRIMITIVETYPE, uint32_t, const void*, uint32_t) override {}
    Texture* CreateTextureFromFile(const std::string& path) override;
    Sprite* CreateSprite() override;
    Mesh* LoadMeshFromX(const std::string& path, std::vector<XMaterial>& materials,
                        std::string& error) override;

  private:
    FileResources files_;
};
