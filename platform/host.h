// The window and the operating system as the session loop sees them: the message pump, time,
// sleeping and the message box. The game's windows are made by the platform rings (ring.h); tests
// run on a headless host.
#pragma once

#include <cstdint>
#include <string>

#include "platform/seam.h"

class Host {
  public:
    virtual ~Host() = default;
    // Handles every pending message; true when the window has been closed (the quit message).
    virtual bool PumpMessages() = 0;
    // The keyboard and the pads as the keys the game reads, held at the last pump or pressed at
    // any moment since the pump before it: read once a frame, right after PumpMessages.
    virtual FrameInput ReadInput() = 0;
    // Milliseconds since an arbitrary start, wrapping at 32 bits.
    virtual uint32_t Ticks() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // A modal box with one OK button, owned by the window; texts are UTF-8.
    virtual void ShowMessageBox(const std::string& text, const std::string& caption) = 0;
};

// The process's host: the game's window, or a test's headless host.
extern Host* host;
