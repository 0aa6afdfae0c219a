// Surface tiles. The game lays each 1600-unit-wide tile 1000 units from the next, so the
// patterns repeat every 1000/1600 of the width (160 of 256 pixels): where a neighbour
// overlaps, it shows the very same texels and the join cannot be seen. Across, the repeat is
// 64 pixels for the same reason. Contrast is low because the tiles are seen at a grazing angle
// with no mipmaps.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "noise.h"

namespace {

constexpr int kW = 256, kH = 96, kRepeatX = 160, kRepeatY = 64;

Image tile(const Paint& paint) {
    Canvas c = make_canvas(kW, kH, kW, kH, 2);
    fill_all(c, paint);
    return resolve(c);
}

// Repeating noise sampled with lattice cells of cw x ch pixels (both dividing the repeat).
float repeating(Vec2 p, int cw, int ch, int octaves, uint32_t seed) {
    return fractal_noise(p.x / cw, p.y / ch, kRepeatX / cw, kRepeatY / ch, octaves, seed);
}

}  // namespace

Image draw_sea() {
    return tile([](Vec2 p) {
        const float swell = repeating(p, 40, 32, 3, 3);
        const float streak = repeating(p, 32, 4, 2, 5);
        Rgba c = mix(rgb(36, 88, 136), rgb(50, 108, 156), swell);
        const float crest = smoothstep(0.62f, 0.8f, streak);
        return mix(c, rgb(120, 160, 190), 0.35f * crest);
    });
}

Image draw_ground() {
    // Fields: cells of a repeating jittered grid, each with its own crop colour, hedges between.
    struct Field {
        Vec2 seed;
        Rgba colour;
    };
    const int cols = 4, rows = 4;
    const float cw = static_cast<float>(kRepeatX) / cols, ch = static_cast<float>(kRepeatY) / rows;
    const Rgba crops[] = {rgb(92, 122, 62),  rgb(106, 132, 68), rgb(80, 110, 58),
                          rgb(122, 126, 74), rgb(138, 124, 86), rgb(112, 100, 68)};
    std::vector<Field> fields;
    Rng rng{77};
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) {
            const Vec2 s{(i + next_range(rng, 0.2f, 0.8f)) * cw,
                         (j + next_range(rng, 0.2f, 0.8f)) * ch};
            fields.push_back({s, crops[next_u32(rng) % std::size(crops)]});
        }
    return tile([fields](Vec2 p) {
        float best = 1e9f, second = 1e9f;
        Rgba colour;
        for (const Field& f : fields)
            for (int oy = -1; oy <= 1; ++oy)
                for (int ox = -1; ox <= 1; ++ox) {
                    // Chebyshev distance gives straight-edged, boxy fields.
                    const float dx = std::abs(p.x - f.seed.x - ox * kRepeatX);
                    const float dy = std::abs(p.y - f.seed.y - oy * kRepeatY) * 1.6f;
                    const float d = std::max(dx, dy);
                    if (d < best) {
                        second = best;
                        best = d;
                        colour = f.colour;
                    } else if (d < second) {
                        second = d;
                    }
                }
        const float soil = repeating(p, 20, 16, 3, 9);
        Rgba c = mix(colour, rgb(104, 116, 70), 0.35f);  // pull every crop toward one tone
        c = scaled(c, 0.94f + 0.12f * soil);
        const float hedge = 1 - smoothstep(0.6f, 1.6f, second - best);
        return mix(c, rgb(66, 86, 50), 0.4f * hedge);
    });
}
