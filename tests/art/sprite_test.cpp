// The world pictures as the game uses them: each stretched over its model's quad (the game's own
// sizes), point sampled, cut out where alpha is below 128, and mirrored when the object
// heads right, so every vehicle must be stored nose to the left.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "art_files.h"
#include "render/quads.h"

namespace {

// A world picture and the size of the quad the game stretches it over, in world units.
struct Shown {
    std::string name;
    double world_w, world_h;
};

Shown shown(int32_t model, int32_t health = 1) {
    const Appearance look = ModelAppearance(model, health);
    return {std::string(WorldTextureFiles[look.slot]).substr(5), 2.0 * look.halfWidth,
            2.0 * look.halfHeight};
}

// The aircraft first, then the warship; the round ones as large as they are drawn.
const std::vector<Shown> kVehicles = {
    shown(ModelFriend),      shown(ModelPlayer), shown(ModelScout),  shown(ModelFighter),
    shown(ModelLateFighter), shown(ModelBomber), shown(ModelWarship)};
const std::vector<Shown> kRound = {shown(ModelShot), shown(50, 0), shown(51, 0),
                                   shown(ModelExplosion, 0)};

Picture load(const std::string& name) {
    Picture p = load_picture(data_path(name));
    EXPECT_GT(p.width, 0) << name << " does not load";
    return p;
}

int first_solid(const Picture& p, int y) {
    for (int x = 0; x < p.width; ++x)
        if (solid(p, x, y)) return x;
    return p.width;
}

int last_solid(const Picture& p, int y) {
    for (int x = p.width - 1; x >= 0; --x)
        if (solid(p, x, y)) return x;
    return -1;
}

}  // namespace

// Texels with 0 < alpha < 128 would be cut by the alpha test anyway; their presence means the
// edge was left soft and its colour was never meant to be seen. Stretched onto its quad, no
// picture may look squashed.
TEST(Sprites, LoadAsRgbaWithCleanCutOutEdgesAirAroundAndTheirQuadsProportions) {
    std::vector<Shown> all = kVehicles;
    all.insert(all.end(), kRound.begin(), kRound.end());
    for (const Shown& s : all) {
        SCOPED_TRACE(s.name);
        const Picture p = load(s.name);
        ASSERT_GT(p.width, 0);
        EXPECT_EQ(p.channels, 4);
        EXPECT_FALSE(solid(p, 0, 0) || solid(p, p.width - 1, 0) || solid(p, 0, p.height - 1) ||
                     solid(p, p.width - 1, p.height - 1));
        int soft = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) soft += alpha(p, x, y) > 0 && alpha(p, x, y) < 128;
        EXPECT_EQ(soft, 0);
        const double kept = solid_fraction(p, 0, 0, 1, 1);
        EXPECT_GT(kept, 0.15);  // something is drawn...
        EXPECT_LT(kept, 0.85);  // ...with air around it
        EXPECT_NEAR(static_cast<double>(p.width) / p.height, s.world_w / s.world_h,
                    0.05 * s.world_w / s.world_h);
    }
}

// The player's machine carries a near-white band its wingmen lack, to be told apart.
TEST(Sprites, ThePlayerStandsOutFromTheWingmen) {
    auto whitish = [](const Picture& p) {
        int n = 0;
        for (size_t i = 0; i < p.rgba.size(); i += 4)
            n += p.rgba[i + 3] >= 128 && p.rgba[i] > 215 && p.rgba[i + 1] > 215 &&
                 p.rgba[i + 2] > 200;
        return n;
    };
    EXPECT_GT(whitish(load(shown(ModelPlayer).name)), whitish(load(shown(ModelFriend).name)) + 4);
}

// What rises above the fuselage (fin, canopy, gunners, the bomber's far engines) sits aft of
// the middle, while the propeller at the nose is only a thin sliver: so the solid texels of
// the top third of the picture lie mostly in its right half. Mirrored, they lie in the left.
TEST(Sprites, AircraftFaceLeftWithTheFinAtTheRight) {
    for (const Shown& s : kVehicles) {
        if (s.name == shown(ModelWarship).name) continue;
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

// The bow rakes forward over the water while the stern is nearly upright, so at the
// waterline the hull starts well right of the stem head; the tall mast stands forward.
TEST(Sprites, WarshipFacesLeftWithItsHullOnTheBottomEdge) {
    const Picture p = load(shown(ModelWarship).name);
    ASSERT_GT(p.width, 0);
    int left = p.width, right = 0;
    for (int y = 0; y < p.height; ++y) {
        left = std::min(left, first_solid(p, y));
        right = std::max(right, last_solid(p, y));
    }
    const int bottom = p.height - 1;
    EXPECT_GT(first_solid(p, bottom) - left, 2 * (right - last_solid(p, bottom)));
    EXPECT_LT(top_row(p, 0.0, 0.5), top_row(p, 0.5, 1.0));
    EXPECT_GT(solid_fraction(p, 0.1, 0.92, 0.9, 1.0), 0.98);  // waterline along the bottom
}
