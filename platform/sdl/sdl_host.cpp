#include "platform/sdl/sdl_host.h"

#include <SDL.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>

#include "platform/report.h"
#include "platform/sdl/gl_device.h"
#include "platform/sdl/single_instance.h"
#include "platform/seam.h"

namespace {

SDL_Scancode ScancodeOf(int virtualKey) {
    switch (virtualKey) {
        case VK_RETURN:
            return SDL_SCANCODE_RETURN;
        case VK_ESCAPE:
            return SDL_SCANCODE_ESCAPE;
        case VK_SPACE:
            return SDL_SCANCODE_SPACE;
        case VK_LEFT:
            return SDL_SCANCODE_LEFT;
        case VK_UP:
            return SDL_SCANCODE_UP;
        case VK_RIGHT:
            return SDL_SCANCODE_RIGHT;
        case VK_DOWN:
            return SDL_SCANCODE_DOWN;
        case VK_W:
            return SDL_SCANCODE_W;
        case VK_S:
            return SDL_SCANCODE_S;
        default:
            return SDL_SCANCODE_UNKNOWN;
    }
}

// The keyboard as SDL saw it at the last pump.
bool SdlKeyDown(int virtualKey) {
    SDL_Scancode code = ScancodeOf(virtualKey);
    if (code == SDL_SCANCODE_UNKNOWN) return false;
    return SDL_GetKeyboardState(nullptr)[code] != 0;
}

void Silence(void*, Uint8* stream, int length) { SDL_memset(stream, 0x80, length); }

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

bool IsFullscreenToggle(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN && event.key.repeat == 0 &&
           event.key.keysym.scancode == SDL_SCANCODE_F11;
}

}  // namespace

std::unique_ptr<SdlHost> SdlHost::Create(const std::string& title, int width, int height) {
    // Mesa's software renderer churns glibc's allocator when textures change between draws;
    // higher thresholds keep that memory mapped instead of returning it every frame.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return nullptr;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow(
        title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
        SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window == nullptr) return nullptr;
    std::unique_ptr<SdlHost> created(new SdlHost);
    created->window_ = window;
    return created;
}

SdlHost::~SdlHost() {
    if (audioDevice_ != 0) SDL_CloseAudioDevice(audioDevice_);
    if (glContext_ != nullptr) SDL_GL_DeleteContext(glContext_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_Quit();
}

std::unique_ptr<Device> SdlHost::CreateDevice(std::string& error) {
    glContext_ = SDL_GL_CreateContext(window_);
    if (glContext_ == nullptr) {
        error = SDL_GetError();
        return nullptr;
    }
    SDL_GL_SetSwapInterval(0);  // the frame loop paces itself
    return CreateGLDevice(window_, error);
}

void SdlHost::OpenAudio() {
    SDL_AudioSpec wanted{};
    wanted.freq = 22050;
    wanted.format = AUDIO_U8;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = Silence;
    SDL_AudioSpec obtained{};
    int saved = SilenceStderr();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
        audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    std::string reason = audioDevice_ == 0 ? SDL_GetError() : "";
    if (audioDevice_ == 0) {
        // No sound hardware: a silent device keeps the program's behaviour the same.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (SDL_AudioInit("dummy") == 0)
            audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    }
    RestoreStderr(saved);
    if (!reason.empty()) Report("no audio device (" + reason + "); running silent");
    if (audioDevice_ != 0) SDL_PauseAudioDevice(audioDevice_, 0);
}

bool SdlHost::PumpMessages() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) return true;
        if (IsFullscreenToggle(event)) {
            bool fullscreen = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
            SDL_SetWindowFullscreen(window_, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
        }
    }
    if (TakeShowRequest()) {
        SDL_ShowWindow(window_);
        SDL_RestoreWindow(window_);
        SDL_RaiseWindow(window_);
    }
    return false;
}

KeySource SdlHost::Keys() const { return SdlKeyDown; }

uint32_t SdlHost::Ticks() { return SDL_GetTicks(); }

void SdlHost::Sleep(uint32_t milliseconds) { SDL_Delay(milliseconds); }

void SdlHost::ShowMessageBox(const std::string& text, const std::string& caption) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), window_) != 0)
        Report(caption + ": " + text + " (" + SDL_GetError() + ")");
}
