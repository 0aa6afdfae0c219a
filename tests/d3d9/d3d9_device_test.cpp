// The shared device and frame cases (tests/device) on the Direct3D 9 device, and its own: a lost
// device that comes back with its settings and textures, and joined draws.
#include <vector>

#include "tests/d3d9/d3d9_test_window.h"
#include "tests/device/device_cases.h"
#include "tests/device/frame_cases.h"

namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(D3D9, DeviceCases, D3D9Test);
INSTANTIATE_TYPED_TEST_SUITE_P(D3D9, FrameCases, D3D9Test);

using D3D9DeviceTest = DeviceCases<D3D9Test>;

TEST_F(D3D9DeviceTest, ALostDeviceComesBackWithItsSettingsAndTextures) {
    Picture picture(2, 1, 0xFF00007F);  // cut by the alpha test
    picture.Set(1, 0, 0x00FF00C0);      // blended with weight 192/255
    Texture* texture = MakeTexture(picture);
    device->SetTexture(0, texture);
    FullScreen(0.5f, 0xFFFFFFFF);
    const Image before = D3D9Test::BackBuffer();

    SimulateD3D9DeviceLost(*device);
    device->Present();  // resets: the device's own defaults return, then the game's settings
    EXPECT_EQ(D3D9ResetCount(*device), 1);
    Restart(0xFF0000FF);
    FullScreen(0.5f, 0xFFFFFFFF);
    const Image after = D3D9Test::BackBuffer();
    EXPECT_EQ(PixelAt(after, 100, 240), (Rgb{0, 0, 255}));
    EXPECT_TRUE(after.rgba == before.rgba);
}

TEST_F(D3D9DeviceTest, JoinedDrawsGiveThePixelsOfSeparateOnes) {
    // Half-transparent images and overlapping quads, so order matters in every pixel.
    WritePicture("data/team0.png", Picture(4, 4, 0xFF2020C8));
    WritePicture("data/gro.png", Picture(8, 4, 0x20C020FF));
    Picture sea(8, 4, 0x2040FFA0);
    sea.Set(3, 1, 0x00000000);
    WritePicture("data/sea.png", sea);
    GameObject player;
    player.y = 500;
    std::vector<GameObject> objects;
    for (int i = 0; i < 90; ++i) {
        GameObject o;
        o.model = i % 3 == 0 ? ModelShot : (i % 5 == 0 ? ModelSea : ModelGround);
        o.x = float(-300 * (i % 7));
        o.y = float(300 + 37 * (i % 11));
        o.z = float(-1500 + 41 * i);
        o.speed = i % 2 ? 1.0f : -1.0f;
        o.pitch = 0.05f * float(i % 4);
        objects.push_back(o);
    }
    auto draw = [&](bool joined) {
        SetD3D9Batching(*device, joined);
        Restart(0xFF000000);
        int before = D3D9DrawCount(*device);
        device->BeginScene();
        UpdateCamera(player);
        for (const GameObject& o : objects) DrawObject(o);
        device->EndScene();
        return std::pair{D3D9Test::BackBuffer(), D3D9DrawCount(*device) - before};
    };
    auto [separate, separateDraws] = draw(false);
    auto [joined, joinedDraws] = draw(true);
    EXPECT_EQ(separateDraws, 180);
    EXPECT_LT(joinedDraws, 90);
    int differing = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) differing += PixelAt(separate, x, y) != PixelAt(joined, x, y);
    // Moving corners to world space before the device does rounds a few edge pixels apart.
    EXPECT_LE(differing, 640 * 480 / 1000) << differing;
}

}  // namespace
