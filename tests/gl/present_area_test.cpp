// Where the 640x480 picture lands in windows of any size, and that it lands unchanged.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gl/gl_device.h"
#include "tests/device/present_cases.h"
#include "tests/gl/gl_test_window.h"

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

struct GLPresentTest : GLTest {
    // Presents, and reads the window's own pixels, top row first.
    Image Shown() {
        device->Present();
        Image image;
        image.width = BackBufferWidth;
        image.height = BackBufferHeight;
        image.rgba.resize(size_t(image.width) * image.height * 4);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadPixels(0, 0, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
        const size_t row = size_t(image.width) * 4;
        for (int y = 0; y < image.height / 2; ++y)
            std::swap_ranges(image.rgba.begin() + y * row, image.rgba.begin() + (y + 1) * row,
                             image.rgba.begin() + (image.height - 1 - y) * row);
        return image;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(GL, PresentCases, GLPresentTest);

}  // namespace
