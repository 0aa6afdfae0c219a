// The DirectSound 8 device with its primary buffer as designed, and a streaming secondary buffer
// that plays a mixer: a thread of its own keeps it filled a little ahead of the play cursor.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

using HWND = struct HWND__*;
struct IDirectSound8;
struct IDirectSoundBuffer;
struct Mixer;

struct SoundDevice {
    IDirectSound8* sound = nullptr;
    IDirectSoundBuffer* primary = nullptr;
    IDirectSoundBuffer* stream = nullptr;
    Mixer* mixer = nullptr;
    // The byte in `stream` up to which mixed sound has been written.
    std::atomic<uint32_t> written{0};
    std::atomic<uint64_t> mixedFrames{0};
    std::atomic<bool> stop{false};
    std::thread feeder;
    ~SoundDevice();
};

// The default playback device: its primary buffer at 22050 Hz, 2 channels, 8 bits (only a hint
// to the system), and `mixer` streamed at 44100 Hz, 16 bits, stereo. On a machine without sound
// (having said so) `stream` is null and the mixer is played into nothing.
std::unique_ptr<SoundDevice> OpenDirectSound(HWND window, Mixer& mixer);
