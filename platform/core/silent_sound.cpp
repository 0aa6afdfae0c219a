#include "platform/core/silent_sound.h"

#include <algorithm>

#include "platform/core/mixer.h"

void PlaySilently(SilentSound& silent, Mixer& mixer, uint32_t nowMs) {
    if (!silent.started) {
        silent.started = true;
        silent.playedToMs = nowMs;
        return;
    }
    uint64_t elapsed = std::min<uint32_t>(nowMs - silent.playedToMs, 1000);
    silent.playedToMs = nowMs;
    uint64_t thousandths = elapsed * MixRate + silent.owed;
    int frames = static_cast<int>(thousandths / 1000);
    silent.owed = static_cast<uint32_t>(thousandths % 1000);
    int16_t dropped[2 * 1024];
    for (int n = 0; frames > 0; frames -= n) {
        n = std::min(frames, 1024);
        MixInto(mixer, dropped, n);
    }
}
