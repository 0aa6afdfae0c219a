// The DirectSound stream under Wine (with a null ALSA device): it plays the mixer, fed from a
// thread of its own a little ahead of the play cursor, and stops with its device.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/core/mixer.h"
#include "platform/win32/win32_sound.h"
#include "platform/win32/windows_api.h"
// windows_api.h first: these need its types.
#include <mmsystem.h>
// mmsystem.h first: dsound.h uses its wave format.
#include <dsound.h>

namespace {

TEST(DirectSoundStream, PlaysTheMixerAheadOfThePlayCursorUntilItStops) {
    HWND window = CreateWindowExA(0, "STATIC", "sound test", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    std::vector<int16_t> tone(MixRate / 10);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<int16_t>(8000 * std::sin(i * 2 * 3.14159265 * 440 / MixRate));
    SoundClip clip{tone.data(), static_cast<int32_t>(tone.size()), MixRate};
    Mixer mixer;
    VoiceStart start;
    start.clip = &clip;
    start.loop = true;
    VoiceHandle voice = PlayVoice(mixer, start);
    ASSERT_GE(voice.slot, 0);

    std::unique_ptr<SoundDevice> sound = OpenDirectSound(window, mixer);
    ASSERT_NE(sound, nullptr) << "no DirectSound device";
    ASSERT_NE(sound->stream, nullptr);
    Sleep(600);
    DWORD status = 0;
    ASSERT_TRUE(SUCCEEDED(sound->stream->GetStatus(&status)));
    EXPECT_TRUE(status & DSBSTATUS_PLAYING);
    EXPECT_TRUE(status & DSBSTATUS_LOOPING);
    // The mixer ran as the sound played (Wine's null device plays faster than real time, so
    // there is no upper bound), and what it wrote lies just ahead of the play cursor.
    EXPECT_GT(sound->mixedFrames.load(), uint64_t{MixRate * 3 / 10});
    DWORD play = 0, write = 0;
    ASSERT_TRUE(SUCCEEDED(sound->stream->GetCurrentPosition(&play, &write)));
    DSBCAPS caps{};
    caps.dwSize = sizeof caps;
    ASSERT_TRUE(SUCCEEDED(sound->stream->GetCaps(&caps)));
    EXPECT_LT((sound->written + caps.dwBufferBytes - play) % caps.dwBufferBytes,
              caps.dwBufferBytes / 2);
    {
        std::lock_guard lock(mixer.mutex);
        EXPECT_GT(mixer.voices[voice.slot].position, 0u);
    }
    sound.reset();  // joins the feeding thread
    uint64_t position;
    {
        std::lock_guard lock(mixer.mutex);
        position = mixer.voices[voice.slot].position;
    }
    Sleep(100);
    std::lock_guard lock(mixer.mutex);
    EXPECT_EQ(mixer.voices[voice.slot].position, position) << "mixed after the device went";
    DestroyWindow(window);
}

}  // namespace
