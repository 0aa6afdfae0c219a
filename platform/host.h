// The window and the operating system as the session loop sees them: the message pump, time,
// sleeping and the message box. Two hosts exist: the SDL window and a headless one for tests.
#pragma once

#include <cstdint>
#include <string>

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
