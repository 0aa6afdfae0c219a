// The mixer: sums and limiting, the pan law, the voice cap and who gives way, keys, stopping,
// rates and loops, and not one allocation in the mixing call.
#include "platform/core/mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

// Every allocation of this test program is counted; the mixing call must make none.
namespace {
thread_local long allocations = 0;
}
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// A clip holding one value throughout, so every mixed sample can be worked out exactly.
struct Constant {
    std::vector<int16_t> samples;
    SoundClip clip;
    Constant(int16_t value, int frames, int rate = MixRate) : samples(frames, value) {
        clip = {samples.data(), frames, rate};
    }
};

VoiceHandle Start(Mixer& m, const Constant& c, float gain, float pan, uint64_t key = 0,
                  bool loop = false) {
    VoiceStart s;
    s.clip = &c.clip;
    s.gain = gain;
    s.pan = pan;
    s.key = key;
    s.loop = loop;
    return PlayVoice(m, s);
}

std::vector<int16_t> Mix(Mixer& m, int frames) {
    std::vector<int16_t> out(2 * frames, 1234);
    MixInto(m, out.data(), frames);
    return out;
}

TEST(Mixer, SumsVoicesAndLimitsLoudSumsInsteadOfClipping) {
    Mixer m;
    Constant up(10000, MixRate), down(-12000, MixRate);
    Start(m, up, 1.0f, -1.0f);
    Start(m, up, 1.0f, -1.0f);
    std::vector<int16_t> out = Mix(m, 10);
    EXPECT_EQ(out[0], 20000);  // well below the limit: exactly the sum
    EXPECT_EQ(out[1], 0);      // full left is silent on the right

    // 35000 on the left and -36000 on the right: brought down, never flat at full scale.
    Start(m, up, 1.0f, -1.0f);
    Start(m, up, 0.5f, -1.0f);
    for (int i = 0; i < 3; ++i) Start(m, down, 1.0f, 1.0f);
    out = Mix(m, 4096);
    int loudest = 0;
    for (int16_t sample : out) loudest = std::max(loudest, std::abs(int(sample)));
    EXPECT_LT(loudest, 32000);
    EXPECT_GT(out[2 * 4000], 24000);  // still loud, held steady by the limiter
    EXPECT_EQ(out[2 * 4000], out[2 * 4095]);
    EXPECT_LT(out[2 * 4000 + 1], -24000);

    // Once the loud voices are gone the gain comes back: a quiet voice plays at its own level.
    StopAllVoices(m);
    Constant quiet(5000, MixRate);
    Start(m, quiet, 1.0f, -1.0f);
    out = Mix(m, MixRate / 2);
    EXPECT_EQ(out[2 * (MixRate / 2 - 1)], 5000);
}

TEST(Mixer, PanKeepsThePowerConstant) {
    for (float pan : {-1.0f, -0.6f, 0.0f, 0.3f, 1.0f}) {
        float l, r;
        PanGains(0.8f, pan, l, r);
        EXPECT_NEAR(l * l + r * r, 0.64f, 1e-5f) << pan;
    }
    Mixer m;
    Constant c(10000, 100);
    Start(m, c, 1.0f, 0.0f);
    std::vector<int16_t> out = Mix(m, 1);
    EXPECT_EQ(out[0], 7071);  // -3 dB each side
    EXPECT_EQ(out[1], 7071);
}

TEST(Mixer, AtTheCapTheQuietestGivesWayAndLoopsStay) {
    Mixer m;
    Constant c(1000, 100000);
    VoiceHandle loop = Start(m, c, 0.05f, 0.0f, 0, true);  // the quietest, but a loop
    std::vector<VoiceHandle> h{loop};
    for (int i = 1; i < MaxVoices; ++i) h.push_back(Start(m, c, 0.1f + 0.01f * i, 0.0f));
    EXPECT_EQ(PlayingVoices(m), MaxVoices);

    // Quieter than every voice that could give way: not played.
    EXPECT_EQ(Start(m, c, 0.1f, 0.0f).slot, -1);
    // Louder: takes the quietest one-shot's place, the loop untouched.
    VoiceHandle loud = Start(m, c, 0.9f, 0.0f);
    EXPECT_EQ(loud.slot, h[1].slot);
    EXPECT_EQ(PlayingVoices(m), MaxVoices);
    EXPECT_EQ(m.voices[loop.slot].loop, true);
    // Of equals, the oldest gives way.
    StopAllVoices(m);
    for (int i = 0; i < MaxVoices; ++i) h[i] = Start(m, c, 0.5f, 0.0f);
    EXPECT_EQ(Start(m, c, 0.5f, 0.0f).slot, h[0].slot);
    EXPECT_EQ(Start(m, c, 0.5f, 0.0f).slot, h[1].slot);
}

