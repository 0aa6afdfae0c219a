#include "render/render_states.h"

#include "platform/device.h"

using namespace dev;

void InitRenderStates() {
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->SetRenderState(D3DRS_ALPHAREF, 128);
}

void InitLights() {
    // Three white directional lights; the device normalises the directions itself.
    D3DLIGHT9 light{};
    light.type = D3DLIGHT_DIRECTIONAL;
    light.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    const D3DVECTOR directions[] = {
        {1.0f, -1.0f, 0.5f}, {-1.0f, -1.0f, 0.5f}, {0.0f, -1.0f, -0.5f}};
    for (uint32_t i = 0; i < 3; ++i) {
        light.direction = directions[i];
        device->SetLight(i, light);
        device->LightEnable(i, true);
    }
}
