// The game's window on SDL2: one resizable window with an OpenGL 3.3 core context, the message
// pump and time. Its keyboard, pads, sound, message box and F11 live in sdl_*.cpp beside it.
#pragma once

#include <memory>
#include <string>

#include "platform/ring.h"
#include "platform/sdl/sdl_fullscreen.h"

class SdlHost : public GameWindow {
  public:
    ~SdlHost() override;
    // Opens the window titled `title` with a client area of width x height; null on failure.
    static std::unique_ptr<SdlHost> Create(const std::string& title, int width, int height);

    // The drawing device on the window's GL context; null (with `error`) when it cannot be made.
    std::unique_ptr<Device> CreateDevice(std::string& error) override;
    void OpenAudio() override;
    FrameInput ReadInput() override;
    void GoFullscreen() override;

    bool PumpMessages() override;
    uint32_t Ticks() override;
    void Sleep(uint32_t milliseconds) override;
    void ShowMessageBox(const std::string& text, const std::string& caption) override;

  private:
    SdlHost() = default;
    SDL_Window* window_ = nullptr;
    void* glContext_ = nullptr;
    FullscreenSwitch fullscreen_;
};
