// One session: the menu's demonstration or a game, frame by frame until something ends it.
#pragma once

#include <cstdint>

enum SessionResult : int32_t {
    Advance = 0,
    Back = 1,
    Closed = 2,
};

// Menu and Escape state that outlives every session.
struct MenuLatches {
    int32_t menuSelection = 0;  // 0 the first entry, 1 the second
    int32_t cursorOffset = 0;   // 0 to 50 pixels below the first entry
    bool menuKeysReleased = false;
    bool escapeReleased = false;
};
extern MenuLatches menuLatches;

// The seed of each session's random sequence: the calendar time, unless a test or replay fixes it.
extern uint32_t (*sessionSeed)();
uint32_t CalendarSeed();

constexpr uint32_t FrameMilliseconds = 50;

SessionResult RunSession();
