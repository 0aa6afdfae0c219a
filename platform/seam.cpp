#include "platform/seam.h"

#include <deque>

namespace {
// A linear congruential generator with 15-bit output, like the C library's classic rand: the
// same seed gives the same game on every platform, which replays and tests rely on.
uint32_t randState = 1;
std::deque<int> scripted;
int drawCount = 0;
KeySource keySource = nullptr;
}  // namespace

int Rand() {
    ++drawCount;
    if (!scripted.empty()) {
        int r = scripted.front();
        scripted.pop_front();
        return r;
    }
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & RAND_LIMIT);
}

void SeedRand(uint32_t seed) {
    randState = seed;
    scripted.clear();
    drawCount = 0;
}

void ScriptRand(std::vector<int> draws) {
    scripted.assign(draws.begin(), draws.end());
    drawCount = 0;
}

int RandDrawCount() { return drawCount; }

int ScriptedDrawsLeft() { return static_cast<int>(scripted.size()); }

bool KeyDown(int virtualKey) { return keySource != nullptr && keySource(virtualKey); }

void SetKeySource(KeySource source) { keySource = source; }

WorldEventListener seam_detail::worldEventListener = nullptr;

void SetWorldEventListener(WorldEventListener listener) {
    seam_detail::worldEventListener = listener;
}
