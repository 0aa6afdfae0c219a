// The game's window on SDL2: one resizable window with an OpenGL 3.3 core context, the message
// pump, the keyboard and the game controllers, time, the message box and the audio device.
#pragma once

#include <memory>
#include <string>

#include "platform/ring.h"

struct SDL_Window;

// The game's message box, owned by `owner` (or by no window when null).
void ShowSdlBox(SDL_Window* owner, const std::string& text, const std::string& caption);

class SdlHost : public GameWindow {
  public:
    ~SdlHost() override;
    // Opens the window titled `title` with a client area of width x height; null on failure.
    static std::unique_ptr<SdlHost> Create(const std::string& title, int width, int height);

    // The drawing device on the window's GL context; null (with `error`) when it cannot be made.
    std::unique_ptr<Device> CreateDevice(std::string& error) override;
    // Opens the default audio device at 44100 Hz, 16 bits, 2 channels, playing gameMixer; falls
    // back to a silent device when there is no sound hardware.
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
    uint32_t audioDevice_ = 0;
    bool fullscreen_ = false;  // as the F11 presses left it
    uint32_t toggledAt_ = 0;
    bool x11Keys_ = false;  // F11 presses are counted from X's own key events
    bool f11Up_ = true;
};
