// Every world object drawn as a textured quad that turns toward the eye.
#pragma once

#include <cstdint>

#include "platform/device.h"
#include "world/records.h"

// One corner of a quad's triangle as the device reads it (36 bytes, format QuadFVF).
struct QuadVertex {
    float x, y, z;
    float nx, ny, nz;  // the triangle's normal, unnormalised; lighting is off for quads
    uint32_t diffuse;  // always opaque white: the texture passes unchanged
    float tu, tv;
};
static_assert(sizeof(QuadVertex) == 36);
constexpr uint32_t QuadFVF =
    dev::D3DFVF_XYZ | dev::D3DFVF_NORMAL | dev::D3DFVF_DIFFUSE | dev::D3DFVF_TEX1;

// The world images, loaded on first use and retried while a file fails to load.
constexpr int WorldTextureCount = 13;
extern const char* const WorldTextureFiles[WorldTextureCount];

// A model's image slot and the half-width and half-height of its quad.
struct Appearance {
    int32_t slot;
    float halfWidth;
    float halfHeight;
};
// The table's entry for `model`, with the range rules applied: explosions (50 to 99) shrink as
// `health` counts down to -50, and tiles (100 to 149) are always 800 by 300.
Appearance ModelAppearance(int32_t model, int32_t health);

void DrawObject(const GameObject& object);
