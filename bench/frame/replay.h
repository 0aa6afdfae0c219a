// Feeding a captured frame to a real device, call for call as the game made it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "bench/frame/captured_frame.h"

enum class ReplayOp : uint8_t {
    Clear,
    BeginScene,
    EndScene,
    Present,
    RenderState,
    StageState,
    SamplerState,
    Light,
    LightEnable,
    Transform,
    Format,
    SetTexture,
    Material,
    Draw,
    SpriteTransform,
    SpriteBegin,
    SpriteDraw,
    SpriteEnd,
    MeshSubset,
};

// One call decoded ahead of time, so that replaying costs little besides the device's own work.
struct ReplayStep {
    ReplayOp op;
    uint32_t a, b, c;        // the call's integer arguments, in order
    Matrix matrix;           // SetTransform's, Sprite.SetTransform's
    const void* vertices;    // DrawPrimitiveUP's, laid one after another in Replay::vertices
    const DeviceCall* call;  // the rest: light, material, floats
    Texture* texture;        // the target device's texture for the call's stand-in
};

struct Replay {
    Device* device = nullptr;
    Sprite* sprite = nullptr;
    Mesh* sky = nullptr;
    std::vector<ReplayStep> settings;  // the state the frame starts from
    std::vector<ReplayStep> frame;     // Clear to Present
    // The vertices of every draw in order, as a caller's would be at hand in its own memory.
    std::vector<std::byte> vertices;
    const DeviceCall* clear = nullptr;
};

// Loads the frame's textures and the sky on `target` (data/ in the working directory) and
// decodes the calls; false with `error` when a file or an operation is not known.
bool PrepareReplay(Device& target, const CapturedFrame& captured, Replay& out, std::string& error);
void RunSteps(const Replay& replay, const std::vector<ReplayStep>& steps);
// The settings, then the whole frame.
void ReplayFrame(const Replay& replay);
// The frame's clear and present with nothing between them.
void EmptyFrame(const Replay& replay);
