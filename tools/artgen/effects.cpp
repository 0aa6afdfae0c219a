// Tracer rounds and the frames of an explosion.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "art.h"
#include "noise.h"

Image draw_tracer() {
    Canvas c = make_canvas(8, 8, 1, 1);
    fill(c, ellipse({0.5f, 0.5f}, 0.47f, 0.47f), [](Vec2 p) {
        const float r = std::hypot(p.x - 0.5f, p.y - 0.5f) / 0.47f;
        return mix(rgb(255, 255, 235), rgb(255, 190, 50), smoothstep(0.35f, 1.0f, r));
    });
    return resolve(c);
}

namespace {

struct Billow {
    Vec2 centre;
    float radius;
};

struct FireballLook {
    uint32_t seed;
    int billows;   // puffs around the core
    float spread;  // how far the puffs sit from the centre
    float heat;    // overall brightness of the fire
    float smoke;   // how much of the rim is dark smoke
};

Rgba fire_ramp(float h) {
    struct Stop {
        float at;
        Rgba c;
    };
    static const Stop stops[] = {{0.0f, rgb(38, 32, 30)},    {0.18f, rgb(72, 50, 40)},
                                 {0.32f, rgb(150, 48, 18)},  {0.48f, rgb(225, 100, 20)},
                                 {0.66f, rgb(250, 170, 40)}, {0.82f, rgb(255, 225, 110)},
                                 {1.0f, rgb(255, 252, 225)}};
    h = clamp01(h);
    for (size_t i = 1; i < std::size(stops); ++i)
        if (h <= stops[i].at)
            return mix(stops[i - 1].c, stops[i].c,
                       (h - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
    return stops[std::size(stops) - 1].c;
}

// A ball of fire built from overlapping puffs with a churned outline; hot in the middle,
// smoky toward the rim. Drawing units run -1..1 across the picture.
Image fireball(int size, const FireballLook& look) {
    Canvas c = make_canvas(size, size, 2, 2);
    set_view(c, compose(scaling(size / 2.0f, size / 2.0f), translation(1, 1)));
    Rng rng{look.seed};
    std::vector<Billow> billows{{{0, 0}, 0.55f}};
    const float pi = std::numbers::pi_v<float>;
    for (int i = 0; i < look.billows; ++i) {
        const float a = 2 * pi * (i + next_range(rng, -0.3f, 0.3f)) / look.billows;
        const float d = look.spread * next_range(rng, 0.8f, 1.1f);
        billows.push_back({{d * std::cos(a), d * std::sin(a)}, next_range(rng, 0.26f, 0.36f)});
    }
    fill_all(c, [&](Vec2 p) {
        float inside = 1e9f;  // < 1 inside some puff
        for (const Billow& b : billows)
            inside = std::min(inside, std::hypot(p.x - b.centre.x, p.y - b.centre.y) / b.radius);
        const float churn = fractal_noise(p.x * 3 + 8, p.y * 3 + 8, 0, 0, 3, look.seed);
        inside += 0.5f * (churn - 0.5f);
        if (inside >= 1) return Rgba{0, 0, 0, 0};
        const float swirl = fractal_noise(p.x * 5 + 3, p.y * 5 + 3, 0, 0, 3, look.seed + 7);
        const float r = std::hypot(p.x, p.y);
        float h = look.heat * (1.05f - 0.9f * r) + 0.35f * (swirl - 0.5f);
        h -= look.smoke * smoothstep(0.45f, 1.0f, inside);
        return fire_ramp(h);
    });
    return resolve(c);
}

}  // namespace

Image draw_explosion(int frame) {
    switch (frame) {
        case 0:
            return fireball(24, {11, 5, 0.35f, 1.25f, 0.25f});
        case 1:
            return fireball(48, {23, 6, 0.45f, 1.1f, 0.45f});
        default:
            return fireball(112, {37, 8, 0.52f, 1.0f, 0.7f});
    }
}
