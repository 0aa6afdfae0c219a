// A host with no window and no sleeping: a virtual clock, scripted keys per frame and a scripted
// close, so whole sessions run thousands of frames in seconds.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/host.h"

struct HeadlessHost : Host {
    // Frames pumped so far (the pump runs once at the top of every frame).
    int frame = 0;
    // The window closes at the pump of this frame (never when negative).
    int closeAtFrame = -1;
    // Which keys are held in frame `frame`; none when empty.
    std::function<bool(int frame, int virtualKey)> keys;
    // Called at every pump after the frame count advances, before keys are read; tests use it to
    // look at or change the world between frames.
    std::function<void(int frame)> onFrame;
    // The virtual clock, advanced only by Sleep and by `frameCost` per frame.
    uint32_t clock = 0;
    uint32_t frameCost = 0;
    uint32_t sleptTotal = 0;
    std::vector<std::pair<std::string, std::string>> messageBoxes;

    // Key events as a keyboard sends them, besides `keys`: a key pressed and released again
    // before the next pump still reads as down until that pump, once, as on the real window.
    void Press(int virtualKey);
    void Release(int virtualKey);
    bool EventKeyDown(int virtualKey) const;

    HeadlessHost();
    ~HeadlessHost() override;
    bool PumpMessages() override;
    FrameInput ReadInput() override;
    uint32_t Ticks() override;
    void Sleep(uint32_t milliseconds) override;
    void ShowMessageBox(const std::string& text, const std::string& caption) override;

  private:
    std::set<int> down_, pressedSincePump_;
};
