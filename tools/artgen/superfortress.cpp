// The four-engine heavy bomber in bare metal: a long tube with a fully glazed round nose, a tall
// fin with a long dorsal fillet and, seen a little from above, the near wing dropping below the
// fuselage with two engines while the far wing's two show over the spine.
#include <cmath>

#include "aircraft_parts.h"
#include "art.h"
#include "us_livery.h"

namespace {

const Rgba kLine = rgb(115, 120, 128);

// An engine nacelle from its cowl front back over the wing, with the propeller ahead of it.
void nacelle(Canvas& c, Vec2 front, float length, float radius, bool far_side) {
    const Body n = make_body({{front.x, front.y - radius * 0.9f},
                              {front.x + radius, front.y - radius},
                              {front.x + length * 0.6f, front.y - radius * 0.9f},
                              {front.x + length, front.y - radius * 0.3f}},
                             {{front.x, front.y + radius * 0.9f},
                              {front.x + radius, front.y + radius},
                              {front.x + length * 0.6f, front.y + radius * 0.8f},
                              {front.x + length, front.y}});
    fill(c, n.outline,
         body_paint(
             n, [](Vec2, float) { return kMetal; }, 0.35f));
    fill(c, ellipse({front.x + 6, front.y}, 12, radius * 0.82f), rgb(40, 42, 46));
    stroke(
        c,
        {{front.x + radius * 1.3f, front.y - radius}, {front.x + radius * 1.3f, front.y + radius}},
        4, kLine);
    fill(c,
         capsule({front.x + radius * 1.6f, front.y + radius * 0.35f},
                 {front.x + radius * 2.6f, front.y + radius * 0.45f}, 9),
         rgb(70, 60, 55), Blend::Atop);                                  // exhaust stain
    fill(c, ellipse({front.x - 10, front.y}, 16, 14), rgb(60, 60, 62));  // hub
    propeller(c, {front.x - 8, front.y}, far_side ? 80 : 92, 11, rgb(95, 95, 98));
}

}  // namespace

Image draw_superfortress() {
    Canvas c = make_canvas(700, 190, 1836, 498);
    const Body body = make_body({{28, 282},
                                 {45, 246},
                                 {80, 218},
                                 {140, 201},
                                 {220, 196},
                                 {1200, 196},
                                 {1450, 202},
                                 {1650, 216},
                                 {1790, 238}},
                                {{28, 282},
                                 {45, 316},
                                 {80, 340},
                                 {140, 352},
                                 {220, 355},
                                 {1100, 355},
                                 {1300, 346},
                                 {1500, 320},
                                 {1650, 290},
                                 {1790, 262}});

    // Far wing and its two engines, rising behind the spine.
    fill(c,
         smooth_closed({{700, 262},
                        {1010, 262},
                        {1090, 150},
                        {1085, 124},
                        {1050, 114},
                        {1010, 118},
                        {900, 180}}),
         panel_paint(scaled(kMetal, 0.95f), scaled(kMetal, 0.72f), {900, 262}, {1050, 114}));
    nacelle(c, {700, 168}, 360, 34, true);
    nacelle(c, {610, 210}, 400, 38, true);

    // Fin with the long fillet, then the fuselage over it.
    fill(c,
         smooth_open({{1260, 200},
                      {1420, 180},
                      {1520, 124},
                      {1600, 50},
                      {1640, 22},
                      {1690, 14},
                      {1730, 26},
                      {1748, 80},
                      {1762, 180},
                      {1778, 250}}),
         panel_paint(kMetal, scaled(kMetal, 0.8f), {1650, 14}, {1650, 240}));
    fill(c, smooth_closed({{1560, 120}, {1640, 40}, {1700, 40}, {1700, 120}}, 2), rgb(25, 25, 28),
         Blend::Atop);  // group marking
    fill(c, star({1660, 84}, 26, 11), rgb(235, 235, 235), Blend::Atop);
    stroke(c, {{1712, 26}, {1738, 240}}, 4, kLine);
    fill(c, body.outline,
         body_paint(
             body, [](Vec2, float) { return kMetal; }, 0.4f));
    for (float x : {260.0f, 420.0f, 620.0f, 1010.0f, 1250.0f, 1460.0f})
        stroke(c, {{x, 190}, {x, 360}}, 3, kLine);
    stroke(c, smooth_open({{220, 276}, {800, 276}, {1400, 268}, {1780, 252}}), 2.5f, kLine);

    // Glazed nose: glass over the whole front with a lattice of frames.
    fill(
        c, body.outline,
        [&](Vec2 p) {
            return p.x < 190 ? glass_paint(200, 350)(p) : Rgba{0, 0, 0, 0};
        },
        Blend::Atop);
    for (float x : {60.0f, 100.0f, 145.0f, 190.0f}) {
        const float top = at(body.top, x), bottom = at(body.bottom, x);
        stroke(c, smooth_open({{x, top}, {x - 8, (top + bottom) / 2}, {x, bottom}}), 4, kLine);
    }
    for (float y : {222.0f, 250.0f, 282.0f, 316.0f})
        stroke(c, {{30, y + (y - 282) * 0.3f}, {190, y + (y - 282) * 0.05f}}, 3.5f, kLine);

    // Turrets, sighting blisters and the tail gunner's glazing.
    for (float x : {400.0f, 1120.0f})
        fill(c, smooth_closed({{x - 40, 200}, {x - 25, 178}, {x + 25, 176}, {x + 40, 200}}),
             [](Vec2 p) { return lit(kMetal, clamp01((p.y - 176) / 30), 0.5f); });
    for (float x : {470.0f, 1160.0f})
        fill(c, smooth_closed({{x - 35, 350}, {x + 35, 350}, {x + 25, 374}, {x - 25, 376}}),
             [](Vec2 p) { return lit(kMetal, clamp01((p.y - 350) / 26), 0.3f); });
    fill(c, ellipse({1235, 255}, 26, 22), glass_paint(233, 277));
    fill(c, smooth_closed({{1745, 236}, {1790, 240}, {1800, 252}, {1790, 263}, {1748, 268}}),
         glass_paint(236, 268));
    star_and_bars(c, {1340, 282}, 40, true);

    // Tailplane and the near wing with its two engines, drawn over the fuselage.
    fill(c,
         smooth_closed({{1480, 282},
                        {1620, 276},
                        {1780, 276},
                        {1760, 322},
                        {1700, 350},
                        {1620, 352},
                        {1560, 320}}),
         panel_paint(kMetal, scaled(kMetal, 0.78f), {1500, 280}, {1660, 352}));
    fill(c,
         smooth_closed({{660, 300},
                        {840, 293},
                        {1040, 300},
                        {1035, 380},
                        {1010, 455},
                        {950, 478},
                        {880, 470},
                        {800, 400}}),
         panel_paint(scaled(kMetal, 1.12f), scaled(kMetal, 0.8f), {820, 295}, {930, 478}));
    stroke(c, smooth_open({{1035, 312}, {1025, 390}, {1000, 455}}), 4, kLine);  // flaps
    star_and_bars(c, {930, 420}, 24, false);
    nacelle(c, {560, 330}, 480, 44, false);
    nacelle(c, {640, 382}, 440, 42, false);
    return resolve(c);
}
