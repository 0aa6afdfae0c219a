#include "platform/win32/win32_sound.h"

#include <string>
#include <utility>

#include "platform/core/mixer.h"
#include "platform/core/silent_sound.h"
#include "platform/report.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/windows_api.h"
// windows_api.h first: these need its types.
#include <mmsystem.h>
// mmsystem.h first: dsound.h uses its wave format.
#include <dsound.h>

namespace {

constexpr DWORD BytesPerFrame = 4;                         // 16-bit stereo
constexpr DWORD BufferBytes = 8192 * BytesPerFrame;        // about 190 ms
constexpr DWORD LeadBytes = MixRate / 20 * BytesPerFrame;  // 50 ms past the write cursor
constexpr DWORD FeedMilliseconds = 10;

// Mixes into the buffer from `written` up to the lead past the write cursor. When the feeder
// fell behind (a stall longer than the lead), it starts again at the write cursor.
void Feed(SoundDevice& device) {
    DWORD play = 0, write = 0;
    if (FAILED(device.stream->GetCurrentPosition(&play, &write))) return;
    DWORD written = device.written;
    DWORD past = (written + BufferBytes - write) % BufferBytes;
    if (past > BufferBytes / 2) written = write, past = 0;  // behind the write cursor
    if (past >= LeadBytes) return;
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0, secondBytes = 0;
    HRESULT result = device.stream->Lock(written, LeadBytes - past, &first, &firstBytes, &second,
                                         &secondBytes, 0);
    if (result == DSERR_BUFFERLOST) {
        device.stream->Restore();
        return;
    }
    if (FAILED(result)) return;
    MixInto(*device.mixer, static_cast<int16_t*>(first),
            static_cast<int>(firstBytes / BytesPerFrame));
    if (second != nullptr)
        MixInto(*device.mixer, static_cast<int16_t*>(second),
                static_cast<int>(secondBytes / BytesPerFrame));
    device.stream->Unlock(first, firstBytes, second, secondBytes);
    device.written = (written + firstBytes + secondBytes) % BufferBytes;
    device.mixedFrames += (firstBytes + secondBytes) / BytesPerFrame;
}

// No sound device: the feeder plays the mixer into nothing, as every ring does then.
std::unique_ptr<SoundDevice> Silent(std::unique_ptr<SoundDevice> device, Mixer& mixer) {
    device->mixer = &mixer;
    SoundDevice* fed = device.get();
    device->feeder = std::thread([fed] {
        SilentSound silence;
        while (!fed->stop) {
            PlaySilently(silence, *fed->mixer, timeGetTime());
            Sleep(FeedMilliseconds);
        }
    });
    return device;
}

}  // namespace

SoundDevice::~SoundDevice() {
    stop = true;
    if (feeder.joinable()) feeder.join();
    if (stream != nullptr) {
        stream->Stop();
        stream->Release();
    }
    if (primary != nullptr) primary->Release();
    if (sound != nullptr) sound->Release();
}

std::unique_ptr<SoundDevice> OpenDirectSound(HWND window, Mixer& mixer) {
    auto device = std::make_unique<SoundDevice>();
    HRESULT result = DirectSoundCreate8(nullptr, &device->sound, nullptr);
    if (FAILED(result)) {
        device->sound = nullptr;
        Report("no sound device (" + HresultText("DirectSoundCreate8", result) +
               "); running silent");
        return Silent(std::move(device), mixer);
    }
    device->sound->SetCooperativeLevel(window, DSSCL_NORMAL);
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (SUCCEEDED(device->sound->CreateSoundBuffer(&description, &device->primary, nullptr))) {
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 2;
        format.nSamplesPerSec = 22050;
        format.nAvgBytesPerSec = 44100;
        format.nBlockAlign = 2;
        format.wBitsPerSample = 8;
        format.cbSize = 0;  // no extra bytes follow a PCM format
        device->primary->SetFormat(&format);
    } else {
        device->primary = nullptr;
    }

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = MixRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = BytesPerFrame;
    format.nAvgBytesPerSec = MixRate * BytesPerFrame;
    DSBUFFERDESC streamDescription{};
    streamDescription.dwSize = sizeof streamDescription;
    streamDescription.dwFlags = DSBCAPS_GETCURRENTPOSITION2;
    streamDescription.dwBufferBytes = BufferBytes;
    streamDescription.lpwfxFormat = &format;
    result = device->sound->CreateSoundBuffer(&streamDescription, &device->stream, nullptr);
    if (FAILED(result)) {
        device->stream = nullptr;
        Report("no sound buffer (" + HresultText("CreateSoundBuffer", result) +
               "); running silent");
        return Silent(std::move(device), mixer);
    }
    device->mixer = &mixer;
    Feed(*device);
    device->stream->Play(0, 0, DSBPLAY_LOOPING);
    SoundDevice* fed = device.get();
    device->feeder = std::thread([fed] {
        while (!fed->stop) {
            Feed(*fed);
            Sleep(FeedMilliseconds);
        }
    });
    return device;
}
