#include "raster.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <limits>

Canvas make_canvas(int width, int height, float units_w, float units_h, int ss) {
    Canvas c;
    c.width = width;
    c.height = height;
    c.ss = ss;
    c.cells.assign(static_cast<size_t>(width) * ss * height * ss, Rgba{0, 0, 0, 0});
    set_view(c, scaling(width / units_w, height / units_h));
    return c;
}

void set_view(Canvas& canvas, const Affine& to_pixels) {
    const float k = static_cast<float>(canvas.ss);
    canvas.to_cells = compose(scaling(k, k), to_pixels);
    canvas.to_units = invert(canvas.to_cells);
}

float cells_per_unit(const Canvas& canvas) {
    return std::sqrt(
        std::abs(canvas.to_cells.a * canvas.to_cells.e - canvas.to_cells.b * canvas.to_cells.d));
}

namespace {

int cells_w(const Canvas& c) { return c.width * c.ss; }
int cells_h(const Canvas& c) { return c.height * c.ss; }

void blend_into(Rgba& d, Rgba s, Blend blend) {
    if (s.a <= 0) return;
    switch (blend) {
        case Blend::Over: {
            const float a = s.a + d.a * (1 - s.a);
            const float kd = d.a * (1 - s.a);
            d = {(s.r * s.a + d.r * kd) / a, (s.g * s.a + d.g * kd) / a, (s.b * s.a + d.b * kd) / a,
                 a};
            break;
        }
        case Blend::Atop:
            if (d.a <= 0) return;
            d = {s.r * s.a + d.r * (1 - s.a), s.g * s.a + d.g * (1 - s.a),
                 s.b * s.a + d.b * (1 - s.a), d.a};
            break;
        case Blend::Erase:
            d.a *= 1 - s.a;
            if (d.a <= 0) d = {0, 0, 0, 0};
            break;
    }
}

// Calls visit(row, first, last) for each run of cells whose centres lie inside the shape
// (even-odd rule, so a second ring cuts a hole).
template <typename Visit>
void scan(int w, int h, const Affine& to_cells, const std::vector<Polygon>& shape, Visit visit) {
    std::vector<Polygon> cells;
    float ymin = std::numeric_limits<float>::max(), ymax = std::numeric_limits<float>::lowest();
    for (const Polygon& p : shape) {
        cells.push_back(transformed(p, to_cells));
        for (Vec2 q : cells.back()) {
            ymin = std::min(ymin, q.y);
            ymax = std::max(ymax, q.y);
        }
    }
    const int r0 = std::max(0, static_cast<int>(std::floor(ymin)));
    const int r1 = std::min(h - 1, static_cast<int>(std::ceil(ymax)));
    std::vector<float> xs;
    for (int row = r0; row <= r1; ++row) {
        const float yc = row + 0.5f;
        xs.clear();
        for (const Polygon& p : cells) {
            const size_t n = p.size();
            for (size_t i = 0; i < n; ++i) {
                const Vec2 a = p[i], b = p[(i + 1) % n];
                if ((a.y <= yc && b.y > yc) || (b.y <= yc && a.y > yc))
                    xs.push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
            }
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            const int c0 = std::max(0, static_cast<int>(std::ceil(xs[i] - 0.5f)));
            const int c1 = std::min(w, static_cast<int>(std::ceil(xs[i + 1] - 0.5f)));
            if (c1 > c0) visit(row, c0, c1);
        }
    }
}

}  // namespace

void fill(Canvas& canvas, const std::vector<Polygon>& shape, const Paint& paint, Blend blend) {
    const int w = cells_w(canvas);
    scan(w, cells_h(canvas), canvas.to_cells, shape, [&](int row, int c0, int c1) {
        for (int col = c0; col < c1; ++col) {
            const Vec2 u = apply(canvas.to_units, {col + 0.5f, row + 0.5f});
            blend_into(canvas.cells[static_cast<size_t>(row) * w + col], paint(u), blend);
        }
    });
}

void fill(Canvas& canvas, const Polygon& poly, const Paint& paint, Blend blend) {
    fill(canvas, std::vector<Polygon>{poly}, paint, blend);
}

void fill(Canvas& canvas, const Polygon& poly, Rgba colour, Blend blend) {
    fill(
        canvas, std::vector<Polygon>{poly}, [colour](Vec2) { return colour; }, blend);
}

void fill_all(Canvas& canvas, const Paint& paint, Blend blend) {
    const int w = cells_w(canvas), h = cells_h(canvas);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const Vec2 u = apply(canvas.to_units, {col + 0.5f, row + 0.5f});
            blend_into(canvas.cells[static_cast<size_t>(row) * w + col], paint(u), blend);
        }
}

void composite(Canvas& canvas, const Canvas& layer) {
    for (size_t i = 0; i < canvas.cells.size() && i < layer.cells.size(); ++i)
        blend_into(canvas.cells[i], layer.cells[i], Blend::Over);
}

Mask empty_mask(const Canvas& canvas) {
    Mask m;
    m.width = cells_w(canvas);
    m.height = cells_h(canvas);
    m.v.assign(static_cast<size_t>(m.width) * m.height, 0.0f);
    return m;
}

Mask coverage(const Canvas& canvas) {
    Mask m = empty_mask(canvas);
    for (size_t i = 0; i < m.v.size(); ++i) m.v[i] = canvas.cells[i].a > 0 ? 1.0f : 0.0f;
    return m;
}

void add_shape(Mask& mask, const Canvas& canvas, const std::vector<Polygon>& shape) {
    scan(mask.width, mask.height, canvas.to_cells, shape, [&](int row, int c0, int c1) {
        for (int col = c0; col < c1; ++col) mask.v[static_cast<size_t>(row) * mask.width + col] = 1;
    });
}

