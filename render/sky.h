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

// Reads "data/sky.x" with its materials and textures; on failure shows the error box and
// returns an all-empty SkyMesh.
SkyMesh LoadSky();
// Draws every subset with its material, translated to the eye and neither turned nor scaled.
void DrawSky(const SkyMesh& sky);
