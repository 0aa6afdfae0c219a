// The home side's fighter: a stubby radial-engine interceptor in dark green over grey,
// with red discs. The player's own machine adds a white fuselage band and a yellow fin tip.
#include "aircraft_parts.h"
#include "art.h"

namespace {

const Rgba kGreen = rgb(64, 84, 48), kUnder = rgb(172, 174, 160), kCowl = rgb(38, 38, 40);
const Rgba kYellow = rgb(235, 185, 40);

}  // namespace

void paint_raiden(Canvas& c, bool player) {
    const Body body = make_body({{15, 31},
                                 {22, 28},
                                 {34, 25.5f},
                                 {50, 24},
                                 {62, 23.5f},
                                 {100, 25},
                                 {130, 29},
                                 {160, 33.5f},
                                 {186, 36},
                                 {193, 37.5f}},
                                {{15, 48},
                                 {22, 51},
                                 {36, 54.5f},
                                 {56, 56},
                                 {80, 55.5f},
                                 {105, 52},
                                 {135, 47},
                                 {165, 43},
                                 {186, 41},
                                 {193, 39.5f}});

    // Fin and rudder, behind the fuselage.
    const Polygon fin = smooth_open(
        {{150, 34}, {168, 24}, {176, 12}, {182, 8}, {189, 9}, {192, 14}, {193, 26}, {193, 38}});
    fill(c, fin, panel_paint(kGreen, scaled(kGreen, 0.8f), {170, 8}, {170, 36}));
    if (player) fill(c, rect(170, 6, 196, 15), kYellow, Blend::Atop);
    stroke(c, {{185, 14}, {187, 36}}, 1.2f, scaled(kGreen, 0.6f));

    fill(c, body.outline,
         body_paint(
             body,
             [](Vec2 p, float t) {
                 if (p.x < 47) return kCowl;
                 return t < 0.56f ? kGreen : kUnder;
             },
             0.08f));
    // Cowling joint, exhaust stubs and panel seams.
    stroke(c, {{47, 24}, {47, 57}}, 1.0f, rgb(20, 20, 20));
    for (int i = 0; i < 3; ++i)
        fill(c,
             capsule({49.5f + i * 3.5f, 44.0f + i * 0.5f}, {52.5f + i * 3.5f, 44.5f + i * 0.5f},
                     2.0f),
             rgb(60, 40, 30), Blend::Atop);
    stroke(c, {{104, 25}, {104, 53}}, 0.8f, rgb(30, 40, 25));
    stroke(c, {{150, 32}, {150, 45}}, 0.8f, rgb(30, 40, 25));
    fill(c, ellipse({16.5f, 39.5f}, 3.2f, 8.0f), rgb(25, 25, 25));  // cowl opening

    if (player) fill(c, rect(140, 20, 148, 50), rgb(240, 240, 235), Blend::Atop);
    hinomaru(c, {124, 38}, 8.5f, true);

    // Canopy: windscreen, sliding hood and the pilot's head behind the glass.
    const Polygon canopy = smooth_open(
        {{63, 25}, {67, 19}, {74, 15.5f}, {86, 14.5f}, {95, 16.5f}, {104, 21}, {113, 26}});
    fill(c, joined(canopy, {{113, 28}, {63, 28}}), glass_paint(14.5f, 26));
    fill(c, ellipse({85, 20}, 3.2f, 3.6f), rgb(70, 55, 40), Blend::Atop);
    for (float x : {74.0f, 88.0f, 97.0f})
        stroke(c, {{x, 13}, {x + 1.5f, 26}}, 1.1f, scaled(kGreen, 0.7f));
    stroke(c, canopy, 0.9f, scaled(kGreen, 0.7f));

    // Near tailplane and wing, seen a little from above so their top faces show.
    fill(c, smooth_closed({{165, 39}, {178, 38}, {194, 39.5f}, {191, 46}, {181, 47.5f}, {171, 44}}),
         panel_paint(kGreen, scaled(kGreen, 0.75f), {165, 39}, {181, 47}));
    const Polygon wing = smooth_closed({{56, 51},
                                        {70, 48.5f},
                                        {96, 49},
                                        {110, 51.5f},
                                        {100, 65},
                                        {86, 67.5f},
                                        {74, 66.5f},
                                        {62, 58}});
    fill(c, wing, panel_paint(scaled(kGreen, 1.1f), scaled(kGreen, 0.75f), {80, 49}, {86, 67}));
    fill(c, smooth_closed({{56, 51}, {63, 49.5f}, {74, 56}, {76, 60}, {70, 59}, {60, 55}}), kYellow,
         Blend::Atop);  // recognition strip on the leading edge
    hinomaru(c, {91, 59}, 5.0f, false);
    stroke(c, {{100, 52}, {96, 64}}, 0.8f, scaled(kGreen, 0.6f));  // aileron hinge

    // Spinner and propeller.
    fill(c,
         smooth_closed(
             {{3, 40}, {7, 35.5f}, {12, 33.5f}, {17, 34}, {17, 45.5f}, {12, 46}, {7, 44.5f}}),
         body_paint(
             body, [](Vec2, float) { return rgb(140, 75, 45); }, 0.1f));
    propeller(c, {14, 40}, player ? 34.0f : 36.0f, 2.4f, rgb(110, 85, 60));
}

Image draw_raiden(bool player) {
    // The player's quad is 196 x 74 world units, a wingman's 198 x 78; both use one drawing.
    Canvas c = player ? make_canvas(78, 30, 198, 78) : make_canvas(80, 32, 198, 78);
    paint_raiden(c, player);
    return resolve(c);
}
