#include "synth.h"

#include <algorithm>

float Noise::Next() {  // xorshift64*
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    const uint64_t r = state * 0x2545F4914F6CDD1Dull;
    return static_cast<float>(r >> 40) * (2.0f / 16777216.0f) - 1.0f;
}

float SineTurns(float turns) {
    float t = turns - static_cast<float>(static_cast<int64_t>(turns));
    if (t < 0) t += 1.0f;
    // Fold to [-1/4, 1/4] turn, where the odd series converges fast.
    float sign = 1.0f;
    if (t > 0.5f) {
        t -= 0.5f;
        sign = -1.0f;
    }
    if (t > 0.25f) t = 0.5f - t;
    const float x = t * 6.28318531f;
    const float x2 = x * x;
    const float series =
        x * (1.0f - x2 / 6.0f * (1.0f - x2 / 20.0f * (1.0f - x2 / 42.0f * (1.0f - x2 / 72.0f))));
    return sign * series;
}

float Filter::LowPass(float in, float cutoffHz) {
    const float f = 2.0f * SineTurns(std::min(cutoffHz, SoundRate / 6.0f) / (2.0f * SoundRate));
    low += f * band;
    const float high = in - low - 1.4f * band;
    band += f * high;
    return low;
}

float Filter::BandPass(float in, float centreHz, float damping) {
    const float f = 2.0f * SineTurns(std::min(centreHz, SoundRate / 6.0f) / (2.0f * SoundRate));
    low += f * band;
    const float high = in - low - damping * band;
    band += f * high;
    return band;
}

Signal Silence(float seconds) { return Signal(static_cast<size_t>(seconds * SoundRate), 0.0f); }

float ExpNegative(float x) {
    if (x < -30.0f) return 0.0f;
    // e^x = (e^(x/64))^64, the inner one from four terms of its series.
    const float y = x / 64.0f;
    float r = 1.0f + y * (1.0f + y / 2.0f * (1.0f + y / 3.0f * (1.0f + y / 4.0f)));
    for (int i = 0; i < 6; ++i) r *= r;
    return r;
}

float Envelope(float t, float attack, float decay) {
    if (t < attack) return t / attack;
    return ExpNegative(-(t - attack) / decay);
}

void Finish(Signal& s, float peak) {
    float highest = 0.0f;
    for (float v : s) highest = std::max(highest, v < 0 ? -v : v);
    const float scale = highest > 0.0f ? peak / highest : 0.0f;
    const size_t fade = std::min(s.size(), static_cast<size_t>(SoundRate / 200));
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] *= scale;
        const size_t left = s.size() - 1 - i;
        if (left < fade) s[i] *= static_cast<float>(left) / static_cast<float>(fade);
    }
}

void CloseLoop(Signal& s, int overlap) {
    const size_t keep = s.size() - static_cast<size_t>(overlap);
    for (int i = 0; i < overlap; ++i) {
        const float w = static_cast<float>(i) / static_cast<float>(overlap);
        s[static_cast<size_t>(i)] = s[static_cast<size_t>(i)] * w + s[keep + i] * (1.0f - w);
    }
    s.resize(keep);
}

namespace {

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>(v >> 8);
}

}  // namespace

std::string WavBytes(const Signal& s) {
    const uint32_t dataBytes = static_cast<uint32_t>(s.size() * 2);
    std::string out = "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, SoundRate);
    Put32(out, SoundRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (float v : s) {
        const float scaled = std::clamp(v, -1.0f, 1.0f) * 32767.0f;
        const int32_t rounded = static_cast<int32_t>(scaled + (scaled < 0 ? -0.5f : 0.5f));
        Put16(out, static_cast<uint16_t>(static_cast<int16_t>(rounded)));
    }
    return out;
}
