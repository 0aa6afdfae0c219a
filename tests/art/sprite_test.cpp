// The world pictures as the game will use them: each stretched over a quad of a fixed size in
// world units, point sampled, cut out where alpha is below 128, and mirrored when the object
// heads right, so every vehicle must be stored nose to the left.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "art_files.h"

namespace {

struct Sprite {
    const char* name;
    double world_w, world_h;
};

// One world unit shows as about 0.19 screen pixels; textures aim at twice that.
constexpr double kPixelsPerUnit = 0.19;

const Sprite kVehicles[] = {{"rai21_fukahire.png", 198, 78}, {"taku_raiden21.png", 196, 74},
                            {"SBD-5.png", 258, 100},         {"f4u-1d.png", 200, 80},
                            {"p51h.png", 234, 116},          {"b29.png", 1836, 498},
                            {"Fletcher_1942.png", 2380, 560}};
const Sprite kFighters[] = {{"rai21_fukahire.png", 198, 78},
                            {"taku_raiden21.png", 196, 74},
                            {"SBD-5.png", 258, 100},
                            {"f4u-1d.png", 200, 80},
                            {"p51h.png", 234, 116}};
const Sprite kRound[] = {
    {"team0.png", 20, 20}, {"bo0.png", 40, 40}, {"bo1.png", 60, 60}, {"bo2.png", 300, 300}};

Picture load(const char* name) {
    Picture p = load_picture(data_path(name));
    EXPECT_GT(p.width, 0) << name << " does not load";
    return p;
}

bool corners_clear(const Picture& p) {
    return !solid(p, 0, 0) && !solid(p, p.width - 1, 0) && !solid(p, 0, p.height - 1) &&
           !solid(p, p.width - 1, p.height - 1);
}

// Texels with 0 < alpha < 128 would be cut by the alpha test anyway; their presence means the
// edge was left soft and its colour was never meant to be seen.
int soft_texels(const Picture& p) {
    int n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) n += alpha(p, x, y) > 0 && alpha(p, x, y) < 128;
    return n;
}

}  // namespace

TEST(Sprites, LoadAsRgbaWithCleanCutOutEdges) {
    for (const auto& list : {std::vector<Sprite>(std::begin(kVehicles), std::end(kVehicles)),
                             std::vector<Sprite>(std::begin(kRound), std::end(kRound))})
        for (const Sprite& s : list) {
            SCOPED_TRACE(s.name);
            const Picture p = load(s.name);
            ASSERT_GT(p.width, 0);
            EXPECT_EQ(p.channels, 4);
            EXPECT_TRUE(corners_clear(p));
            EXPECT_EQ(soft_texels(p), 0);
            const double kept = solid_fraction(p, 0, 0, 1, 1);
            EXPECT_GT(kept, 0.15);  // something is drawn...
            EXPECT_LT(kept, 0.85);  // ...with air around it
        }
}

TEST(Sprites, ProportionsMatchTheirQuadsAtAboutTwiceScreenSize) {
    for (const Sprite& s : kVehicles) {
        SCOPED_TRACE(s.name);
        const Picture p = load(s.name);
        ASSERT_GT(p.width, 0);
        // Stretching onto the quad must not squash the drawing noticeably.
        EXPECT_NEAR(static_cast<double>(p.width) / p.height, s.world_w / s.world_h,
                    0.05 * s.world_w / s.world_h);
        const double texels_per_screen_pixel = p.width / (s.world_w * kPixelsPerUnit);
        EXPECT_GT(texels_per_screen_pixel, 1.5);
        EXPECT_LT(texels_per_screen_pixel, 2.6);  // more would shimmer without mipmaps
    }
    const Picture shot = load("team0.png"), blast = load("bo2.png");
    EXPECT_LT(shot.width, 16);
    EXPECT_NEAR(blast.width / (300 * kPixelsPerUnit), 2.0, 0.5);
}

// What rises above the fuselage (fin, canopy, gunners, the bomber's far engines) sits aft of
// the middle, while the propeller at the nose is only a thin sliver: so the solid texels of
// the top third of the picture lie mostly in its right half. Mirrored, they lie in the left.
TEST(Sprites, AircraftFaceLeftWithTheFinAtTheRight) {
    for (const Sprite& s : kVehicles) {
        if (std::string(s.name) == "Fletcher_1942.png") continue;
        SCOPED_TRACE(s.name);
        const Picture p = load(s.name);
        ASSERT_GT(p.width, 0);
        double sum_x = 0;
        int n = 0;
        for (int y = 0; y < p.height / 3; ++y)
            for (int x = 0; x < p.width; ++x)
                if (solid(p, x, y)) {
                    sum_x += x;
                    ++n;
                }
        ASSERT_GT(n, 0);
        EXPECT_GT(sum_x / n / p.width, 0.55);
        // The body sits on the middle line, where the quad's centre is.
        EXPECT_TRUE(solid(p, p.width / 2, p.height / 2));
    }
}

