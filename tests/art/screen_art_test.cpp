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

std::string digit(int d) { return std::to_string(d) + ".png"; }

}  // namespace

TEST(ScreenArt, EveryPictureIsRgbaOnATransparentGround) {
    std::vector<std::string> names = {"title.png",      "gamestart.png", "gameover.png",
                                      "gameselect.png", "life.png",      "range.png"};
    for (int d = 0; d <= 9; ++d) names.push_back(digit(d));
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const Picture p = load(name);
        ASSERT_GT(p.width, 0);
        EXPECT_EQ(p.channels, 4);
        EXPECT_FALSE(solid(p, 0, 0) || solid(p, p.width - 1, 0) || solid(p, 0, p.height - 1) ||
                     solid(p, p.width - 1, p.height - 1));
        EXPECT_GT(solid_fraction(p, 0, 0, 1, 1), 0.05);
    }
}

TEST(ScreenArt, SizesFitTheLayout) {
    const Picture title = load("title.png");
    EXPECT_LE(title.width, 420);  // well clear of the screen edges when centred at x=320
    EXPECT_LE(title.height, 90);
    const Picture start = load("gamestart.png"), over = load("gameover.png");
    for (const Picture* p : {&start, &over}) {
        EXPECT_LE(p->height, 40);  // entries are 50 pixels apart
        EXPECT_LE(p->width, 220);  // centred at x=120 it must stay on screen
    }
    // The shorter word makes the narrower picture: the two are not swapped.
    EXPECT_LT(over.width, start.width);
    const Picture cursor = load("gameselect.png");
    EXPECT_LE(cursor.width, 240);
    EXPECT_LT(cursor.height, 50);
    // The desktop's icons go to the theme's NxN folders by their names.
    for (const std::string& name : expected_art_files()) {
        if (name.rfind("icons/", 0) != 0) continue;
        const Picture icon = load(name);
        EXPECT_EQ(icon.width, std::stoi(name.substr(6))) << name;
        EXPECT_EQ(icon.height, icon.width) << name;
    }
    // Digits are placed 50 pixels apart, all of one size and each its own picture.
    const Picture zero = load(digit(0));
    EXPECT_LT(zero.width, 50);
    for (int a = 1; a <= 9; ++a) {
        const Picture p = load(digit(a));
        EXPECT_EQ(p.width, zero.width) << a;
        EXPECT_EQ(p.height, zero.height) << a;
        for (int b = 0; b < a; ++b) EXPECT_NE(p.rgba, load(digit(b)).rgba) << a << b;
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
