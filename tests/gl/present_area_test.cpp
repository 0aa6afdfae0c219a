// Where the 640x480 picture lands in windows of any size.
#include <gtest/gtest.h>

#include "platform/sdl/gl_device.h"

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