namespace {

// Squared distance transform of one line (Felzenszwalb and Huttenlocher). Empty cells hold a
// large finite value so the parabola intersections stay exact in double precision.
void distance_1d(const std::vector<double>& f, std::vector<double>& d, std::vector<int>& v,
                 std::vector<double>& z) {
    const int n = static_cast<int>(f.size());
    const double inf = std::numeric_limits<double>::infinity();
    auto cross = [&](int q, int p) {
        return ((f[q] + double(q) * q) - (f[p] + double(p) * p)) / (2.0 * q - 2.0 * p);
    };
    int k = 0;
    v[0] = 0;
    z[0] = -inf;
    z[1] = inf;
    for (int q = 1; q < n; ++q) {
        double s = cross(q, v[k]);
        while (s <= z[k]) {
            --k;
            s = cross(q, v[k]);
        }
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = inf;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q) ++k;
        const double dq = q - v[k];
        d[q] = dq * dq + f[v[k]];
    }
}

}  // namespace

std::vector<float> distance_field(const Mask& mask) {
    const int w = mask.width, h = mask.height;
    const double far = 1e12;
    std::vector<double> g(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < g.size(); ++i) g[i] = mask.v[i] >= 0.5f ? 0.0 : far;
    const int n = std::max(w, h);
    std::vector<double> f, d, z(n + 1);
    std::vector<int> v(n);
    f.resize(h);
    d.resize(h);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) f[y] = g[static_cast<size_t>(y) * w + x];
        distance_1d(f, d, v, z);
        for (int y = 0; y < h; ++y) g[static_cast<size_t>(y) * w + x] = d[y];
    }
    f.resize(w);
    d.resize(w);
    std::vector<float> out(g.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) f[x] = g[static_cast<size_t>(y) * w + x];
        distance_1d(f, d, v, z);
        for (int x = 0; x < w; ++x)
            out[static_cast<size_t>(y) * w + x] = static_cast<float>(std::sqrt(d[x]));
    }
    return out;
}

Mask grown(const Mask& mask, float radius) {
    Mask out = mask;
    const std::vector<float> d = distance_field(mask);
    for (size_t i = 0; i < d.size(); ++i) out.v[i] = d[i] <= radius ? 1.0f : 0.0f;
    return out;
}

Mask shifted(const Mask& mask, int dx, int dy) {
    Mask out = mask;
    std::fill(out.v.begin(), out.v.end(), 0.0f);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            const int sx = x - dx, sy = y - dy;
            if (sx >= 0 && sy >= 0 && sx < mask.width && sy < mask.height)
                out.v[static_cast<size_t>(y) * mask.width + x] =
                    mask.v[static_cast<size_t>(sy) * mask.width + sx];
        }
    return out;
}

void fill(Canvas& canvas, const Mask& mask, const Paint& paint, Blend blend) {
    const int w = mask.width;
    for (int row = 0; row < mask.height; ++row)
        for (int col = 0; col < w; ++col) {
            const size_t i = static_cast<size_t>(row) * w + col;
            if (mask.v[i] < 0.5f) continue;
            blend_into(canvas.cells[i], paint(apply(canvas.to_units, {col + 0.5f, row + 0.5f})),
                       blend);
        }
}

namespace {

uint8_t to_byte(float v) { return static_cast<uint8_t>(std::lround(clamp01(v) * 255.0f)); }

// Gives empty pixels the colour of painted neighbours so filtering never pulls in black.
void bleed(Image& img, int passes) {
    const int w = img.width, h = img.height;
    std::vector<uint8_t> known(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < known.size(); ++i) known[i] = img.rgba[i * 4 + 3] > 0;
    for (int pass = 0; pass < passes; ++pass) {
        std::vector<uint8_t> next = known;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const size_t i = static_cast<size_t>(y) * w + x;
                if (known[i]) continue;
                int sum[3] = {0, 0, 0}, n = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                        const size_t j = static_cast<size_t>(ny) * w + nx;
                        if (!known[j]) continue;
                        for (int c = 0; c < 3; ++c) sum[c] += img.rgba[j * 4 + c];
                        ++n;
                    }
                if (n == 0) continue;
                for (int c = 0; c < 3; ++c) img.rgba[i * 4 + c] = static_cast<uint8_t>(sum[c] / n);
                next[i] = 1;
            }
        known = next;
    }
}

}  // namespace

Image resolve(const Canvas& canvas) {
    Image img;
    img.width = canvas.width;
    img.height = canvas.height;
    img.rgba.assign(static_cast<size_t>(img.width) * img.height * 4, 0);
    const int ss = canvas.ss, w = cells_w(canvas);
    const int total = ss * ss;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            int painted = 0;
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx) {
                    const Rgba c = canvas.cells[static_cast<size_t>(y * ss + sy) * w + x * ss + sx];
                    if (c.a <= 0.002f) continue;
                    ++painted;
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            if (painted == 0) continue;
            uint8_t* p = &img.rgba[(static_cast<size_t>(y) * img.width + x) * 4];
            p[0] = to_byte(r / a);
            p[1] = to_byte(g / a);
            p[2] = to_byte(b / a);
            const float alpha = a / painted;
            p[3] = 2 * painted >= total && alpha >= 0.5f ? to_byte(alpha) : 0;
        }
    bleed(img, 2);
    return img;
}

bool write_png(const Image& image, const std::string& path) {
    return stbi_write_png(path.c_str(), image.width, image.height, 4, image.rgba.data(),
                          image.width * 4) != 0;
}
