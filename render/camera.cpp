#include "render/camera.h"

using namespace dev;

D3DVECTOR cameraEye;

namespace {
Matrix projection;
Matrix view;

constexpr float FieldOfView = 0.7853981f;
constexpr float Aspect = 1.3333334f;
constexpr float NearPlane = 10.0f;
constexpr float FarPlane = 30000.0f;
constexpr float SideOffset = 3000.0f;
constexpr float LookAhead = 200.0f;
constexpr float LowestEye = 300.0f;
}  // namespace

void UpdateCamera(const GameObject& player) {
    projection = D3DXMatrixPerspectiveFovLH(FieldOfView, Aspect, NearPlane, FarPlane);
    device->SetTransform(D3DTS_PROJECTION, projection);

    glm::vec3 eye(player.x + SideOffset, player.y < LowestEye ? LowestEye : player.y,
                  player.z + LookAhead);
    glm::vec3 at(player.x, player.y, player.z + LookAhead);
    cameraEye = {eye.x, eye.y, eye.z};
    view = D3DXMatrixLookAtLH(eye, at, glm::vec3(0.0f, 1.0f, 0.0f));
    device->SetTransform(D3DTS_VIEW, view);
}