// A fighter's propeller disc is a tall thin column at the very nose: some column in the left
// 12% is solid over most of the height.
TEST(Sprites, FightersShowTheirPropellerAtTheLeftEdge) {
    for (const Sprite& s : kFighters) {
        SCOPED_TRACE(s.name);
        const Picture p = load(s.name);
        ASSERT_GT(p.width, 0);
        int tallest = 0;
        for (int x = 0; x < p.width * 12 / 100; ++x) {
            int n = 0;
            for (int y = 0; y < p.height; ++y) n += solid(p, x, y);
            tallest = std::max(tallest, n);
        }
        EXPECT_GT(tallest, p.height * 6 / 10);
    }
}

// The bow rakes forward over the water while the stern is nearly upright, so at the
// waterline the hull starts well right of the stem head; the tall mast stands forward.
TEST(Sprites, WarshipFacesLeftWithItsHullOnTheBottomEdge) {
    const Picture p = load("Fletcher_1942.png");
    ASSERT_GT(p.width, 0);
    auto first_solid = [&](int y) {
        for (int x = 0; x < p.width; ++x)
            if (solid(p, x, y)) return x;
        return p.width;
    };
    auto last_solid = [&](int y) {
        for (int x = p.width - 1; x >= 0; --x)
            if (solid(p, x, y)) return x;
        return -1;
    };
    int left = p.width, right = 0;
    for (int y = 0; y < p.height; ++y) {
        left = std::min(left, first_solid(y));
        right = std::max(right, last_solid(y));
    }
    const int bottom = p.height - 1;
    EXPECT_GT(first_solid(bottom) - left, 2 * (right - last_solid(bottom)));
    EXPECT_LT(top_row(p, 0.0, 0.5), top_row(p, 0.5, 1.0));
    EXPECT_GT(solid_fraction(p, 0.1, 0.92, 0.9, 1.0), 0.98);  // waterline along the bottom
}

TEST(Sprites, ExplosionsAreFieryInTheMiddleAndSmokyAtTheRim) {
    for (const char* name : {"bo0.png", "bo1.png", "bo2.png"}) {
        SCOPED_TRACE(name);
        const Picture p = load(name);
        ASSERT_GT(p.width, 0);
        EXPECT_EQ(p.width, p.height);
        const uint8_t* centre =
            &p.rgba[(static_cast<size_t>(p.height / 2) * p.width + p.width / 2) * 4];
        EXPECT_GT(centre[0], 230);        // red channel near full
        EXPECT_GT(centre[1], 150);        // with plenty of green: yellow-white, not red
        EXPECT_GT(centre[0], centre[2]);  // warm
    }
    // The big frame has a dark rim: its darkest solid texel is smoke, not fire.
    const Picture p = load("bo2.png");
    int darkest = 255 * 3;
    for (int i = 0; i < p.width * p.height; ++i)
        if (p.rgba[i * 4 + 3] >= 128)
            darkest = std::min(darkest, p.rgba[i * 4] + p.rgba[i * 4 + 1] + p.rgba[i * 4 + 2]);
    EXPECT_LT(darkest, 3 * 90);
}

TEST(Sprites, FriendsAndPlayerShareALiveryButDiffer) {
    const Picture friend_ = load("rai21_fukahire.png"), player = load("taku_raiden21.png");
    ASSERT_GT(friend_.width, 0);
    ASSERT_GT(player.width, 0);
    // The player's machine carries a near-white band the wingmen lack.
    auto whitish = [](const Picture& p) {
        int n = 0;
        for (int i = 0; i < p.width * p.height; ++i)
            n += p.rgba[i * 4 + 3] >= 128 && p.rgba[i * 4] > 215 && p.rgba[i * 4 + 1] > 215 &&
                 p.rgba[i * 4 + 2] > 200;
        return n;
    };
    EXPECT_GT(whitish(player), whitish(friend_) + 4);
}
