// The Linux ring's part of the start-up; the single-instance claim is in single_instance.cpp.
#include <SDL.h>

#include "platform/ring.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/sdl_message_box.h"

void ShowBoxWithoutWindow(const std::string& text, const std::string& caption) {
    ShowSdlMessageBox(nullptr, text, caption);
}

std::filesystem::path ExecutableFolder() {
    char* base = SDL_GetBasePath();
    if (base == nullptr) return {};
    std::filesystem::path folder = std::filesystem::path(base).parent_path();  // drops the '/'
    SDL_free(base);
    return folder;
}

std::unique_ptr<GameWindow> OpenGameWindow(const std::string& title, int width, int height,
                                           std::string& error) {
    std::unique_ptr<SdlHost> window = SdlHost::Create(title, width, height);
    if (window == nullptr) error = SDL_GetError();
    return window;
}
