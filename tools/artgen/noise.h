// Seeded randomness: the same seed always gives the same art.
#pragma once

#include <cstdint>

struct Rng {
    uint64_t state = 0;
};

uint32_t next_u32(Rng& rng);
float next_float(Rng& rng);  // [0, 1)
float next_range(Rng& rng, float lo, float hi);

// Repeating value noise in [0,1]: lattice cells are one unit, the pattern repeats every
// period_x by period_y units (periods of 0 mean no repetition on that axis).
float value_noise(float x, float y, int period_x, int period_y, uint32_t seed);
// Octaves of value noise, each twice the frequency and half the weight; stays in [0,1].
float fractal_noise(float x, float y, int period_x, int period_y, int octaves, uint32_t seed);
