// The sky mesh, read once and drawn around the eye.
#pragma once

#include <cstdint>

#include "platform/device.h"

struct SkyMesh {
    uint32_t materialCount = 0;
    D3DMATERIAL9* materials = nullptr;  // null: no sky
    Texture** textures = nullptr;
    Mesh* mesh = nullptr;
};

SkyMesh LoadSky();
void DrawSky(const SkyMesh& sky);
