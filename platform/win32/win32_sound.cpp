#include "platform/win32/win32_sound.h"

#include <cstdio>
#include <string>

#include "platform/report.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// windows.h first: these need its types.
#include <mmsystem.h>
// mmsystem.h first: dsound.h uses its wave format.
#include <dsound.h>

SoundDevice::~SoundDevice() {
    if (primary != nullptr) primary->Release();
    if (sound != nullptr) sound->Release();
}

std::unique_ptr<SoundDevice> OpenDirectSound(HWND window) {
    auto device = std::make_unique<SoundDevice>();
    HRESULT result = DirectSoundCreate8(nullptr, &device->sound, nullptr);
    if (FAILED(result)) {
        device->sound = nullptr;
        char code[16];
        std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(result));
        Report(std::string("no sound device (DirectSoundCreate8 0x") + code + "); running silent");
        return nullptr;
    }
    device->sound->SetCooperativeLevel(window, DSSCL_NORMAL);
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (FAILED(device->sound->CreateSoundBuffer(&description, &device->primary, nullptr))) {
        device->primary = nullptr;
        return device;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 22050;
    format.nAvgBytesPerSec = 44100;
    format.nBlockAlign = 2;
    format.wBitsPerSample = 8;
    format.cbSize = 0;  // no extra bytes follow a PCM format
    device->primary->SetFormat(&format);
    return device;
}
