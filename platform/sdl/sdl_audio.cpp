#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/core/mixer.h"
#include "platform/report.h"

namespace {

// SDL's audio thread asks for the next samples: 16-bit stereo frames, four bytes each.
void Mix(void*, Uint8* stream, int length) {
    MixInto(gameMixer, reinterpret_cast<int16_t*>(stream), length / 4);
}

// Sound libraries write their own complaints to stderr when there is no sound card; the game says
// it in one line of its own instead.
int SilenceStderr() {
    std::fflush(stderr);
    int saved = dup(STDERR_FILENO);
    int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDERR_FILENO);
        close(null);
    }
    return saved;
}

void RestoreStderr(int saved) {
    if (saved < 0) return;
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
}

}  // namespace

uint32_t OpenSdlAudio() {
    SDL_AudioSpec wanted{};
    wanted.freq = MixRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;  // 23 ms: a shot is heard in the frame it is fired
    wanted.callback = Mix;
    SDL_AudioSpec obtained{};
    SDL_AudioDeviceID device = 0;
    int saved = SilenceStderr();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
        device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    std::string reason = device == 0 ? SDL_GetError() : "";
    if (device == 0) {
        // No sound hardware: a silent device keeps the program's behaviour the same.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (SDL_AudioInit("dummy") == 0)
            device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    }
    RestoreStderr(saved);
    if (!reason.empty()) Report("no audio device (" + reason + "); running silent");
    if (device != 0) SDL_PauseAudioDevice(device, 0);
    return device;
}

void CloseSdlAudio(uint32_t device) {
    if (device != 0) SDL_CloseAudioDevice(device);
}
