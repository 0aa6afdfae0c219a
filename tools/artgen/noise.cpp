#include "noise.h"

#include <cmath>

uint32_t next_u32(Rng& rng) {  // splitmix64
    uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

float next_float(Rng& rng) { return (next_u32(rng) >> 8) * (1.0f / 16777216.0f); }

float next_range(Rng& rng, float lo, float hi) { return lo + (hi - lo) * next_float(rng); }

namespace {

float lattice(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
                 seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h >> 8) * (1.0f / 16777215.0f);
}

int wrap(int v, int period) {
    if (period <= 0) return v;
    const int m = v % period;
    return m < 0 ? m + period : m;
}

float ease(float t) { return t * t * (3 - 2 * t); }

}  // namespace

float value_noise(float x, float y, int px, int py, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = ease(x - fx), ty = ease(y - fy);
    const int x0 = wrap(ix, px), x1 = wrap(ix + 1, px);
    const int y0 = wrap(iy, py), y1 = wrap(iy + 1, py);
    const float a = lattice(x0, y0, seed), b = lattice(x1, y0, seed);
    const float c = lattice(x0, y1, seed), d = lattice(x1, y1, seed);
    const float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float fractal_noise(float x, float y, int px, int py, int octaves, uint32_t seed) {
    float sum = 0, weight = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * value_noise(x, y, px, py, seed + 101u * o);
        total += weight;
        x *= 2;
        y *= 2;
        px *= 2;
        py *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}
