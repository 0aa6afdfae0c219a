// The device under test, with each frame read just before it is presented: a device may leave its
// back buffer undefined after Present (Direct3D 9 discards it), and the session presents itself.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/image_file.h"
#include "platform/device.h"

class FrameKeeper : public Device {
  public:
    FrameKeeper(Device& inner, std::function<Image(Device&)> read)
        : inner_(inner), read_(std::move(read)) {}
    Image last;  // the frame presented last

    void Present() override {
        last = read_(inner_);
        inner_.Present();
    }
    void Clear(uint32_t f, uint32_t c, float z, uint32_t s) override { inner_.Clear(f, c, z, s); }
    void BeginScene() override { inner_.BeginScene(); }
    void EndScene() override { inner_.EndScene(); }
    void SetRenderState(dev::D3DRENDERSTATETYPE s, uint32_t v) override {
        inner_.SetRenderState(s, v);
    }
    void SetTextureStageState(uint32_t stage, dev::D3DTEXTURESTAGESTATETYPE t,
                              uint32_t v) override {
        inner_.SetTextureStageState(stage, t, v);
    }
    void SetSamplerState(uint32_t s, dev::D3DSAMPLERSTATETYPE t, uint32_t v) override {
        inner_.SetSamplerState(s, t, v);
    }
    void SetLight(uint32_t i, const dev::D3DLIGHT9& l) override { inner_.SetLight(i, l); }
    void LightEnable(uint32_t i, bool on) override { inner_.LightEnable(i, on); }
    void SetTransform(dev::D3DTRANSFORMSTATETYPE s, const Matrix& m) override {
        inner_.SetTransform(s, m);
    }
    void SetFVF(uint32_t fvf) override { inner_.SetFVF(fvf); }
    void SetTexture(uint32_t stage, Texture* t) override { inner_.SetTexture(stage, t); }
    void SetMaterial(const dev::D3DMATERIAL9& m) override { inner_.SetMaterial(m); }
    void DrawPrimitiveUP(dev::D3DPRIMITIVETYPE type, uint32_t count, const void* vertices,
                         uint32_t stride) override {
        inner_.DrawPrimitiveUP(type, count, vertices, stride);
    }
    Texture* CreateTextureFromFile(const std::string& path) override {
        return inner_.CreateTextureFromFile(path);
    }
    Sprite* CreateSprite() override { return inner_.CreateSprite(); }
    Mesh* LoadMeshFromX(const std::string& path, std::vector<XMaterial>& materials,
                        std::string& error) override {
        return inner_.LoadMeshFromX(path, materials, error);
    }

  private:
    Device& inner_;
    std::function<Image(Device&)> read_;
};
