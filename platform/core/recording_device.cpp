#include "platform/core/recording_device.h"

#include <cstring>

using namespace dev;

namespace {

DeviceCall Call(std::string op, std::vector<uint32_t> ints = {}, std::vector<float> floats = {}) {
    DeviceCall call;
    call.op = std::move(op);
    call.ints = std::move(ints);
    call.floats = std::move(floats);
    return call;
}

class RecordingSprite : public Sprite {
  public:
    explicit RecordingSprite(RecordingDevice& recorder) : recorder_(recorder) {}
    void SetTransform(const Matrix& transform) override {
        recorder_.Keep(Call("Sprite.SetTransform")).matrix = transform;
    }
    void Begin(uint32_t flags) override { recorder_.Keep(Call("Sprite.Begin", {flags})); }
    void Draw(Texture* texture, D3DVECTOR center, uint32_t color) override {
        recorder_.Keep(Call("Sprite.Draw", {color}, {center.x, center.y, center.z})).texture =
            texture;
    }
    void End() override { recorder_.Keep(Call("Sprite.End")); }

  private:
    RecordingDevice& recorder_;
};

class RecordingMesh : public Mesh {
  public:
    explicit RecordingMesh(RecordingDevice& recorder) : recorder_(recorder) {}
    void DrawSubset(uint32_t subset) override { recorder_.Keep(Call("Mesh.DrawSubset", {subset})); }

  private:
    RecordingDevice& recorder_;
};

}  // namespace

DeviceCall& RecordingDevice::Keep(DeviceCall call) {
    if (keep && !keep(call.op)) {
        scratch_ = std::move(call);
        return scratch_;
    }
    calls.push_back(std::move(call));
    return calls.back();
}

DeviceCall& RecordingDevice::Record(std::string op, std::vector<uint32_t> ints) {
    return Keep(Call(std::move(op), std::move(ints)));
}

void RecordingDevice::Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
    Record("Clear", {flags, color, stencil}).floats = {z};
}
void RecordingDevice::BeginScene() { Record("BeginScene"); }
void RecordingDevice::EndScene() { Record("EndScene"); }
void RecordingDevice::Present() { Record("Present"); }
void RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
    Record("SetRenderState", {state, value});
}
void RecordingDevice::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type,
                                           uint32_t value) {
    Record("SetTextureStageState", {stage, type, value});
}
void RecordingDevice::SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) {
    Record("SetSamplerState", {sampler, type, value});
}
void RecordingDevice::SetLight(uint32_t index, const D3DLIGHT9& light) {
    Record("SetLight", {index}).light = light;
}
void RecordingDevice::LightEnable(uint32_t index, bool enable) {
    Record("LightEnable", {index, enable ? 1u : 0u});
}
void RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const Matrix& matrix) {
    Record("SetTransform", {state}).matrix = matrix;
}
void RecordingDevice::SetFVF(uint32_t fvf) { Record("SetFVF", {fvf}); }
void RecordingDevice::SetTexture(uint32_t stage, Texture* texture) {
    Record("SetTexture", {stage}).texture = texture;
}
void RecordingDevice::SetMaterial(const D3DMATERIAL9& material) {
    Record("SetMaterial").material = material;
}
void RecordingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount,
                                      const void* vertices, uint32_t stride) {
    DeviceCall& call = Record("DrawPrimitiveUP", {type, primitiveCount, stride});
    if (&call == &scratch_) return;
    size_t bytes = static_cast<size_t>(primitiveCount) * 3 * stride;
    call.data.resize(bytes);
    std::memcpy(call.data.data(), vertices, bytes);
}

Texture* RecordingDevice::CreateTextureFromFile(const std::string& path) {
    textureLoads.push_back(path);
    return files_.LoadTexture(path);
}

Sprite* RecordingDevice::CreateSprite() {
    return files_.Keep(std::make_unique<RecordingSprite>(*this));
}

Mesh* RecordingDevice::LoadMeshFromX(const std::string& path, std::vector<XMaterial>& materials,
                                     std::string& error) {
    return files_.LoadMesh(path, materials, error, std::make_unique<RecordingMesh>(*this));
}

std::vector<const DeviceCall*> RecordingDevice::CallsNamed(const std::string& op) const {
    std::vector<const DeviceCall*> found;
    for (const DeviceCall& call : calls)
        if (call.op == op) found.push_back(&call);
    return found;
}

size_t RecordingDevice::CountOf(const std::string& op) const { return CallsNamed(op).size(); }
