// What each platform ring supplies to the one start-up in app/main.cpp: the Linux ring builds it
// on SDL2 and OpenGL, the Windows ring on Win32, Direct3D 9 and DirectSound, the browser ring on
// html5.h, WebGL 2 and Web Audio.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/device.h"
#include "platform/host.h"
#include "platform/seam.h"

// The game's one window: the host of the session loop, with its keyboard (gamepads read as keys
// too), its drawing device and its sound device.
class GameWindow : public Host {
  public:
    // The drawing device on the window; null (with `error`) when it cannot be made.
    virtual std::unique_ptr<Device> CreateDevice(std::string& error) = 0;
    // The sound device, playing the process's mixer (gameMixer, platform/core/mixer.h) from its
    // audio thread; a machine without sound runs silent, its mixer played into nothing
    // (platform/core/silent_sound.h).
    virtual void OpenAudio() = 0;
    // Borderless fullscreen, as an F11 press gives; the next F11 returns to the window.
    virtual void GoFullscreen() = 0;
};

// True when this process is the only copy of the game, also among copies started at the same
// instant. False when another copy runs; that copy has been brought to the front.
bool ClaimSingleInstance();
// A box with no window to own it, for what stops the game before its window is made.
void ShowBoxWithoutWindow(const std::string& text, const std::string& caption);
// The folder that holds the running executable; empty when the system does not say.
std::filesystem::path ExecutableFolder();
// The window titled `title` with a client area of `width` x `height`; null (with `error`) when
// it cannot be made.
std::unique_ptr<GameWindow> OpenGameWindow(const std::string& title, int width, int height,
                                           std::string& error);
