// A two-seat dive bomber: deep radial cowling, a long framed greenhouse over two crew, broad
// wing with perforated dive flaps, in the three-blue sea scheme.
#include "aircraft_parts.h"
#include "art.h"
#include "us_livery.h"

Image draw_dauntless() {
    Canvas c = make_canvas(104, 40, 258, 100);
    const Body body = make_body(
        {{16, 35}, {30, 32.5f}, {50, 31.5f}, {70, 32}, {150, 33}, {190, 38}, {230, 43}, {253, 45}},
        {{16, 65}, {30, 68}, {55, 70}, {90, 69.5f}, {130, 64}, {180, 56}, {230, 50}, {253, 47.5f}});
    auto scheme = [](Vec2, float t) {
        if (t < 0.3f) return kSeaBlue;
        return t < 0.78f ? kMidBlue : kBelly;
    };

    fill(c,
         smooth_open({{192, 40}, {212, 26}, {226, 12}, {238, 8}, {249, 10}, {254, 22}, {255, 47}}),
         panel_paint(kMidBlue, scaled(kMidBlue, 0.8f), {230, 8}, {230, 46}));
    stroke(c, {{244, 12}, {246, 46}}, 1.4f, scaled(kSeaBlue, 0.7f));
    fill(c, body.outline, body_paint(body, scheme, 0.06f));
    stroke(c, {{52, 31}, {52, 70}}, 1.4f, rgb(25, 30, 45));  // cowl ring
    stroke(c, {{160, 34}, {160, 62}}, 1.0f, rgb(30, 40, 60));
    fill(c, ellipse({17.5f, 50}, 3.5f, 11), rgb(25, 25, 28));
    star_and_bars(c, {196, 45}, 7.5f, true);

    // The long greenhouse: pilot forward, gunner aft facing the tail with twin guns.
    const Polygon canopy =
        smooth_open({{68, 33}, {73, 23}, {82, 19.5f}, {120, 19}, {146, 20}, {153, 25}, {160, 34}});
    fill(c, joined(canopy, {{160, 36}, {68, 36}}), glass_paint(19, 33));
    fill(c, ellipse({94, 25}, 3.6f, 4), rgb(70, 55, 40), Blend::Atop);
    fill(c, ellipse({134, 25}, 3.6f, 4), rgb(70, 55, 40), Blend::Atop);
    for (float x : {82.0f, 96.0f, 108.0f, 120.0f, 132.0f, 144.0f})
        stroke(c, {{x, 17}, {x, 33}}, 1.2f, scaled(kSeaBlue, 0.9f));
    stroke(c, canopy, 1.1f, scaled(kSeaBlue, 0.9f));
    stroke(c, {{144, 24}, {172, 16.5f}}, 2.6f, rgb(40, 40, 40), Blend::Over);

    // Near tailplane and wing with its perforated dive flap along the trailing edge.
    fill(c, smooth_closed({{212, 48}, {232, 46.5f}, {255, 48}, {251, 57}, {236, 59}, {220, 54}}),
         panel_paint(kSeaBlue, scaled(kSeaBlue, 0.8f), {212, 47}, {236, 59}));
    const Polygon wing = smooth_closed({{54, 62},
                                        {80, 58.5f},
                                        {128, 59},
                                        {146, 62},
                                        {138, 78},
                                        {126, 86},
                                        {106, 88},
                                        {92, 85},
                                        {72, 72}});
    fill(c, wing,
         panel_paint(scaled(kSeaBlue, 1.15f), scaled(kSeaBlue, 0.85f), {90, 59}, {100, 88}));
    fill(c, smooth_closed({{128, 60}, {146, 62}, {140, 76}, {130, 83}, {124, 79}, {130, 66}}),
         scaled(kSeaBlue, 0.75f), Blend::Atop);
    for (int i = 0; i < 5; ++i)
        fill(c, ellipse({134.5f - i * 1.5f, 64.0f + i * 3.6f}, 1.2f, 1.1f), rgb(20, 25, 35),
             Blend::Atop);
    star_and_bars(c, {110, 77}, 5.5f, false);

    fill(c, smooth_closed({{6, 50}, {10, 45.5f}, {17, 44}, {17, 56}, {10, 54.5f}}),
         rgb(50, 50, 55));
    propeller(c, {14, 50}, 38, 2.6f, kPropBlack);
    return resolve(c);
}
