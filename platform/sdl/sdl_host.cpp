#include "platform/sdl/sdl_host.h"

#include <SDL.h>
#include <malloc.h>

#include <string>

#include "platform/sdl/gl_device.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/single_instance.h"

namespace {

// SDL falls back to drivers that show nothing when no display can be reached; the game would
// then run unseen. They are used only when asked for by name (the tests do).
const char* NoVisibleWindow() {
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (asked != nullptr && *asked != 0) return nullptr;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return "no video driver";
    if (SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0) return nullptr;
    const char* display = SDL_getenv("DISPLAY");
    if (display == nullptr || *display == 0) return "no display (DISPLAY is not set)";
    static std::string why;
    why = std::string("no display (the X server at DISPLAY=") + display + " cannot be reached)";
    return why.c_str();
}

}  // namespace

std::unique_ptr<SdlHost> SdlHost::Create(const std::string& title, int width, int height) {
    // Mesa's software renderer churns glibc's allocator when textures change between draws;
    // higher thresholds keep that memory mapped instead of returning it every frame.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return nullptr;
    if (const char* why = NoVisibleWindow()) {
        std::string reason = why;
        SDL_Quit();
        SDL_SetError("%s", reason.c_str());
        return nullptr;
    }
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
    WatchFullscreenKey(created->fullscreen_, window);
    OpenPads();
    return created;
}

SdlHost::~SdlHost() {
    ClosePads();
    bool audioFree = CloseAudio();
    if (glContext_ != nullptr) SDL_GL_DeleteContext(glContext_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (audioFree)
        SDL_Quit();
    else
        SDL_QuitSubSystem(SDL_INIT_EVERYTHING & ~SDL_INIT_AUDIO);
}

std::unique_ptr<Device> SdlHost::CreateDevice(std::string& error) {
    glContext_ = SDL_GL_CreateContext(window_);
    std::unique_ptr<Device> created;
    if (glContext_ == nullptr)
        error = SDL_GetError();
    else {
        SDL_GL_SetSwapInterval(0);  // the frame loop paces itself
        created = CreateGLDevice(window_, error);
    }
    if (created == nullptr) error = "OpenGL 3.3 could not be started: " + error;
    return created;
}

void SdlHost::OpenAudio() { StartOpeningAudio(); }

bool SdlHost::PumpMessages() {
    SDL_Event event;
    BeginKeyPump();
    BeginPadPump();
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) return true;
        if (TakePadEvent(event)) continue;
        TakeKeyEvent(event);
        TakeFullscreenEvent(fullscreen_, event);
    }
    EndPadPump();
    KeepFullscreen(fullscreen_);
    TendAudio();
    if (TakeShowRequest()) {
        SDL_ShowWindow(window_);
        SDL_RestoreWindow(window_);
        SDL_RaiseWindow(window_);
    }
    return false;
}

FrameInput SdlHost::ReadInput() { return ReadFrameInput(SdlKeyDown); }

void SdlHost::GoFullscreen() { SetFullscreen(fullscreen_, true); }

uint32_t SdlHost::Ticks() { return SDL_GetTicks(); }

void SdlHost::Sleep(uint32_t milliseconds) { SDL_Delay(milliseconds); }

void SdlHost::ShowMessageBox(const std::string& text, const std::string& caption) {
    ShowSdlMessageBox(window_, text, caption);
}
