// What Present puts in the window at the game's own size, on both rings: the back buffer pixel
// for pixel. A ring instantiates PresentCases with its test base `Ring`: a ::testing::Test
// whose SetUp installs a fresh device on a 640x480 window, with static BackBuffer(), the back
// buffer as it stands, and Shown(), which presents and returns what the window then shows.
#pragma once

#include <gtest/gtest.h>

#include <utility>

#include "platform/device.h"
#include "tests/device/pixels.h"
#include "tests/unit/render_test_files.h"

namespace {

template <class Ring>
class PresentCases : public Ring {
  protected:
    ScratchFolder folder;
};

TYPED_TEST_SUITE_P(PresentCases);

TYPED_TEST_P(PresentCases, TheWindowShowsTheBackBufferPixelForPixelAtItsOwnSize) {
    // Every pixel of the image differs from its neighbours, so a shift or a smear shows.
    Picture noise(64, 64, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            noise.Set(x, y,
                      (uint32_t(x * 4) << 24) | (uint32_t(y * 4) << 16) |
                          (uint32_t((x * y) & 0xff) << 8) | 0xff);
    WritePicture("data/noise.png", noise);
    Texture* texture = device->CreateTextureFromFile("data/noise.png");
    ASSERT_NE(texture, nullptr);
    device->Clear(dev::D3DCLEAR_TARGET | dev::D3DCLEAR_ZBUFFER, 0xFF204060, 1.0f, 0);
    Sprite* sprite = device->CreateSprite();
    device->BeginScene();
    for (auto [x, y] : {std::pair{32, 32}, {600, 440}, {333, 201}}) {
        sprite->SetTransform(D3DXMatrixTranslation(float(x), float(y), 0));
        sprite->Draw(texture, {32, 32, 0}, 0xFFFFFFFF);
    }
    device->EndScene();
    const Image back = TypeParam::BackBuffer();
    const Image shown = this->Shown();
    ASSERT_EQ(shown.width, 640);
    ASSERT_EQ(shown.height, 480);
    int differing = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) differing += PixelAt(back, x, y) != PixelAt(shown, x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(PixelAt(shown, 1, 1), (Rgb{4, 4, 1}));  // the first sprite's corner texel
}

REGISTER_TYPED_TEST_SUITE_P(PresentCases, TheWindowShowsTheBackBufferPixelForPixelAtItsOwnSize);

}  // namespace
