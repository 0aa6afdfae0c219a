// The menu and heads-up pictures, drawn unscaled on the 640 x 480 screen.
#include <algorithm>
#include <cmath>
#include <string>

#include "aircraft_parts.h"
#include "art.h"

namespace {

struct TextStyle {
    Paint face;
    Rgba outline;
    float outline_px;
    Vec2 shadow_px;  // drop shadow offset; the shadow is half transparent
};

// Lettering with an outline grown around it and a drop shadow beneath, all on one canvas
// whose drawing units are pixels.
void lettering(Canvas& c, const Font& font, const std::string& text, float cap, float tracking,
               Vec2 centre, const TextStyle& style) {
    Mask glyphs = empty_mask(c);
    add_text_centred(glyphs, c, font, text, cap, tracking, centre);
    const Mask rim = grown(glyphs, style.outline_px * c.ss);
    const Mask shadow = shifted(rim, static_cast<int>(std::lround(style.shadow_px.x * c.ss)),
                                static_cast<int>(std::lround(style.shadow_px.y * c.ss)));
    fill(c, shadow, [](Vec2) { return Rgba{0.02f, 0.02f, 0.05f, 0.6f}; });
    fill(c, rim, [&](Vec2) { return style.outline; });
    fill(c, glyphs, style.face);
}

// Pale lettering with a dark navy rim: menu entries and the score digits share it.
TextStyle menu_style(float top, float bottom) {
    return {[=](Vec2 p) {
                const float t = clamp01((p.y - top) / (bottom - top));
                return mix(rgb(255, 255, 255), rgb(182, 200, 226), t * t);
            },
            rgb(16, 26, 58),
            2.2f,
            {2, 2}};
}

}  // namespace

Image draw_title(const Fonts& fonts) {
    const int w = 400, h = 80;
    Canvas c = make_canvas(w, h, w, h);
    const float cap = 54, top = 40 - cap / 2, bottom = 40 + cap / 2;
    const TextStyle gold{[=](Vec2 p) {
                             // Polished gold: bright upper band, a sharp horizon line,
                             // deeper amber below.
                             const float t = clamp01((p.y - top) / (bottom - top));
                             if (t < 0.48f)
                                 return mix(rgb(255, 248, 190), rgb(250, 205, 70), t / 0.48f);
                             return mix(rgb(214, 140, 24), rgb(150, 80, 14), (t - 0.48f) / 0.52f);
                         },
                         rgb(44, 20, 6),
                         3.2f,
                         {3, 4}};
    lettering(c, fonts.bold_oblique, "Marvaze", cap, 1, {w / 2.0f - 2, h / 2.0f - 2}, gold);
    return resolve(c);
}

Image draw_entry(const Fonts& fonts, const std::string& text) {
    const float cap = 20, tracking = 0.5f, margin = 7;
    Canvas probe = make_canvas(8, 8, 8, 8);
    const TextBox box = measure_text(fonts.bold, text, cap, tracking, probe);
    const int w = static_cast<int>(std::ceil(box.x1 - box.x0 + 2 * margin));
    const int h = 40;
    Canvas c = make_canvas(w, h, static_cast<float>(w), static_cast<float>(h));
    lettering(c, fonts.bold, text, cap, tracking, {w / 2.0f - 1, h / 2.0f - 1},
              menu_style(h / 2.0f - cap / 2, h / 2.0f + cap / 2));
    return resolve(c);
}

Image draw_digit(const Fonts& fonts, int digit) {
    const int w = 28, h = 32;
    Canvas c = make_canvas(w, h, w, h);
    const float cap = 24;
    lettering(c, fonts.bold, std::to_string(digit), cap, 0, {w / 2.0f - 1, h / 2.0f - 1},
              menu_style(h / 2.0f - cap / 2, h / 2.0f + cap / 2));
    return resolve(c);
}

Image draw_cursor() {
    // Gold corner brackets around the entry, open inside so the entry stays readable.
    const int w = 240, h = 46;
    Canvas c = make_canvas(w, h, w, h);
    const float x0 = 5, y0 = 4, x1 = w - 5.0f, y1 = h - 4.0f, arm = 18, t = 3.2f;
    std::vector<Polygon> marks;
    for (int sx : {0, 1})
        for (int sy : {0, 1}) {
            const float x = sx ? x1 : x0, y = sy ? y1 : y0;
            const float dx = sx ? -1.0f : 1.0f, dy = sy ? -1.0f : 1.0f;
            marks.push_back(capsule({x, y}, {x + dx * arm, y}, t));
            marks.push_back(capsule({x, y}, {x, y + dy * arm * 0.7f}, t));
        }
    const float mid = h / 2.0f;
    Mask shape = empty_mask(c);
    for (const Polygon& m : marks) add_shape(shape, c, {m});
    fill(c, grown(shape, 1.6f * c.ss), [](Vec2) { return rgb(40, 24, 6); });
    fill(c, shape, [&](Vec2 p) {
        const float k = clamp01(std::abs(p.y - mid) / mid);
        return mix(rgb(255, 236, 130), rgb(235, 160, 30), k);
    });
    return resolve(c);
}

// A gold-rimmed badge with the player's fighter climbing across it, `size` pixels square.
Image draw_badge(int size) {
    const float k = size / 48.0f;
    Canvas c = make_canvas(size, size, size, size);
    const Vec2 centre{24 * k, 24 * k};
    fill(c, ellipse(centre, 21.5f * k, 21.5f * k, 64), rgb(40, 24, 6));
    fill(c, ellipse(centre, 20 * k, 20 * k, 64), [k](Vec2 p) {
        return mix(rgb(255, 230, 120), rgb(200, 130, 20), clamp01((p.y / k - 4) / 40));
    });
    fill(c, ellipse(centre, 16.5f * k, 16.5f * k, 64), [k](Vec2 p) {
        return mix(rgb(190, 220, 245), rgb(95, 150, 210), clamp01((p.y / k - 8) / 32));
    });
    // The fighter goes on its own layer: its markings clip to what is under them.
    Canvas plane = make_canvas(size, size, size, size);
    set_view(plane,
             compose(translation(24 * k, 25 * k),
                     compose(rotation(0.32f), compose(scaling(44.0f * k / 198, 44.0f * k / 198),
                                                      translation(-99, -40)))));
    paint_raiden(plane, true);
    composite(c, plane);
    return resolve(c);
}

Image draw_life() { return draw_badge(48); }

Image draw_reticle() {
    const int size = 32;
    Canvas c = make_canvas(size, size, size, size);
    const Vec2 m{16, 16};
    Mask shape = empty_mask(c);
    add_shape(shape, c, {ellipse(m, 11.5f, 11.5f, 64), ellipse(m, 9.5f, 9.5f, 64)});
    add_shape(shape, c,
              {rect(15, 1.5f, 17, 9), rect(15, 23, 17, 30.5f), rect(1.5f, 15, 9, 17),
               rect(23, 15, 30.5f, 17)});
    add_shape(shape, c, {ellipse(m, 1.6f, 1.6f, 16)});
    fill(c, grown(shape, 1.2f * c.ss), [](Vec2) { return rgb(10, 30, 10); });
    fill(c, shape, [](Vec2) { return rgb(120, 255, 120); });
    return resolve(c);
}
