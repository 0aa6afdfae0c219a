// The game's start-up as app/main.cpp does it, and a bare SDL window with a GL context made the
// same way, for the start-up and memory benchmarks. Both run in a process of their own.
#pragma once

#include <SDL.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/device.h"
#include "platform/host.h"
#include "platform/sdl/sdl_host.h"

// Forwards to the game's window, counts frames at the pump, closes the window after
// `lastFrame`, and does not sleep: every frame is still drawn and presented, only unpaced.
struct CountingHost : Host {
    SdlHost* window = nullptr;
    int frame = 0;
    int lastFrame = 1;
    std::function<void(int frame)> onFrame;  // called at the pump of each frame, from 1

    bool PumpMessages() override;
    FrameInput ReadInput() override { return window->ReadInput(); }
    uint32_t Ticks() override { return window->Ticks(); }
    void Sleep(uint32_t) override {}
    void ShowMessageBox(const std::string& text, const std::string& caption) override {
        window->ShowMessageBox(text, caption);
    }
};

struct StartedGame {
    std::unique_ptr<SdlHost> window;
    std::unique_ptr<Device> device;
};

// The data folder, the window, the device, the fixed render states and lights, and the sound
// device, as main() makes them; false with a message on stderr when one fails. The single
// instance claim is left out: other copies of the game may be running on this machine.
// `mark`, when given, is called after each step: "window", "device", "states", "audio".
bool StartGame(StartedGame& game, void (*mark)(const char* step) = nullptr);

// SDL_Init, the window and the GL 3.3 core context with the game's attributes and flags.
struct BareWindow {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
};
bool OpenBareWindow(BareWindow& bare);
// Clears the window's framebuffer to black and swaps.
void PresentBareFrame(const BareWindow& bare);
void CloseBareWindow(BareWindow& bare);
