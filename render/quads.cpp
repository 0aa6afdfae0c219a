#include "render/quads.h"

#include <cmath>
#include <glm/geometric.hpp>

#include "render/camera.h"

using namespace dev;

const char* const WorldTextureFiles[WorldTextureCount] = {
    "data/team0.png",         "data/rai21_fukahire.png",
    "data/taku_raiden21.png", "data/SBD-5.png",
    "data/f4u-1d.png",        "data/p51h.png",
    "data/b29.png",           "data/bo0.png",
    "data/bo1.png",           "data/bo2.png",
    "data/sea.png",           "data/gro.png",
    "data/Fletcher_1942.png",
};

namespace {

ImageIds WorldImages() {
    static const ImageIds ids = RegisterImageFiles(WorldTextureFiles, WorldTextureCount);
    return ids;
}

// Turns the quad's +Z face toward the eye, after its own roll by `pitch`, then moves it into
// place. The horizontal distance is only estimated, as (|dx| + |dz|) / 2.
Matrix BillboardWorld(const GameObject& o) {
    float dx = cameraEye.x - o.x;
    float dy = cameraEye.y - o.y;
    float dz = cameraEye.z - o.z;
    float yaw = std::atan2(dx, dz);
    float h = (std::fabs(dx) + std::fabs(dz)) / 2.0f;
    float tilt = std::atan2(h, dy) - 1.570795f;
    Matrix world = D3DXMatrixMultiply(D3DXMatrixRotationZ(o.pitch), D3DXMatrixRotationX(tilt));
    world = D3DXMatrixMultiply(world, D3DXMatrixRotationY(yaw));
    return D3DXMatrixMultiply(world, D3DXMatrixTranslation(o.x, o.y, o.z));
}

QuadVertex Corner(float x, float y, float tu, float tv) {
    return QuadVertex{x, y, 0.0f, 0.0f, 0.0f, 0.0f, 0xFFFFFFFFu, tu, tv};
}

// Every corner of a triangle carries the triangle's own (b - a) x (c - a).
void SetNormal(QuadVertex (&t)[3]) {
    glm::vec3 a(t[0].x, t[0].y, t[0].z), b(t[1].x, t[1].y, t[1].z), c(t[2].x, t[2].y, t[2].z);
    glm::vec3 n = glm::cross(b - a, c - a);
    for (QuadVertex& v : t) {
        v.nx = n.x;
        v.ny = n.y;
        v.nz = n.z;
    }
}

}  // namespace

Appearance ModelAppearance(int32_t model, int32_t health) {
    Appearance a;
    switch (model) {
        case ModelFriend:
            a = {1, 99, 39};
            break;
        case ModelPlayer:
            a = {2, 98, 37};
            break;
        case ModelScout:
            a = {3, 129, 50};
            break;
        case ModelFighter:
            a = {4, 100, 40};
            break;
        case ModelLateFighter:
            a = {5, 117, 58};
            break;
        case ModelBomber:
            a = {6, 918, 249};
            break;
        case 50:
            a = {7, 20, 20};
            break;
        case 51:
            a = {8, 30, 30};
            break;
        case ModelExplosion:
            a = {9, 30, 30};
            break;
        case ModelSea:
            a = {10, 800, 300};
            break;
        case ModelGround:
            a = {11, 800, 300};
            break;
        case ModelWarship:
            a = {12, 1190, 280};
            break;
        default:
            a = {0, 10, 10};
            break;
    }
    if (model >= 50 && model <= 99) {
        // In double, and without int overflow for any health.
        double scale = (static_cast<double>(health) + 50.0) * 0.1;
        a.halfWidth = static_cast<float>(a.halfWidth * scale);
        a.halfHeight = static_cast<float>(a.halfHeight * scale);
    }
    if (model >= 100 && model <= 149) {
        a.halfWidth = 800;
        a.halfHeight = 300;
    }
    return a;
}

void DrawObject(const GameObject& object) {
    device->SetFVF(QuadFVF);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);

    // Non-negative speed (f = 1) shows the image mirrored; a NaN speed counts as negative.
    float f = object.speed >= 0.0f ? 1.0f : 0.0f;
    Appearance look = ModelAppearance(object.model, object.health);
    float w = look.halfWidth, h = look.halfHeight;
    QuadVertex triangles[2][3] = {
        {Corner(-w, h, 1 - f, 0), Corner(-w, -h, 1 - f, 1), Corner(w, h, f, 0)},
        {Corner(w, h, f, 0), Corner(w, -h, f, 1), Corner(-w, -h, 1 - f, 1)},
    };
    Matrix world = BillboardWorld(object);
    for (auto& triangle : triangles) {
        SetNormal(triangle);
        // Every world image is made at its first draw; one that fails is tried again at every
        // draw.
        device->MakeImages(WorldImages());
        device->SetTransform(D3DTS_WORLD, world);
        device->SetTexture(0, device->MadeImage(WorldImages()[look.slot]));
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(QuadVertex));
    }

    device->SetRenderState(D3DRS_LIGHTING, TRUE);
}
