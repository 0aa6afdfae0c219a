// A destroyer seen beam-on, bow to the left: flush-decked grey hull with a raked bow, two
// raked funnels, a bridge with its gun director, tripod mast, torpedo tubes and five single
// enclosed gun mounts. The waterline is the bottom edge of the picture.
#include <algorithm>
#include <cmath>

#include "aircraft_parts.h"
#include "art.h"

namespace {

const Rgba kHull = rgb(118, 126, 136), kHouse = rgb(150, 157, 166);
const Rgba kDark = rgb(44, 46, 52), kShadow = rgb(70, 75, 84), kWindow = rgb(30, 36, 44);

// A flat-sided structure: lighter under its roof edge, darker toward its foot.
void block(Canvas& c, const Polygon& poly, Rgba base) {
    float top = 1e9f, bottom = -1e9f;
    for (Vec2 p : poly) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    fill(c, poly, [=](Vec2 p) {
        const float t = clamp01((p.y - top) / std::max(1.0f, bottom - top));
        return scaled(base, 1.08f - 0.2f * t);
    });
}

// An enclosed single gun mount sitting on `deck` at `x`; `aft` turns it to face the stern.
void gun_mount(Canvas& c, float x, float deck, bool aft) {
    const float s = aft ? -1.0f : 1.0f;
    auto at = [&](float dx, float dy) { return Vec2{x + s * dx, deck + dy}; };
    stroke(c, {at(-20, -28), at(-110, -36)}, 9, kDark, Blend::Over);  // barrel
    block(c,
          smooth_open({at(-38, 0), at(-36, -28), at(-20, -46), at(20, -50), at(40, -46), at(44, 0)},
                      4),
          kHouse);
    stroke(c, {at(-30, -30), at(40, -34)}, 3, kShadow);
    fill(c, rect(x - 48, deck - 6, x + 48, deck + 2), kShadow);  // the ring it trains on
}

}  // namespace

Image draw_destroyer() {
    Canvas c = make_canvas(900, 212, 2380, 560);
    const Profile deck{smooth_open({{40, 410}, {300, 430}, {700, 450}, {1200, 460}, {2335, 466}})};

    // Mast and rigging first so the superstructure stands in front of them.
    stroke(c, {{842, 450}, {842, 60}}, 10, kShadow, Blend::Over);
    stroke(c, {{890, 450}, {846, 190}}, 8, kShadow, Blend::Over);
    stroke(c, {{790, 150}, {900, 150}}, 6, kShadow, Blend::Over);
    fill(c, rect(805, 78, 880, 112), kShadow);  // air-search antenna
    for (float x = 812; x < 876; x += 12) stroke(c, {{x, 80}, {x, 110}}, 3, kHouse);

    // Hull: raked bow, flat run aft, near-upright transom; lighter at the flare, dark
    // boot-topping at the waterline and a row of scuttles forward.
    Polygon hull = smooth_open({{40, 410}, {60, 462}, {92, 515}, {132, 560}});
    hull.push_back({2322, 560});
    hull.push_back({2338, 466});
    for (auto it = deck.points.rbegin(); it != deck.points.rend(); ++it) hull.push_back(*it);
    fill(c, hull, [&](Vec2 p) {
        const float t = clamp01((p.y - at(deck, p.x)) / (560 - at(deck, p.x)));
        if (p.y > 546) return rgb(52, 40, 40);
        // Darker paint below the line of the lowest deck breaks up the hull's height.
        const Rgba base = p.y > 486 ? rgb(84, 92, 106) : kHull;
        return scaled(base, 1.12f - 0.28f * t);
    });
    stroke(c, deck.points, 4, scaled(kHull, 1.3f));
    for (float x = 160; x < 760; x += 38) fill(c, ellipse({x, at(deck, x) + 24}, 5, 5), kWindow);
    stroke(c, {{40, 410}, {20, 360}}, 4, kDark, Blend::Over);      // jackstaff
    stroke(c, {{2330, 466}, {2350, 400}}, 4, kDark, Blend::Over);  // flagstaff

    // Forward guns, the second raised on a deckhouse to fire over the first.
    gun_mount(c, 440, 437, false);
    block(c, rect(490, 398, 800, 452), kHouse);
    gun_mount(c, 560, 398, false);

    // Bridge in three tiers with the director and its radar on top.
    block(c, smooth_open({{600, 400}, {610, 352}, {830, 352}, {830, 400}}, 2), kHouse);
    block(c, smooth_open({{640, 352}, {652, 300}, {800, 300}, {806, 352}}, 2), kHouse);
    fill(c, rect(655, 312, 795, 326), kWindow);
    for (float x = 670; x < 795; x += 22) stroke(c, {{x, 312}, {x, 326}}, 3, kHouse);
    block(c, smooth_open({{690, 300}, {698, 262}, {770, 258}, {778, 300}}, 2), kHouse);
    fill(c, rect(700, 228, 768, 256), kShadow);
    for (float x = 706; x < 768; x += 10) stroke(c, {{x, 230}, {x, 254}}, 2.5f, kHouse);
    stroke(c, {{600, 352}, {830, 352}}, 3, kShadow);

    // Funnels, raked aft, each with a black cap.
    for (auto [x0, top] : {std::pair{905.0f, 230.0f}, std::pair{1285.0f, 248.0f}}) {
        const Polygon funnel = {{x0, 458}, {x0 + 95, 458}, {x0 + 115, top}, {x0 + 20, top}};
        fill(c, funnel, [=](Vec2 p) {  // round in section: lit on the left, shaded right
            const float lean = (458 - p.y) / (458 - top) * 20;
            const float u = clamp01((p.x - x0 - lean) / 95);
            return scaled(kHouse, 1.1f - 0.35f * u * u);
        });
        fill(c, rect(x0, top, x0 + 120, top + 18), kDark, Blend::Atop);
        stroke(c, {{x0 + 4, top + 30}, {x0 + 120, top + 30}}, 4, kShadow);
    }
    // Searchlight platform, boat and light guns between the funnels.
    block(c, rect(1010, 380, 1260, 458), kHouse);
    fill(c, smooth_closed({{1030, 378}, {1180, 374}, {1205, 356}, {1020, 360}}),
         rgb(190, 192, 186));  // whaleboat
    for (float x : {1060.0f, 1480.0f}) {
        fill(c, rect(x - 40, 350, x + 40, 380), kShadow);
        stroke(c, {{x - 10, 352}, {x - 90, 330}}, 5, kDark, Blend::Over);
        stroke(c, {{x + 10, 356}, {x - 70, 336}}, 5, kDark, Blend::Over);
    }
    // Torpedo tube mounts, five tubes seen as one long barrel bundle.
    for (float x : {1200.0f, 1500.0f}) {
        fill(c, capsule({x - 90, 440}, {x + 120, 440}, 26), kShadow);
        fill(c, rect(x - 10, 420, x + 60, 458), kHouse);
    }

    // Aft deckhouse with the third mount above it, then mounts four and five.
    block(c, rect(1640, 400, 1960, 462), kHouse);
    block(c, rect(1660, 340, 1760, 400), kHouse);
    gun_mount(c, 1850, 400, true);
    gun_mount(c, 2060, 464, true);
    gun_mount(c, 2220, 465, true);
    for (float x : {1590.0f, 1980.0f}) {  // 20 mm guns
        stroke(c, {{x, 460}, {x, 430}}, 6, kDark, Blend::Over);
        stroke(c, {{x, 432}, {x - 30, 418}}, 5, kDark, Blend::Over);
    }
    fill(c, rect(2280, 440, 2325, 466), kDark);  // depth charge racks
    return resolve(c);
}
