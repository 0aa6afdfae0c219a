// A sleek late-war fighter in bare metal: pointed spinner, bubble canopy, tall fin and the
// radiator scoop under the belly.
#include "aircraft_parts.h"
#include "art.h"
#include "us_livery.h"

Image draw_mustang() {
    Canvas c = make_canvas(94, 46, 234, 116);
    const Body body =
        make_body({{13, 47}, {30, 44}, {60, 43}, {90, 43}, {130, 45}, {180, 49}, {229, 52}},
                  {{13, 59}, {30, 62}, {60, 63}, {100, 63}, {140, 61}, {180, 56.5f}, {229, 54}});
    const Rgba line = rgb(110, 115, 122);

    fill(c,
         smooth_open({{170, 49},
                      {190, 40},
                      {200, 26},
                      {208, 15},
                      {215, 12},
                      {222, 13},
                      {227, 22},
                      {230, 38},
                      {230, 53}}),
         panel_paint(kMetal, scaled(kMetal, 0.78f), {210, 12}, {210, 52}));
    stroke(c, {{218, 16}, {221, 52}}, 1.2f, line);
    // Belly scoop: intake lip forward, fairing back into the fuselage.
    fill(c, smooth_open({{122, 60}, {128, 71}, {148, 72.5f}, {166, 70}, {182, 60}, {184, 55}}),
         [](Vec2 p) { return lit(kMetal, clamp01((p.y - 58) / 16), 0.3f); });
    fill(c, smooth_closed({{125, 62}, {129, 61.5f}, {130, 70}, {127, 70}}), rgb(30, 32, 36));
    fill(c, body.outline,
         body_paint(
             body, [](Vec2, float) { return kMetal; }, 0.42f));
    fill(
        c, body.outline,
        [&](Vec2 p) {  // anti-glare panel ahead of the windscreen
            return p.x > 14 && p.x < 86 && p.y < at(body.top, p.x) + 3.5f ? kOliveDrab
                                                                          : Rgba{0, 0, 0, 0};
        },
        Blend::Atop);
    for (float x : {40.0f, 86.0f, 150.0f}) stroke(c, {{x, 40}, {x, 64}}, 0.8f, line);
    for (int i = 0; i < 3; ++i)
        fill(c, capsule({24.0f + i * 5, 49}, {27.0f + i * 5, 49}, 2.2f), rgb(55, 45, 40),
             Blend::Atop);
    star_and_bars(c, {168, 52}, 6, true);

    const Polygon canopy =
        smooth_open({{84, 44}, {89, 37}, {97, 33}, {109, 32.5f}, {120, 35.5f}, {128, 44}});
    fill(c, joined(canopy, {{128, 46}, {84, 46}}), glass_paint(32.5f, 44));
    fill(c, ellipse({106, 38}, 3.4f, 3.7f), rgb(70, 55, 40), Blend::Atop);
    stroke(c, {{92, 33}, {94, 44}}, 1.1f, line);
    stroke(c, canopy, 0.8f, line);

    fill(c, smooth_closed({{188, 53}, {208, 51.5f}, {231, 53}, {227, 62}, {214, 63}, {198, 59}}),
         panel_paint(kMetal, scaled(kMetal, 0.72f), {188, 52}, {214, 63}));
    const Polygon wing = smooth_closed({{60, 60},
                                        {78, 57.5f},
                                        {110, 58},
                                        {122, 60.5f},
                                        {113, 73},
                                        {104, 80},
                                        {92, 81},
                                        {82, 76},
                                        {70, 67}});
    fill(c, wing, panel_paint(scaled(kMetal, 1.12f), scaled(kMetal, 0.78f), {90, 58}, {92, 81}));
    stroke(c, {{112, 61}, {106, 74}}, 0.8f, line);
    star_and_bars(c, {94, 71}, 4.5f, false);

    fill(c, smooth_closed({{1, 53}, {7, 49}, {14, 47}, {14, 59}, {7, 57}}),
         [](Vec2 p) { return lit(rgb(200, 40, 40), clamp01((p.y - 47) / 12), 0.2f); });
    propeller(c, {12, 53}, 37, 2.4f, kPropBlack);
    return resolve(c);
}
