#include "bench/frame/replay.h"

using namespace dev;

namespace {

bool OpOf(const std::string& name, ReplayOp& op) {
    static const std::map<std::string, ReplayOp> ops = {
        {"Clear", ReplayOp::Clear},
        {"BeginScene", ReplayOp::BeginScene},
        {"EndScene", ReplayOp::EndScene},
        {"Present", ReplayOp::Present},
        {"SetRenderState", ReplayOp::RenderState},
        {"SetTextureStageState", ReplayOp::StageState},
        {"SetSamplerState", ReplayOp::SamplerState},
        {"SetLight", ReplayOp::Light},
        {"LightEnable", ReplayOp::LightEnable},
        {"SetTransform", ReplayOp::Transform},
        {"SetFVF", ReplayOp::Format},
        {"SetTexture", ReplayOp::SetTexture},
        {"SetMaterial", ReplayOp::Material},
        {"DrawPrimitiveUP", ReplayOp::Draw},
        {"Sprite.SetTransform", ReplayOp::SpriteTransform},
        {"Sprite.Begin", ReplayOp::SpriteBegin},
        {"Sprite.Draw", ReplayOp::SpriteDraw},
        {"Sprite.End", ReplayOp::SpriteEnd},
        {"Mesh.DrawSubset", ReplayOp::MeshSubset},
    };
    auto found = ops.find(name);
    if (found == ops.end()) return false;
    op = found->second;
    return true;
}

bool Decode(const std::vector<DeviceCall>& calls, const std::map<const Texture*, Texture*>& made,
            std::vector<ReplayStep>& steps, std::vector<std::byte>& vertices, std::string& error) {
    steps.reserve(calls.size());
    // `vertices` was reserved for every call's, so the pointers taken here stay put.
    for (const DeviceCall& call : calls) {
        auto at = [&](size_t i) { return i < call.ints.size() ? call.ints[i] : 0u; };
        const void* data = vertices.data() + vertices.size();
        vertices.insert(vertices.end(), call.data.begin(), call.data.end());
        ReplayStep step{ReplayOp::Clear, at(0), at(1), at(2), call.matrix, data, &call, nullptr};
        if (!OpOf(call.op, step.op)) {
            error = "the replay does not know " + call.op;
            return false;
        }
        if (call.texture != nullptr) step.texture = made.at(call.texture);
        steps.push_back(step);
    }
    return true;
}

}  // namespace

bool PrepareReplay(Device& target, const CapturedFrame& captured, Replay& out, std::string& error) {
    out.device = &target;
    std::map<const Texture*, Texture*> made;
    for (const auto& standIn : captured.textures) {
        Texture* texture = target.CreateTextureFromFile(standIn->path);
        if (texture == nullptr) {
            error = "cannot load " + standIn->path;
            return false;
        }
        made[standIn.get()] = texture;
    }
    out.sprite = target.CreateSprite();
    std::vector<XMaterial> materials;
    out.sky = target.LoadMeshFromX("data/sky.x", materials, error);
    if (out.sky == nullptr) return false;
    size_t bytes = 0;
    for (const DeviceCall& call : captured.settings) bytes += call.data.size();
    for (const DeviceCall& call : captured.calls) bytes += call.data.size();
    out.vertices.reserve(bytes);
    if (!Decode(captured.settings, made, out.settings, out.vertices, error) ||
        !Decode(captured.calls, made, out.frame, out.vertices, error))
        return false;
    for (const ReplayStep& step : out.frame)
        if (step.op == ReplayOp::Clear) out.clear = step.call;
    if (out.clear == nullptr) {
        error = "the frame has no Clear";
        return false;
    }
    return true;
}

void RunSteps(const Replay& replay, const std::vector<ReplayStep>& steps) {
    Device& d = *replay.device;
    for (const ReplayStep& step : steps) {
        const DeviceCall& c = *step.call;
        switch (step.op) {
            case ReplayOp::Clear:
                d.Clear(step.a, step.b, c.floats[0], step.c);
                break;
            case ReplayOp::BeginScene:
                d.BeginScene();
                break;
            case ReplayOp::EndScene:
                d.EndScene();
                break;
            case ReplayOp::Present:
                d.Present();
                break;
            case ReplayOp::RenderState:
                d.SetRenderState(D3DRENDERSTATETYPE(step.a), step.b);
                break;
            case ReplayOp::StageState:
                d.SetTextureStageState(step.a, D3DTEXTURESTAGESTATETYPE(step.b), step.c);
                break;
            case ReplayOp::SamplerState:
                d.SetSamplerState(step.a, D3DSAMPLERSTATETYPE(step.b), step.c);
                break;
            case ReplayOp::Light:
                d.SetLight(step.a, c.light);
                break;
            case ReplayOp::LightEnable:
                d.LightEnable(step.a, step.b != 0);
                break;
            case ReplayOp::Transform:
                d.SetTransform(D3DTRANSFORMSTATETYPE(step.a), step.matrix);
                break;
            case ReplayOp::Format:
                d.SetFVF(step.a);
                break;
            case ReplayOp::SetTexture:
                d.SetTexture(step.a, step.texture);
                break;
            case ReplayOp::Material:
                d.SetMaterial(c.material);
                break;
            case ReplayOp::Draw:
                d.DrawPrimitiveUP(D3DPRIMITIVETYPE(step.a), step.b, step.vertices, step.c);
                break;
            case ReplayOp::SpriteTransform:
                replay.sprite->SetTransform(step.matrix);
                break;
            case ReplayOp::SpriteBegin:
                replay.sprite->Begin(step.a);
                break;
            case ReplayOp::SpriteDraw:
                replay.sprite->Draw(step.texture, {c.floats[0], c.floats[1], c.floats[2]}, step.a);
                break;
            case ReplayOp::SpriteEnd:
                replay.sprite->End();
                break;
            case ReplayOp::MeshSubset:
                replay.sky->DrawSubset(step.a);
                break;
        }
    }
}

void ReplayFrame(const Replay& replay) {
    RunSteps(replay, replay.settings);
    RunSteps(replay, replay.frame);
}

void EmptyFrame(const Replay& replay) {
    const DeviceCall& c = *replay.clear;
    replay.device->Clear(c.ints[0], c.ints[1], c.floats[0], c.ints[2]);
    replay.device->Present();
}
