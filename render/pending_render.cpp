// Placeholders until the rendering lands; the rendering work replaces this file.
#include "app/screen_sprites.h"
#include "render/camera.h"
#include "render/quads.h"
#include "render/render_states.h"
#include "render/sky.h"
#include "render/tiles.h"

D3DVECTOR cameraEye;
void InitRenderStates() {}
void InitLights() {}
void UpdateCamera(const GameObject&) {}
void DrawObject(const GameObject&) {}
void DrawSurfaceTiles(const GameObject&) {}
SkyMesh LoadSky() { return {}; }
void DrawSky(const SkyMesh&) {}
void EnsureScreenImages() {}
void DrawScreenSprite(int32_t, float, float) {}
void DrawNumber(int32_t) {}
