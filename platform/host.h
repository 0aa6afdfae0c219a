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
    // Milliseconds since an arbitrary start, wrapping at 32 bits.
    virtual uint32_t Ticks() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // A modal box with one OK button, owned by the window; texts are UTF-8.
    virtual void ShowMessageBox(const std::string& text, const std::string& caption) = 0;
};

extern Host* host;

// The one place that wires the process globals of a host: `host` and the seam's keyboard. The
// start-up calls it for the game's window, a test for its headless host; null clears both.
void InstallHost(Host* installed, KeySource keys);