TEST(Mixer, OneVoicePerKeyRestartedOrLeftToFinish) {
    Mixer m;
    Constant c(1000, 1000);
    VoiceHandle first = Start(m, c, 0.5f, 0.0f, 77);
    Mix(m, 600);
    VoiceHandle again = Start(m, c, 0.5f, 0.0f, 77);
    EXPECT_EQ(PlayingVoices(m), 1);
    EXPECT_EQ(again.slot, first.slot);
    EXPECT_EQ(m.voices[again.slot].position, 0u);  // from the beginning
    Mix(m, 600);
    VoiceStart keep;
    keep.clip = &c.clip;
    keep.key = 77;
    keep.retrigger = false;
    PlayVoice(m, keep);
    EXPECT_EQ(m.voices[again.slot].position >> 32, 600u);  // left to finish
    // A handle to a voice that has since been taken over changes nothing.
    SetVoice(m, first, 1.0f, 0.0f, 2.0f);
    EXPECT_EQ(m.voices[again.slot].gain, 0.5f);
}

// Muted, the real program is silent: its window tests listen.
TEST(Mixer, StoppedAndEndedVoicesAreSilent) {
    Mixer m;
    Constant c(8000, 441);
    VoiceHandle v = Start(m, c, 1.0f, -1.0f, 0, true);
    std::vector<int16_t> out = Mix(m, 2000);  // a loop plays past its clip's end
    EXPECT_EQ(out[2 * 1999], 8000);
    EXPECT_TRUE(VoicePlaying(m, v));
    StopVoice(m, v);
    EXPECT_FALSE(VoicePlaying(m, v));
    out = Mix(m, 300);
    EXPECT_GT(out[0], 0);  // fading, not cut
    EXPECT_LT(out[0], 8000);
    EXPECT_EQ(out[2 * 299], 0);
    EXPECT_EQ(PlayingVoices(m), 0);

    Start(m, c, 1.0f, -1.0f);
    out = Mix(m, 500);
    EXPECT_EQ(out[2 * 440], 8000);
    EXPECT_EQ(out[2 * 441], 0);  // a one-shot ends with its clip
    EXPECT_EQ(PlayingVoices(m), 0);
}

TEST(Mixer, RateFollowsTheClipAndTheVoice) {
    Mixer m;
    Constant half(4000, 100, MixRate / 2);  // 100 frames at 22050 Hz last 200 output frames
    Start(m, half, 1.0f, -1.0f);
    std::vector<int16_t> out = Mix(m, 300);
    EXPECT_EQ(out[2 * 197], 4000);
    EXPECT_EQ(out[2 * 200], 0);
    VoiceStart fast;
    fast.clip = &half.clip;
    fast.pan = -1.0f;
    fast.rate = 2.0f;  // back to one output frame per clip frame
    PlayVoice(m, fast);
    out = Mix(m, 120);
    EXPECT_EQ(out[2 * 98], 4000);
    EXPECT_EQ(out[2 * 100], 0);
}

TEST(Mixer, MixingNeverAllocates) {
    Mixer m;
    Constant c(3000, 5000, 22050);
    for (int i = 0; i < MaxVoices; ++i) {
        VoiceHandle h = Start(m, c, 0.04f * i, i / 12.0f - 1.0f, 0, i % 3 == 0);
        SetVoice(m, h, 0.5f, 0.0f, 0.5f + 0.1f * i);
    }
    SetMixerVolume(m, 0.5f);
    std::vector<int16_t> out(2 * 4096);
    const long before = allocations;
    for (int call = 0; call < 50; ++call) MixInto(m, out.data(), 4096 - call * 37);
    EXPECT_EQ(allocations, before);
    EXPECT_GT(PlayingVoices(m), 0);
}

}  // namespace
