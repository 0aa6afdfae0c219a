#include "bench/frame/start_sequence.h"

#include <epoxy/gl.h>

#include <cstdio>

#include "app/screen_sprites.h"
#include "platform/core/data_folder.h"
#include "platform/core/image_file.h"
#include "platform/ring.h"
#include "render/render_states.h"

bool CountingHost::PumpMessages() {
    ++frame;
    if (onFrame) onFrame(frame);
    bool closed = window->PumpMessages();
    return closed || frame > lastFrame;
}

bool StartGame(StartedGame& game, void (*mark)(const char* step)) {
    auto step = [mark](const char* name) {
        if (mark != nullptr) mark(name);
    };
    EnterDataFolder(ExecutableFolder());
    PrefetchImages(GameImageFiles());
    game.window = SdlHost::Create("Marvaze", 640, 480);
    if (game.window == nullptr) return false;
    host = game.window.get();
    step("window");
    std::string error;
    game.device = game.window->CreateDevice(error);
    if (game.device == nullptr) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return false;
    }
    device = game.device.get();
    step("device");
    InitRenderStates();
    InitLights();
    step("states");
    game.window->OpenAudio();
    step("audio");
    return true;
}

bool OpenBareWindow(BareWindow& bare) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    bare.window = SDL_CreateWindow(
        "Marvaze", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480,
        SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (bare.window == nullptr) return false;
    bare.context = SDL_GL_CreateContext(bare.window);
    if (bare.context == nullptr) return false;
    SDL_GL_SetSwapInterval(0);
    return true;
}

void PresentBareFrame(const BareWindow& bare) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(bare.window);
}

void CloseBareWindow(BareWindow& bare) {
    if (bare.context != nullptr) SDL_GL_DeleteContext(bare.context);
    if (bare.window != nullptr) SDL_DestroyWindow(bare.window);
    SDL_Quit();
    bare = BareWindow{};
}
