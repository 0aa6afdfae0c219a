// A device that draws nothing and keeps every call with its arguments, for tests to inspect.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/file_resources.h"
#include "platform/device.h"

struct DeviceCall {
    std::string op;               // the operation's name, e.g. "SetRenderState", "Sprite.Draw"
    std::vector<uint32_t> ints;   // integer arguments in order (states, indices, flags, colours)
    std::vector<float> floats;    // float arguments in order (clear depth, sprite centre)
    Matrix matrix{1.0f};          // SetTransform, Sprite.SetTransform
    Texture* texture = nullptr;   // SetTexture, Sprite.Draw
    std::vector<std::byte> data;  // DrawPrimitiveUP's vertices
    dev::D3DLIGHT9 light;         // SetLight
    dev::D3DMATERIAL9 material;   // SetMaterial
};

class RecordingDevice : public Device {
  public:
    std::vector<DeviceCall> calls;
    // Paths of every texture load attempted, in order, whether it succeeded or not.
    std::vector<std::string> textureLoads;
    // When set, only the calls it accepts are kept: a frame draws some 12000 calls, so long runs
    // that look at a few operations keep just those.
    std::function<bool(std::string_view op)> keep;

    void Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override;
    void BeginScene() override;
    void EndScene() override;
    void Present() override;
    void SetRenderState(dev::D3DRENDERSTATETYPE state, uint32_t value) override;
    void SetTextureStageState(uint32_t stage, dev::D3DTEXTURESTAGESTATETYPE type,
                              uint32_t value) override;
    void SetSamplerState(uint32_t sampler, dev::D3DSAMPLERSTATETYPE type, uint32_t value) override;
    void SetLight(uint32_t index, const dev::D3DLIGHT9& light) override;
    void LightEnable(uint32_t index, bool enable) override;
    void SetTransform(dev::D3DTRANSFORMSTATETYPE state, const Matrix& matrix) override;
    void SetFVF(uint32_t fvf) override;
    void SetTexture(uint32_t stage, Texture* texture) override;
    void SetMaterial(const dev::D3DMATERIAL9& material) override;
    void DrawPrimitiveUP(dev::D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                         uint32_t stride) override;
    Texture* CreateTextureFromFile(const std::string& path) override;
    Sprite* CreateSprite() override;
    Mesh* LoadMeshFromX(const std::string& path, std::vector<XMaterial>& materials,
                        std::string& error) override;

    // Calls named `op`, in order.
    std::vector<const DeviceCall*> CallsNamed(const std::string& op) const;
    size_t CountOf(const std::string& op) const;

    // Keeps `call` unless `keep` turns it down; returns where it went (a scratch record if not).
    DeviceCall& Keep(DeviceCall call);

  private:
    DeviceCall scratch_;
    FileResources files_;
    DeviceCall& Record(std::string op, std::vector<uint32_t> ints = {});
};
