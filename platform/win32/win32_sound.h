// The DirectSound 8 device with its primary buffer, made once and kept while the game runs; the
// game plays no sound.
#pragma once

#include <memory>

using HWND = struct HWND__*;
struct IDirectSound8;
struct IDirectSoundBuffer;

struct SoundDevice {
    IDirectSound8* sound = nullptr;
    IDirectSoundBuffer* primary = nullptr;
    ~SoundDevice();
};

// The default playback device at 22050 Hz, 2 channels, 8 bits; null (having said so) on a
// machine without sound, which then runs silent.
std::unique_ptr<SoundDevice> OpenDirectSound(HWND window);
