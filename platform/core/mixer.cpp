#include "platform/core/mixer.h"

#include <algorithm>
#include <cmath>

Mixer gameMixer;

namespace {

// A full-scale gain change takes this many frames (5.8 ms): short enough to follow a moving
// source, long enough not to click.
constexpr float RampStep = 1.0f / 256.0f;
// Frames summed at a time into a buffer on the stack.
constexpr int Chunk = 256;
constexpr double FractionOne = 4294967296.0;  // 2^32

bool Valid(const Mixer& mixer, VoiceHandle handle) {
    return handle.slot >= 0 && handle.slot < MaxVoices &&
           mixer.voices[handle.slot].samples != nullptr &&
           mixer.voices[handle.slot].started == handle.started;
}

uint64_t StepOf(float rate, int32_t clipRate) {
    const double speed = std::clamp(static_cast<double>(rate), 0.05, 8.0);
    return static_cast<uint64_t>(speed * clipRate / MixRate * FractionOne);
}

float Ramp(float now, float target) { return now + std::clamp(target - now, -RampStep, RampStep); }

// The limiter aims every sum at or below this level; the gain it takes to get there is reached
// by the chunk's loudest frame, and released by 8% of the way back per chunk (a third of a
// second from a hard limit back to 1).
constexpr float LimitLevel = 26000.0f;
constexpr float Release = 0.08f;
// The gain comes down over at most this many frames (1.5 ms), ahead of the peak.
constexpr int AttackFrames = 64;
// Above the knee, what the gain has not yet brought down is bent toward full scale instead of
// cut flat (t / (1 + t): smooth at the knee, never reaching the top, and cheap).
constexpr float Knee = 27000.0f;
constexpr float Room = 32767.0f - Knee;

float SoftKnee(float value) {
    const float level = std::fabs(value);
    if (level <= Knee) return value;
    const float over = (level - Knee) / Room;
    return std::copysign(Knee + Room * over / (1.0f + over), value);
}

// The slot a new start takes: the voice with its key, a free one, or the quietest that does not
// loop (stopping ones first, then the oldest of equals); -1 when the start is quieter than all.
int ChooseSlot(const Mixer& mixer, const VoiceStart& start) {
    if (start.key != 0)
        for (int i = 0; i < MaxVoices; ++i)
            if (mixer.voices[i].samples != nullptr && mixer.voices[i].key == start.key) return i;
    for (int i = 0; i < MaxVoices; ++i)
        if (mixer.voices[i].samples == nullptr) return i;
    int quietest = -1;
    auto quieter = [](const Voice& a, const Voice& b) {
        if (a.stopping != b.stopping) return a.stopping;
        if (a.gain != b.gain) return a.gain < b.gain;
        return a.started - b.started > 0x80000000u;  // older, across the counter's wrap
    };
    for (int i = 0; i < MaxVoices; ++i) {
        const Voice& v = mixer.voices[i];
        if (v.loop) continue;
        if (quietest < 0 || quieter(v, mixer.voices[quietest])) quietest = i;
    }
    if (quietest < 0) return -1;
    const Voice& q = mixer.voices[quietest];
    if (!q.stopping && start.gain < q.gain) return -1;
    return quietest;
}

// Adds `frames` frames of the voice into `sum`; frees it when it ends or has faded out.
void MixVoice(Voice& v, float* sum, int frames) {
    const uint64_t end = static_cast<uint64_t>(v.frames) << 32;
    for (int f = 0; f < frames; ++f) {
        const uint64_t index = v.position >> 32;
        const float fraction =
            static_cast<float>(v.position & 0xffffffffu) * (1.0f / 4294967296.0f);
        const float s0 = v.samples[index];
        float s1 = 0.0f;
        if (index + 1 < static_cast<uint64_t>(v.frames))
            s1 = v.samples[index + 1];
        else if (v.loop)
            s1 = v.samples[0];
        const float sample = s0 + (s1 - s0) * fraction;
        v.left = Ramp(v.left, v.targetLeft);
        v.right = Ramp(v.right, v.targetRight);
        sum[2 * f] += sample * v.left;
        sum[2 * f + 1] += sample * v.right;
        v.position += v.step;
        if (v.position >= end) {
            if (!v.loop) {
                v.samples = nullptr;
                return;
            }
            v.position %= end;
        }
        if (v.stopping && v.left == 0.0f && v.right == 0.0f) {
            v.samples = nullptr;
            return;
        }
    }
}

}  // namespace

void PanGains(float gain, float pan, float& left, float& right) {
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.785398163f;
    left = gain * std::cos(angle);
    right = gain * std::sin(angle);
    // cos(pi/2) is not exactly 0 in floats: full left and full right are silent on the far side.
    if (pan <= -1.0f) right = 0.0f;
    if (pan >= 1.0f) left = 0.0f;
}

