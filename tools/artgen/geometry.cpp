#include "geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

Vec2 apply(const Affine& m, Vec2 p) {
    return {m.a * p.x + m.b * p.y + m.c, m.d * p.x + m.e * p.y + m.f};
}

Affine invert(const Affine& m) {
    const float det = m.a * m.e - m.b * m.d;
    const float ia = m.e / det, ib = -m.b / det, id = -m.d / det, ie = m.a / det;
    return {ia, ib, -(ia * m.c + ib * m.f), id, ie, -(id * m.c + ie * m.f)};
}

Affine compose(const Affine& o, const Affine& i) {
    return {o.a * i.a + o.b * i.d, o.a * i.b + o.b * i.e, o.a * i.c + o.b * i.f + o.c,
            o.d * i.a + o.e * i.d, o.d * i.b + o.e * i.e, o.d * i.c + o.e * i.f + o.f};
}

Affine scaling(float sx, float sy) { return {sx, 0, 0, 0, sy, 0}; }
Affine translation(float dx, float dy) { return {1, 0, dx, 0, 1, dy}; }
Affine rotation(float r) {
    const float c = std::cos(r), s = std::sin(r);
    return {c, -s, 0, s, c, 0};
}

Rgba rgb(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f, 1.0f}; }

Rgba mix(Rgba a, Rgba b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Rgba scaled(Rgba c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }
Rgba with_alpha(Rgba c, float a) { return {c.r, c.g, c.b, a}; }
float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float smoothstep(float e0, float e1, float x) {
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

Polygon rect(float x0, float y0, float x1, float y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

Polygon ellipse(Vec2 c, float rx, float ry, int segments) {
    return rotated_ellipse(c, rx, ry, 0, segments);
}

Polygon rotated_ellipse(Vec2 c, float rx, float ry, float radians, int segments) {
    Polygon out;
    const float cr = std::cos(radians), sr = std::sin(radians);
    for (int i = 0; i < segments; ++i) {
        const float t = 2 * std::numbers::pi_v<float> * i / segments;
        const float x = rx * std::cos(t), y = ry * std::sin(t);
        out.push_back({c.x + x * cr - y * sr, c.y + x * sr + y * cr});
    }
    return out;
}

Polygon capsule(Vec2 a, Vec2 b, float width) {
    const float r = width / 2;
    const float base = std::atan2(b.y - a.y, b.x - a.x);
    const float pi = std::numbers::pi_v<float>;
    Polygon out;
    const int half = 8;
    for (int i = 0; i <= half; ++i) {  // cap around b
        const float t = base - pi / 2 + pi * i / half;
        out.push_back({b.x + r * std::cos(t), b.y + r * std::sin(t)});
    }
    for (int i = 0; i <= half; ++i) {  // cap around a
        const float t = base + pi / 2 + pi * i / half;
        out.push_back({a.x + r * std::cos(t), a.y + r * std::sin(t)});
    }
    return out;
}

Polygon star(Vec2 c, float outer, float inner, int points) {
    Polygon out;
    const float pi = std::numbers::pi_v<float>;
    for (int i = 0; i < points * 2; ++i) {
        const float r = i % 2 == 0 ? outer : inner;
        const float t = -pi / 2 + pi * i / points;
        out.push_back({c.x + r * std::cos(t), c.y + r * std::sin(t)});
    }
    return out;
}

namespace {

Vec2 catmull_rom(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, float t) {
    const float t2 = t * t, t3 = t2 * t;
    auto axis = [&](float a, float b, float c, float d) {
        return 0.5f * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                       (-a + 3 * b - 3 * c + d) * t3);
    };
    return {axis(p0.x, p1.x, p2.x, p3.x), axis(p0.y, p1.y, p2.y, p3.y)};
}

}  // namespace

Polygon smooth_open(const std::vector<Vec2>& p, int steps) {
    if (p.size() < 3) return p;
    Polygon out;
    const int n = static_cast<int>(p.size());
    for (int i = 0; i + 1 < n; ++i) {
        const Vec2 p0 = p[std::max(i - 1, 0)], p3 = p[std::min(i + 2, n - 1)];
        for (int s = 0; s < steps; ++s)
            out.push_back(catmull_rom(p0, p[i], p[i + 1], p3, static_cast<float>(s) / steps));
    }
    out.push_back(p.back());
    return out;
}

Polygon smooth_closed(const std::vector<Vec2>& p, int steps) {
    if (p.size() < 3) return p;
    Polygon out;
    const int n = static_cast<int>(p.size());
    for (int i = 0; i < n; ++i) {
        const Vec2 p0 = p[(i + n - 1) % n], p1 = p[i], p2 = p[(i + 1) % n], p3 = p[(i + 2) % n];
        for (int s = 0; s < steps; ++s)
            out.push_back(catmull_rom(p0, p1, p2, p3, static_cast<float>(s) / steps));
    }
    return out;
}

Polygon transformed(const Polygon& poly, const Affine& m) {
    Polygon out;
    out.reserve(poly.size());
    for (Vec2 p : poly) out.push_back(apply(m, p));
    return out;
}

Polygon reversed(Polygon poly) {
    std::reverse(poly.begin(), poly.end());
    return poly;
}

Polygon joined(const Polygon& first, const Polygon& second) {
    Polygon out = first;
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

float at(const Profile& profile, float x) {
    const Polygon& p = profile.points;
    if (p.empty()) return 0;
    if (x <= p.front().x) return p.front().y;
    if (x >= p.back().x) return p.back().y;
    const auto hi =
        std::upper_bound(p.begin(), p.end(), x, [](float v, const Vec2& q) { return v < q.x; });
    const Vec2 b = *hi, a = *(hi - 1);
    return b.x > a.x ? a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x) : a.y;
}
