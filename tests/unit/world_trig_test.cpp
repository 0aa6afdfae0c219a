// The world's own trigonometry against long double references: any wrong coefficient, quadrant
// or reduction shows as an error far above the few units in the last place allowed here.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "world/trig.h"

namespace {

TEST(WorldTrig, SineAndCosineAreAccurateAcrossTheGamesRange) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> angle(-60.0, 60.0);
    double worst = 0;
    for (int i = 0; i < 200000; ++i) {
        const double x = i < 8 ? i * 0.7853981633974483 : angle(random);  // quadrant edges too
        worst = std::fmax(worst, std::fabs(static_cast<long double>(Sine(x)) - sinl(x)));
        worst = std::fmax(worst, std::fabs(static_cast<long double>(Cosine(x)) - cosl(x)));
    }
    EXPECT_LT(worst, 4e-16);
    EXPECT_TRUE(std::isnan(Sine(std::numeric_limits<double>::infinity())));
    EXPECT_EQ(Sine(0.0f), 0.0f);
    EXPECT_EQ(Cosine(0.0f), 1.0f);
}

TEST(WorldTrig, ArcTangentIsAccurateInEveryQuadrantAndAtTheEdges) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(-5000.0, 5000.0);
    double worst = 0;
    for (int i = 0; i < 200000; ++i) {
        const double y = coordinate(random), x = i % 3 == 0 ? y * 1e-4 : coordinate(random);
        worst =
            std::fmax(worst, std::fabs(static_cast<long double>(ArcTangent2(y, x)) - atan2l(y, x)));
    }
    EXPECT_LT(worst, 2e-15);
    const double inf = std::numeric_limits<double>::infinity();
    // These cases are exact in every C library, so they can be compared as they are.
    for (double y : {0.0, -0.0, 1.0, -1.0, inf, -inf})
        for (double x : {0.0, -0.0, 1.0, -1.0, inf, -inf}) {
            if (std::isfinite(x) && std::isfinite(y) && x != 0 && y != 0) continue;
            EXPECT_EQ(ArcTangent2(y, x), std::atan2(y, x)) << y << ", " << x;
            EXPECT_EQ(std::signbit(ArcTangent2(y, x)), std::signbit(std::atan2(y, x)));
        }
    EXPECT_TRUE(std::isnan(ArcTangent2(std::nan(""), 1.0)));
}

}  // namespace