VoiceHandle PlayVoice(Mixer& mixer, const VoiceStart& start) {
    const SoundClip* clip = start.clip;
    if (clip == nullptr || clip->samples == nullptr || clip->frames <= 0 || clip->rate <= 0)
        return {};
    const float gain = std::clamp(start.gain, 0.0f, 1.0f);
    std::lock_guard<std::mutex> lock(mixer.mutex);
    const int slot = ChooseSlot(mixer, start);
    if (slot < 0) return {};
    Voice& v = mixer.voices[slot];
    if (!start.retrigger && start.key != 0 && v.samples != nullptr && v.key == start.key &&
        !v.stopping)
        return {slot, v.started};
    v = Voice{};
    v.samples = clip->samples;
    v.frames = clip->frames;
    v.clipRate = clip->rate;
    v.step = StepOf(start.rate, clip->rate);
    v.gain = gain;
    // Clips begin from silence, so a start needs no ramp.
    PanGains(gain, start.pan, v.targetLeft, v.targetRight);
    v.left = v.targetLeft;
    v.right = v.targetRight;
    v.loop = start.loop;
    v.key = start.key;
    v.started = ++mixer.starts;
    return {slot, v.started};
}

void SetVoice(Mixer& mixer, VoiceHandle handle, float gain, float pan, float rate) {
    std::lock_guard<std::mutex> lock(mixer.mutex);
    if (!Valid(mixer, handle)) return;
    Voice& v = mixer.voices[handle.slot];
    if (v.stopping) return;
    v.gain = std::clamp(gain, 0.0f, 1.0f);
    PanGains(v.gain, pan, v.targetLeft, v.targetRight);
    v.step = StepOf(rate, v.clipRate);
}

void StopVoice(Mixer& mixer, VoiceHandle handle) {
    std::lock_guard<std::mutex> lock(mixer.mutex);
    if (!Valid(mixer, handle)) return;
    Voice& v = mixer.voices[handle.slot];
    v.stopping = true;
    v.targetLeft = v.targetRight = 0.0f;
}

void StopAllVoices(Mixer& mixer) {
    std::lock_guard<std::mutex> lock(mixer.mutex);
    for (Voice& v : mixer.voices) v = Voice{};
}

void SetMixerVolume(Mixer& mixer, float volume) {
    std::lock_guard<std::mutex> lock(mixer.mutex);
    mixer.volume = std::clamp(volume, 0.0f, 1.0f);
}

int PlayingVoices(Mixer& mixer) {
    std::lock_guard<std::mutex> lock(mixer.mutex);
    int playing = 0;
    for (const Voice& v : mixer.voices) playing += v.samples != nullptr;
    return playing;
}

bool VoicePlaying(Mixer& mixer, VoiceHandle handle) {
    std::lock_guard<std::mutex> lock(mixer.mutex);
    return Valid(mixer, handle) && !mixer.voices[handle.slot].stopping;
}

void MixInto(Mixer& mixer, int16_t* out, int frames) {
    std::lock_guard<std::mutex> lock(mixer.mutex);
    float sum[2 * Chunk];
    while (frames > 0) {
        const int n = std::min(frames, Chunk);
        std::fill(sum, sum + 2 * n, 0.0f);
        for (Voice& v : mixer.voices)
            if (v.samples != nullptr) MixVoice(v, sum, n);
        float peak = 0.0f;
        int peakFrame = 0;
        for (int f = 0; f < n; ++f) {
            mixer.volumeNow = Ramp(mixer.volumeNow, mixer.volume);
            for (int c = 0; c < 2; ++c) {
                float& value = sum[2 * f + c];
                value *= mixer.volumeNow;
                if (std::fabs(value) > peak) peak = std::fabs(value), peakFrame = f;
            }
        }
        // The gain this chunk needs, reached by its loudest frame; quieter chunks let it recover.
        const float from = mixer.limiterGain;
        const float needed = peak > LimitLevel ? LimitLevel / peak : 1.0f;
        const bool attack = needed < from;
        float to = attack ? needed : from + (needed - from) * Release;
        if (!attack && needed - to < 0.002f) to = needed;  // the last step of the way
        const int span = attack ? std::min(peakFrame + 1, AttackFrames) : n;
        for (int f = 0; f < n; ++f) {
            const float gain = f < span ? from + (to - from) * float(f + 1) / float(span) : to;
            for (int c = 0; c < 2; ++c) {
                const float value = std::round(SoftKnee(sum[2 * f + c] * gain));
                out[2 * f + c] = static_cast<int16_t>(std::clamp(value, -32768.0f, 32767.0f));
            }
        }
        mixer.limiterGain = to;
        out += 2 * n;
        frames -= n;
    }
}
