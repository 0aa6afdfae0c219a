// The sky mesh, read once and drawn around the eye.
#pragma once

#include <cstdint>

#include "platform/device.h"

struct SkyMesh {
    uint32_t materialCount = 0;
    dev::D3DMATERIAL9* materials = nullptr;  // null: no sky
    Texture** textures = nullptr;            // null entries draw untextured
    Mesh* mesh = nullptr;
};

// The sky of the current device: "data/sky.x" with its materials and textures, read at the first
// call on a device and kept by the device, which owns what it points to. A file that fails shows
// the error box at that first call and gives an all-empty SkyMesh then and after.
SkyMesh LoadSky();
// Draws every subset with its material, translated to the eye and neither turned nor scaled.
void DrawSky(const SkyMesh& sky);
