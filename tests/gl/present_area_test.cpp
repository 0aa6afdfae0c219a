// Where the 640x480 picture lands in windows of any size, and that it lands unchanged.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/sdl/gl_device.h"
#include "tests/gl/gl_test_window.h"
#include "tests/unit/render_test_files.h"

using namespace dev;

namespace {

void ExpectArea(int width, int height, int x, int y, int w, int h, bool sharp) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    PresentArea area = FitBackBuffer(width, height);
    EXPECT_EQ(area.x, x);
    EXPECT_EQ(area.y, y);
    EXPECT_EQ(area.width, w);
    EXPECT_EQ(area.height, h);
    EXPECT_EQ(area.sharp, sharp);
}

TEST(PresentArea, FillsTheLargest4By3AreaWithBarsAndStaysSharpOnlyAtWholeScales) {
    ExpectArea(640, 480, 0, 0, 640, 480, true);
    ExpectArea(1280, 960, 0, 0, 1280, 960, true);       // a high-DPI drawable at twice the size
    ExpectArea(1920, 1080, 240, 0, 1440, 1080, false);  // a full HD screen: 2.25, smoothed
    ExpectArea(1000, 500, 167, 0, 666, 500, false);     // wide: bars left and right
    ExpectArea(640, 700, 0, 110, 640, 480, true);       // tall: bars above and below
    ExpectArea(1024, 768, 0, 0, 1024, 768, false);      // 1.6: smoothed
    ExpectArea(320, 240, 0, 0, 320, 240, false);        // smaller than the picture
}

}  // namespace

namespace {

// The window's own pixels, top row first.
Image WindowPixels(int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.resize(size_t(width) * height * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    const size_t row = size_t(width) * 4;
    for (int y = 0; y < height / 2; ++y)
        std::swap_ranges(image.rgba.begin() + y * row, image.rgba.begin() + (y + 1) * row,
                         image.rgba.begin() + (height - 1 - y) * row);
    return image;
}

class PresentTest : public GLTest {};

TEST_F(PresentTest, TheWindowShowsTheBackBufferPixelForPixelAtItsOwnSize) {
    ScratchFolder folder;
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
    device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF204060, 1.0f, 0);
    Sprite* sprite = device->CreateSprite();
    for (auto [x, y] : {std::pair{32, 32}, {600, 440}, {333, 201}}) {
        sprite->SetTransform(D3DXMatrixTranslation(float(x), float(y), 0));
        sprite->Draw(texture, {32, 32, 0}, 0xFFFFFFFF);
    }
    const Image back = ReadBackBuffer(*device);
    device->Present();
    const Image shown = WindowPixels(BackBufferWidth, BackBufferHeight);
    int differing = 0;
    for (int y = 0; y < BackBufferHeight; ++y)
        for (int x = 0; x < BackBufferWidth; ++x)
            differing += PixelAt(back, x, y) != PixelAt(shown, x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(PixelAt(shown, 1, 1), (Rgb{4, 4, 1}));  // the first sprite's corner texel
}

}  // namespace
