// With no sound device every ring plays the mixer into nothing at the pace of real sound, so the
// game's sounds start, end and give way to each other just as when they are heard.
#pragma once

#include <cstdint>

struct Mixer;

struct SilentSound {
    bool started = false;
    uint32_t playedToMs = 0;
    uint32_t owed = 0;  // thousandths of a frame carried to the next call
};

// Mixes and drops the sound due from the previous call up to `nowMs` (at most a second of it,
// after a stall); the first call only starts the clock. Takes the mixer's lock, as a sound
// device's thread does.
void PlaySilently(SilentSound& silent, Mixer& mixer, uint32_t nowMs);
