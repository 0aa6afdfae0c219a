#include "platform/seam.h"

namespace {
// A linear congruential generator with 15-bit output, like the C library's classic rand: the
// same seed gives the same game on every platform, which replays and tests rely on.
uint32_t randState = 1;
KeySource keySource = nullptr;
}  // namespace

int SeededRand() {
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & RAND_LIMIT);
}

int (*randGenerator)() = SeededRand;

void SeedRand(uint32_t seed) { randState = seed; }

bool KeyDown(int virtualKey) { return keySource != nullptr && keySource(virtualKey); }

void SetKeySource(KeySource source) { keySource = source; }

WorldEventListener seam_detail::worldEventListener = nullptr;

void SetWorldEventListener(WorldEventListener listener) {
    seam_detail::worldEventListener = listener;
}
