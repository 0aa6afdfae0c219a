// With no sound device the mixer still plays, into nothing, at the pace of real sound.
#include "platform/core/silent_sound.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/core/mixer.h"

namespace {

TEST(SilentSound, AVoiceEndsWhenItWouldHaveBeenHeardToTheEnd) {
    Mixer mixer;
    std::vector<int16_t> samples(MixRate / 10, 1000);  // a tenth of a second
    SoundClip clip{samples.data(), static_cast<int32_t>(samples.size()), MixRate};
    VoiceStart start;
    start.clip = &clip;
    SilentSound silent;
    PlaySilently(silent, mixer, 5000);
    VoiceHandle voice = PlayVoice(mixer, start);
    for (uint32_t now = 5000; now <= 5090; now += 10) {
        PlaySilently(silent, mixer, now);
        EXPECT_TRUE(VoicePlaying(mixer, voice)) << now;
    }
    PlaySilently(silent, mixer, 5110);
    EXPECT_FALSE(VoicePlaying(mixer, voice));
}

}  // namespace
