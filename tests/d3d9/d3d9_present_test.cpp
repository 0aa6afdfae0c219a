// What Present puts in the window: the shared case at the game's own size (tests/device), and in
// a larger window the largest 4:3 picture, centred, with black bars.
#include <chrono>
#include <thread>
#include <tuple>

#include "tests/d3d9/d3d9_test_window.h"
#include "tests/device/present_cases.h"

using namespace dev;

namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(D3D9, PresentCases, D3D9Test);

class D3D9PresentTest : public PresentCases<D3D9Test> {
  protected:
    // Frames of `left` and `right` halves, presented at the game's pace: the first after a
    // change of size may still meet the window's old size on its way to the X server.
    void PresentHalves(uint32_t left, uint32_t right) {
        WritePicture("data/half.png", Picture(320, 480, right));
        Texture* half = device->CreateTextureFromFile("data/half.png");
        ASSERT_NE(half, nullptr);
        Sprite* sprite = device->CreateSprite();
        sprite->SetTransform(D3DXMatrixTranslation(480, 240, 0));
        for (int frame = 0; frame < 3; ++frame) {
            device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, left, 1.0f, 0);
            device->BeginScene();
            sprite->Draw(half, {160, 240, 0}, 0xFFFFFFFF);
            device->EndScene();
            device->Present();
            FinishD3D9(*device);
            window->Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
};

TEST_F(D3D9PresentTest, AWiderOrTallerWindowGetsTheCentred4By3PictureAndBlackBars) {
    PresentHalves(0xFFFFFFFF, 0xFFFFFFFF);  // white where the bars will be
    const Rgb black{0, 0, 0}, red{255, 0, 0}, green{0, 255, 0};

    window->Resize(1000, 500);  // the picture: 666 x 500 from x 167
    PresentHalves(0xFFFF0000, 0x00FF00FF);
    Image wide = window->Pixels();
    ASSERT_EQ(wide.width, 1000);
    for (auto [x, y, colour] : {std::tuple{0, 250, black},
                                {10, 10, black},
                                {166, 499, black},
                                {168, 0, red},
                                {497, 250, red},
                                {503, 250, green},
                                {831, 499, green},
                                {833, 250, black},
                                {999, 0, black}})
        EXPECT_EQ(PixelAt(wide, x, y), colour) << x << "," << y;

    window->Resize(640, 700);  // the picture: 640 x 480 from y 110
    PresentHalves(0xFFFF0000, 0x00FF00FF);
    Image tall = window->Pixels();
    ASSERT_EQ(tall.height, 700);
    for (auto [x, y, colour] : {std::tuple{320, 0, black},
                                {10, 109, black},
                                {10, 110, red},
                                {319, 589, red},
                                {320, 589, green},
                                {10, 590, black},
                                {630, 699, black}})
        EXPECT_EQ(PixelAt(tall, x, y), colour) << x << "," << y;
}

}  // namespace
