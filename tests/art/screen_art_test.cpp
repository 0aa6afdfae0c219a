// Menu and heads-up pictures, drawn unscaled and centred on fixed points of a 640 x 480
// screen: the title at (320,50), the entries at (120,120) and (120,170) with the cursor over
// the chosen one, the life icon at (80,440) and digits every 50 pixels from (170,440).
#include <gtest/gtest.h>

#include <string>

#include "art_files.h"

namespace {

Picture load(const std::string& name) {
    Picture p = load_picture(data_path(name));
    EXPECT_GT(p.width, 0) << name << " does not load";
    return p;
}

bool corners_clear(const Picture& p) {
    return !solid(p, 0, 0) && !solid(p, p.width - 1, 0) && !solid(p, 0, p.height - 1) &&
           !solid(p, p.width - 1, p.height - 1);
}

std::vector<std::string> screen_files() {
    std::vector<std::string> names = {"title.png",      "gamestart.png", "gameover.png",
                                      "gameselect.png", "life.png",      "range.png"};
    for (int d = 0; d <= 9; ++d) names.push_back(std::to_string(d) + ".png");
    return names;
}

}  // namespace

TEST(ScreenArt, EveryPictureIsRgbaOnATransparentGround) {
    for (const std::string& name : screen_files()) {
        SCOPED_TRACE(name);
        const Picture p = load(name);
        ASSERT_GT(p.width, 0);
        EXPECT_EQ(p.channels, 4);
        EXPECT_TRUE(corners_clear(p));
        EXPECT_GT(solid_fraction(p, 0, 0, 1, 1), 0.05);
    }
}

TEST(ScreenArt, SizesFitTheLayout) {
    const Picture title = load("title.png");
    EXPECT_LE(title.width, 420);
    EXPECT_LE(title.height, 90);
    EXPECT_LE(title.width, 640 - 2 * 100);  // clear of the screen edges when centred at x=320
    for (const char* entry : {"gamestart.png", "gameover.png"}) {
        SCOPED_TRACE(entry);
        const Picture p = load(entry);
        EXPECT_LE(p.height, 40);  // entries are 50 pixels apart
        EXPECT_LE(p.width, 220);  // centred at x=120 it must stay on screen
    }
    const Picture cursor = load("gameselect.png");
    EXPECT_LE(cursor.width, 240);
    EXPECT_LT(cursor.height, 50);
    const Picture life = load("life.png"), reticle = load("range.png");
    EXPECT_NEAR(life.width, 48, 8);
    EXPECT_NEAR(reticle.width, 32, 8);
    const Picture icon = load("icon.png");  // the desktop entry's
    EXPECT_EQ(icon.width, 128);
    EXPECT_EQ(icon.height, 128);
    for (int d = 0; d <= 9; ++d) {
        const Picture p = load(std::to_string(d) + ".png");
        EXPECT_NEAR(p.height, 32, 4);
        EXPECT_LT(p.width, 50);  // digits are placed 50 pixels apart
    }
}

// Laid centred over either entry, the cursor frames it: it reaches past the entry's lettering
// on both sides yet leaves every solid texel of the lettering uncovered.
TEST(ScreenArt, CursorFramesEitherEntryWithoutCoveringIt) {
    const Picture cursor = load("gameselect.png");
    ASSERT_GT(cursor.width, 0);
    for (const char* name : {"gamestart.png", "gameover.png"}) {
        SCOPED_TRACE(name);
        const Picture entry = load(name);
        ASSERT_GT(entry.width, 0);
        EXPECT_GT(cursor.width, entry.width);
        EXPECT_GE(cursor.height, entry.height);
        const int ox = (cursor.width - entry.width) / 2, oy = (cursor.height - entry.height) / 2;
        int covered = 0;
        for (int y = 0; y < entry.height; ++y)
            for (int x = 0; x < entry.width; ++x) {
                const int cx = x + ox, cy = y + oy;
                if (solid(entry, x, y) && cx >= 0 && cy >= 0 && cx < cursor.width &&
                    cy < cursor.height)
                    covered += solid(cursor, cx, cy);
            }
        EXPECT_EQ(covered, 0);
    }
}

TEST(ScreenArt, DigitsAreTenDifferentPicturesOfOneSize) {
    std::vector<Picture> digits;
    for (int d = 0; d <= 9; ++d) digits.push_back(load(std::to_string(d) + ".png"));
    for (int a = 0; a <= 9; ++a) {
        EXPECT_EQ(digits[a].width, digits[0].width);
        EXPECT_EQ(digits[a].height, digits[0].height);
        for (int b = a + 1; b <= 9; ++b) EXPECT_NE(digits[a].rgba, digits[b].rgba) << a << b;
    }
}

TEST(ScreenArt, EntriesAreLightLetteringWithADarkRim) {
    for (const char* name : {"gamestart.png", "gameover.png"}) {
        SCOPED_TRACE(name);
        const Picture p = load(name);
        int light = 0, dark = 0;
        for (int i = 0; i < p.width * p.height; ++i) {
            if (p.rgba[i * 4 + 3] < 128) continue;
            const int sum = p.rgba[i * 4] + p.rgba[i * 4 + 1] + p.rgba[i * 4 + 2];
            light += sum > 3 * 180;
            dark += sum < 3 * 80;
        }
        EXPECT_GT(light, 100);
        EXPECT_GT(dark, 100);
    }
    // The shorter word makes the narrower picture: the two are not the same image.
    EXPECT_LT(load("gameover.png").width, load("gamestart.png").width);
}
