// The drawing library under the art: fills, cut-out edges, outlines and lettering. (Noise is seen
// in the tiles' seamless repeat.)
#include "raster.h"

#include <gtest/gtest.h>

#include <cmath>

#include "lettering.h"
#include "noise.h"

namespace {

const Rgba kWhite{1, 1, 1, 1};

uint8_t alpha_at(const Image& img, int x, int y) {
    return img.rgba[(static_cast<size_t>(y) * img.width + x) * 4 + 3];
}

}  // namespace

TEST(Resolve, KeepsPixelsAtLeastHalfCoveredAndCutsTheRest) {
    Canvas c = make_canvas(4, 1, 4, 1);     // one drawing unit per pixel
    fill(c, rect(0, 0, 1, 1), kWhite);      // full
    fill(c, rect(1, 0, 1.75f, 1), kWhite);  // three quarters
    fill(c, rect(2, 0, 2.25f, 1), kWhite);  // one quarter
    const Image img = resolve(c);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(alpha_at(img, x, 0), x < 2 ? 255 : 0) << x;
}

TEST(Resolve, EdgesNeverDarkenAndNeverGoSoft) {
    Canvas c = make_canvas(32, 32, 32, 32);
    fill(c, ellipse({16, 16}, 11.3f, 9.7f), kWhite);
    const Image img = resolve(c);
    int kept = 0;
    for (size_t i = 0; i < img.rgba.size(); i += 4) {
        const uint8_t a = img.rgba[i + 3];
        EXPECT_TRUE(a == 0 || a == 255);
        if (a == 255) {
            ++kept;
            EXPECT_EQ(img.rgba[i], 255);  // edge pixels are as white as the middle
        }
    }
    // Kept area matches the ellipse's area to within its rim.
    EXPECT_NEAR(kept, 3.14159 * 11.3 * 9.7, 2 * 3.14159 * 11);
}

TEST(Resolve, TranslucentPaintKeepsItsAlphaAndInnerEdgesBlend) {
    Canvas c = make_canvas(8, 1, 8, 1);
    fill(c, rect(0, 0, 8, 1), Rgba{0, 0, 1, 0.6f});
    fill(c, rect(4.5f, 0, 8, 1), Rgba{1, 0, 0, 1}, Blend::Over);
    const Image img = resolve(c);
    EXPECT_NEAR(alpha_at(img, 0, 0), 153, 1);
    EXPECT_EQ(alpha_at(img, 7, 0), 255);
    // Pixel 4 is half blue glass, half red paint: a blend of both, not either alone.
    const uint8_t* p = &img.rgba[4 * 4];
    EXPECT_GT(p[0], 60);
    EXPECT_GT(p[2], 20);
}

TEST(Fill, AtopOnlyPaintsWhereThereIsAlreadyPaint) {
    Canvas c = make_canvas(8, 8, 8, 8);
    fill(c, rect(0, 0, 4, 8), kWhite);
    fill(c, rect(2, 2, 8, 6), Rgba{1, 0, 0, 1}, Blend::Atop);
    const Image img = resolve(c);
    EXPECT_EQ(alpha_at(img, 6, 4), 0);            // red did not spill past the white
    EXPECT_EQ(img.rgba[(4 * 8 + 3) * 4 + 1], 0);  // but did cover it
    EXPECT_EQ(alpha_at(img, 3, 4), 255);
}

TEST(DistanceField, MatchesBruteForce) {
    Mask m;
    m.width = 37;
    m.height = 23;
    m.v.assign(static_cast<size_t>(m.width) * m.height, 0);
    Rng rng{5};
    for (float& v : m.v) v = next_float(rng) < 0.04f ? 1.0f : 0.0f;
    const std::vector<float> d = distance_field(m);
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            double best = 1e9;
            for (int j = 0; j < m.height; ++j)
                for (int i = 0; i < m.width; ++i)
                    if (m.v[static_cast<size_t>(j) * m.width + i] >= 0.5f)
                        best = std::min(best, std::hypot(double(i - x), double(j - y)));
            ASSERT_NEAR(d[static_cast<size_t>(y) * m.width + x], best, 1e-3) << x << "," << y;
        }
}

TEST(Lettering, CentredTextLandsOnItsCentre) {
    const Font font = load_font(ARTGEN_FONT_DIR "/DejaVuSans-Bold.ttf");
    ASSERT_TRUE(loaded(font));
    Canvas c = make_canvas(120, 40, 120, 40);
    Mask m = empty_mask(c);
    add_text_centred(m, c, font, "EXIT", 20, 0, {70, 18});
    int x0 = m.width, x1 = -1, y0 = m.height, y1 = -1;
    for (int i = 0; i < m.width * m.height; ++i)
        if (m.v[i] >= 0.5f) {
            x0 = std::min(x0, i % m.width);
            x1 = std::max(x1, i % m.width);
            y0 = std::min(y0, i / m.width);
            y1 = std::max(y1, i / m.width);
        }
    ASSERT_GE(x1, 0);
    const float k = static_cast<float>(c.ss);
    EXPECT_NEAR((x0 + x1 + 1) / 2.0f / k, 70, 0.75);
    EXPECT_NEAR((y0 + y1 + 1) / 2.0f / k, 18, 0.75);
    EXPECT_NEAR((y1 + 1 - y0) / k, 20, 1.0);  // capitals are the requested height
}
