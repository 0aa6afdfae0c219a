#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstdarg>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/core/mixer.h"
#include "platform/core/silent_sound.h"
#include "platform/report.h"

namespace {

constexpr Uint32 OpenPatienceMs = 1000;

// What the opening thread found, shared with the game; the thread keeps it alive for as long as
// it may still write to it, so the game can leave without waiting.
struct Opening {
    std::mutex mutex;
    bool finished = false;   // the thread is out of SDL's audio code
    bool abandoned = false;  // the game no longer waits for it
    SDL_AudioDeviceID device = 0;
    std::string failure;  // why no device could be opened
};

std::shared_ptr<Opening> opening;
std::thread opener;
Uint32 openingSince = 0;
bool waiting = false;  // for the opening thread's answer
bool silent = false;
SilentSound silence;

// SDL's audio thread asks for the next samples: 16-bit stereo frames, four bytes each.
void Mix(void*, Uint8* stream, int length) {
    MixInto(gameMixer, reinterpret_cast<int16_t*>(stream), length / 4);
}

// ALSA writes its own complaints to stderr when there is no sound card; the game says it in one
// line of its own instead. Its thread-local handler quiets this thread alone, and only the ALSA
// that SDL has already loaded is looked up.
void QuietAlsaOnThisThread() {
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (alsa == nullptr) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, va_list);
    using SetLocal = Handler (*)(Handler);
    if (auto set = reinterpret_cast<SetLocal>(dlsym(alsa, "snd_lib_error_set_local")))
        set([](const char*, int, const char*, int, const char*, va_list) {});
    dlclose(alsa);
}

// The disk driver announces itself as critical at every open; other categories pass through.
SDL_LogOutputFunction defaultLog = nullptr;
void* defaultLogData = nullptr;
void LogAllButAudio(void*, int category, SDL_LogPriority priority, const char* message) {
    if (category != SDL_LOG_CATEGORY_AUDIO && defaultLog != nullptr)
        defaultLog(defaultLogData, category, priority, message);
}

bool Abandoned(Opening& shared) {
    std::lock_guard<std::mutex> lock(shared.mutex);
    return shared.abandoned;
}

SDL_AudioDeviceID OpenDevice() {
    if (SDL_GetCurrentAudioDriver() != nullptr &&
        SDL_strcmp(SDL_GetCurrentAudioDriver(), "alsa") == 0)
        QuietAlsaOnThisThread();
    SDL_AudioSpec wanted{};
    wanted.freq = MixRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;  // 23 ms: a shot is heard in the frame it is fired
    wanted.callback = Mix;
    SDL_AudioSpec obtained{};
    return SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
}

// On the opening thread. Opened paused: only the game starts the device, once it has taken it.
void Open(const std::shared_ptr<Opening>& shared) {
    SDL_AudioDeviceID device = 0;
    std::string failure;
    if (SDL_AudioInit(nullptr) != 0)
        failure = SDL_GetError();
    else if (!Abandoned(*shared) && (device = OpenDevice()) == 0)
        failure = SDL_GetError();
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->device = device;
    shared->failure = failure;
    shared->finished = true;
}

}  // namespace

void StartOpeningAudio() {
    if (opening != nullptr) return;
    if (defaultLog == nullptr) {
        SDL_LogGetOutputFunction(&defaultLog, &defaultLogData);
        SDL_LogSetOutputFunction(LogAllButAudio, nullptr);
    }
    opening = std::make_shared<Opening>();
    openingSince = SDL_GetTicks();
    waiting = true;
    opener = std::thread(Open, opening);
}

void TendAudio() {
    if (silent) PlaySilently(silence, gameMixer, SDL_GetTicks());
    if (!waiting) return;
    std::lock_guard<std::mutex> lock(opening->mutex);
    if (opening->finished) {
        waiting = false;
        if (opening->device != 0)
            SDL_PauseAudioDevice(opening->device, 0);
        else
            Report("no audio device (" + opening->failure + "); running silent");
    } else if (SDL_GetTicks() - openingSince >= OpenPatienceMs) {
        waiting = false;
        opening->abandoned = true;
        Report("the audio device did not answer within a second; running silent");
    }
    silent = !waiting && opening->device == 0;
}

bool CloseAudio() {
    if (opening == nullptr) return true;
    bool finished = false;
    {
        std::lock_guard<std::mutex> lock(opening->mutex);
        opening->abandoned = true;
        finished = opening->finished;
    }
    waiting = silent = false;
    silence = {};
    if (!finished) {
        opener.detach();
        opening = nullptr;
        return false;
    }
    opener.join();
    if (opening->device != 0) SDL_CloseAudioDevice(opening->device);
    opening = nullptr;
    return true;
}
