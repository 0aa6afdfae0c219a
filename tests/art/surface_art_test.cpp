// Ground and sea tiles and the sky texture.
#include <gtest/gtest.h>

#include <cmath>

#include "art_files.h"

namespace {

// Tiles are 1600 units wide and laid 1000 apart, so a neighbour's overlap shows the texels
// 5/8 of the width further on; matching them hides the join.
constexpr double kRepeatFraction = 1000.0 / 1600.0;

double luminance(const Picture& p, int x, int y) {
    const uint8_t* c = &p.rgba[(static_cast<size_t>(y) * p.width + x) * 4];
    return 0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2];
}

}  // namespace

TEST(Tiles, OpaqueLowContrastAndRepeatingAtTheTileSpacing) {
    for (const char* name : {"sea.png", "gro.png"}) {
        SCOPED_TRACE(name);
        const Picture p = load_picture(data_path(name));
        ASSERT_GT(p.width, 0);
        EXPECT_EQ(p.channels, 4);
        EXPECT_NEAR(static_cast<double>(p.width) / p.height, 1600.0 / 600.0, 0.1);
        double sum = 0, sum2 = 0;
        int opaque = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                opaque += alpha(p, x, y) == 255;
                const double l = luminance(p, x, y);
                sum += l;
                sum2 += l * l;
            }
        const double n = static_cast<double>(p.width) * p.height;
        EXPECT_EQ(opaque, p.width * p.height);
        const double spread = std::sqrt(sum2 / n - (sum / n) * (sum / n));
        EXPECT_GT(spread, 1.0);   // not a flat fill
        EXPECT_LT(spread, 16.0);  // seen at a grazing angle, strong detail would crawl

        const int step = static_cast<int>(std::lround(p.width * kRepeatFraction));
        int mismatched = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x + step < p.width; ++x)
                mismatched += std::abs(luminance(p, x, y) - luminance(p, x + step, y)) > 3;
        EXPECT_EQ(mismatched, 0);
    }
    const Picture sea = load_picture(data_path("sea.png")),
                  land = load_picture(data_path("gro.png"));
    ASSERT_GT(sea.width, 0);
    ASSERT_GT(land.width, 0);
    EXPECT_GT(sea.rgba[2], sea.rgba[0] + 40);    // sea is blue
    EXPECT_GT(land.rgba[1], land.rgba[2] + 20);  // land is green or brown
}

TEST(SkyTexture, DeepBlueOverheadPaleAtTheHorizon) {
    const Picture p = load_picture(data_path("sky.png"));
    ASSERT_GT(p.width, 0);
    EXPECT_EQ(p.channels, 4);
    for (int i = 0; i < p.width * p.height; ++i) ASSERT_EQ(p.rgba[i * 4 + 3], 255);
    // The mesh maps v = 0 to the zenith and v = 0.5 to the horizon.
    auto row = [&](double v) {
        return &p.rgba[static_cast<size_t>(v * (p.height - 1)) * p.width * 4];
    };
    const uint8_t* zenith = row(0.0);
    const uint8_t* horizon = row(0.5);
    const uint8_t* twenty_up = row(0.5 - 20.0 / 180.0);
    EXPECT_GT(zenith[2], zenith[0] + 80);
    EXPECT_GT(horizon[0] + horizon[1], zenith[0] + zenith[1] + 150);
    EXPECT_GT(twenty_up[2], twenty_up[0] + 50);  // still plainly blue where the camera looks
    EXPECT_LT(twenty_up[0], horizon[0]);
    // Banding: neighbouring rows never jump by more than a couple of levels.
    for (int y = 1; y < p.height; ++y)
        for (int c = 0; c < 3; ++c)
            ASSERT_LE(std::abs(p.rgba[static_cast<size_t>(y) * p.width * 4 + c] -
                               p.rgba[static_cast<size_t>(y - 1) * p.width * 4 + c]),
                      3)
                << "row " << y;
}
