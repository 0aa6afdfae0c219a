#include "app/device_slots.h"

#include "app/screen_sprites.h"
#include "app/session.h"
#include "render/quads.h"

void InstallDevice(Device* installed) {
    ForgetWorldTextures();
    ForgetScreenImages();
    ForgetSessionSky();
    device = installed;
}
