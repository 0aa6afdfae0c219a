#include "platform/seam.h"

#include <initializer_list>

namespace {
// A linear congruential generator with 15-bit output, like the C library's classic rand: the
// same seed gives the same game on every platform, which replays and tests rely on.
uint32_t randState = 1;
}  // namespace

int SeededRand() {
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & RAND_LIMIT);
}

int (*randGenerator)() = SeededRand;

void SeedRand(uint32_t seed) { randState = seed; }

FrameInput frameInput;

uint16_t InputBit(int virtualKey) {
    switch (virtualKey) {
        case VK_UP:
            return InputUp;
        case VK_DOWN:
            return InputDown;
        case VK_LEFT:
            return InputLeft;
        case VK_RIGHT:
            return InputRight;
        case VK_W:
            return InputW;
        case VK_S:
            return InputS;
        case VK_RETURN:
            return InputEnter;
        case VK_SPACE:
            return InputSpace;
        case VK_ESCAPE:
            return InputEscape;
        case VK_M:
            return InputM;
        default:
            return 0;
    }
}

FrameInput ReadFrameInput(KeySource source) {
    FrameInput input;
    if (source == nullptr) return input;
    for (int key :
         {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_W, VK_S, VK_RETURN, VK_SPACE, VK_ESCAPE, VK_M})
        if (source(key)) input.keys |= InputBit(key);
    return input;
}

WorldEventListener seam_detail::worldEventListener = nullptr;

void SetWorldEventListener(WorldEventListener listener) {
    seam_detail::worldEventListener = listener;
}
