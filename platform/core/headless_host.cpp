#include "platform/core/headless_host.h"

#include "platform/seam.h"

namespace {
HeadlessHost* current = nullptr;

bool ScriptedKey(int virtualKey) {
    return current->EventKeyDown(virtualKey) ||
           (current->keys && current->keys(current->frame, virtualKey));
}
}  // namespace

HeadlessHost::HeadlessHost() { host = this; }

HeadlessHost::~HeadlessHost() {
    if (host == this) host = nullptr;
}

FrameInput HeadlessHost::ReadInput() {
    current = this;
    return ReadFrameInput(ScriptedKey);
}

bool HeadlessHost::PumpMessages() {
    ++frame;
    pressedSincePump_.clear();
    clock += frameCost;
    if (onFrame) onFrame(frame);
    return closeAtFrame >= 0 && frame >= closeAtFrame;
}

uint32_t HeadlessHost::Ticks() { return clock; }

void HeadlessHost::Sleep(uint32_t milliseconds) {
    clock += milliseconds;
    sleptTotal += milliseconds;
}

void HeadlessHost::ShowMessageBox(const std::string& text, const std::string& caption) {
    messageBoxes.emplace_back(text, caption);
}

void HeadlessHost::Press(int virtualKey) {
    down_.insert(virtualKey);
    pressedSincePump_.insert(virtualKey);
}

void HeadlessHost::Release(int virtualKey) { down_.erase(virtualKey); }

bool HeadlessHost::EventKeyDown(int virtualKey) const {
    return down_.count(virtualKey) > 0 || pressedSincePump_.count(virtualKey) > 0;
}
