// A gull-winged fighter: very long nose, cockpit set far back, the wing dropping steeply from
// the root to a knee before running out level; glossy dark blue all over.
#include "aircraft_parts.h"
#include "art.h"
#include "us_livery.h"

Image draw_corsair() {
    Canvas c = make_canvas(80, 32, 200, 80);
    const Body body = make_body(
        {{12, 28}, {25, 25.5f}, {50, 24.5f}, {90, 25}, {130, 27.5f}, {165, 33}, {196, 37}},
        {{12, 52}, {25, 55}, {60, 56}, {100, 54}, {140, 48}, {170, 44}, {196, 41}});

    fill(c,
         smooth_open(
             {{160, 33}, {172, 22}, {179, 12}, {187, 8.5f}, {194, 11}, {197, 24}, {197, 39}}),
         panel_paint(kGlossBlue, scaled(kGlossBlue, 0.8f), {185, 9}, {185, 38}));
    stroke(c, {{189, 12}, {190, 38}}, 1.1f, scaled(kGlossBlue, 0.6f));
    fill(c, body.outline,
         body_paint(
             body, [](Vec2, float) { return kGlossBlue; }, 0.28f));
    stroke(c, {{44, 25}, {44, 56}}, 0.9f, rgb(15, 20, 35));  // cowl flaps
    fill(c, ellipse({13.5f, 40}, 3, 10), rgb(20, 20, 24));
    for (int i = 0; i < 2; ++i)  // exhaust stains
        fill(c, capsule({47.0f + i * 5, 45}, {60.0f + i * 5, 46}, 2.0f), rgb(40, 40, 45),
             Blend::Atop);
    star_and_bars(c, {150, 38}, 6.5f, true);

    const Polygon canopy =
        smooth_open({{94, 26}, {99, 19}, {107, 15.5f}, {119, 15.5f}, {127, 19}, {136, 27.5f}});
    fill(c, joined(canopy, {{136, 30}, {94, 30}}), glass_paint(15.5f, 27));
    fill(c, ellipse({114, 20.5f}, 3.2f, 3.5f), rgb(70, 55, 40), Blend::Atop);
    stroke(c, {{101, 15}, {104, 27}}, 1.1f, scaled(kGlossBlue, 0.9f));
    stroke(c, canopy, 0.9f, scaled(kGlossBlue, 0.9f));

    fill(c, smooth_closed({{166, 40}, {180, 39}, {198, 40.5f}, {194, 48}, {184, 49.5f}, {174, 46}}),
         panel_paint(kGlossBlue, scaled(kGlossBlue, 0.7f), {166, 40}, {184, 49}));
    // The inverted gull: short inner panel dropping to the knee, long outer panel rising.
    const Polygon wing = smooth_closed({{50, 51},
                                        {64, 49},
                                        {96, 50},
                                        {108, 53},
                                        {112, 64},
                                        {108, 68},
                                        {102, 66},
                                        {92, 62},
                                        {82, 64},
                                        {70, 67},
                                        {62, 69},
                                        {56, 64}},
                                       6);
    fill(c, wing,
         panel_paint(scaled(kGlossBlue, 1.35f), scaled(kGlossBlue, 0.8f), {80, 50}, {80, 69}));
    stroke(c, {{56, 64}, {62, 69}, {70, 67}, {82, 64}, {92, 62}, {102, 66}, {108, 68}}, 1.3f,
           rgb(15, 20, 32));
    fill(c, smooth_closed({{50, 51}, {58, 49.5f}, {60, 53}, {54, 54}}), rgb(200, 200, 205),
         Blend::Atop);  // root intake
    star_and_bars(c, {90, 57}, 4.0f, false);

    fill(c, ellipse({9, 40}, 4, 4.5f), rgb(60, 60, 60));
    propeller(c, {10, 40}, 38, 2.4f, kPropBlack);
    return resolve(c);
}
