// The only platform services the world rules use: one random sequence, the keyboard, and a
// listener told what happens (the app makes sound of it).
#pragma once

#include <cstdint>

// Virtual-key codes, as the keyboard is polled.
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_W = 0x57;
constexpr int VK_S = 0x53;
constexpr int VK_M = 0x4D;

constexpr int RAND_LIMIT = 0x7fff;

// Restarts the process-wide sequence; the session seeds it with the calendar time.
void SeedRand(uint32_t seed);
// The next draw of the seeded sequence, 0 to RAND_LIMIT.
int SeededRand();
// Where every random draw of the world comes from: the seeded sequence, unless a test swaps in a
// generator of its own (as the session's seed is swapped).
extern int (*randGenerator)();
inline int Rand() { return randGenerator(); }

// The keys the game reads, one bit each.
enum InputKey : uint16_t {
    InputUp = 1u << 0,
    InputDown = 1u << 1,
    InputLeft = 1u << 2,
    InputRight = 1u << 3,
    InputW = 1u << 4,
    InputS = 1u << 5,
    InputEnter = 1u << 6,
    InputSpace = 1u << 7,
    InputEscape = 1u << 8,
    InputM = 1u << 9,  // sound on and off: not the world's
};
// The keys the world and the menu read (M is the sound's alone): what a demo records.
constexpr uint16_t WorldInputKeys = 0x1ff;

// One frame's input, read once right after the message pump: every key the game reads that was
// held then, or pressed at any moment since the pump before (a tap between two frames counts).
struct FrameInput {
    uint16_t keys = 0;
    bool operator==(const FrameInput&) const = default;
};

// The bit of `virtualKey`; 0 for a key the game does not read.
uint16_t InputBit(int virtualKey);

// The input of the frame being run, as the world sees it: the keyboard's, or a demo's.
extern FrameInput frameInput;
// True while the key is held in this frame's input.
inline bool KeyDown(int virtualKey) { return (frameInput.keys & InputBit(virtualKey)) != 0; }

using KeySource = bool (*)(int virtualKey);
// Polls every key the game reads through `source` into one record.
FrameInput ReadFrameInput(KeySource source);

// What the world tells a listener. It is told after the fact and changes nothing: the world draws
// no random number for it and behaves the same with a listener or without.
enum WorldEventKind : int32_t {
    PlayerShot = 0,    // the head of the list fired (the player, or the demonstration's pilot)
    AircraftShot = 1,  // any other aircraft fired
    WarshipShot = 2,
    GunnerShot = 3,       // a bomber's gunner fired
    HitExplosion = 4,     // something was hit: a collision or a shot caught
    CrashExplosion = 5,   // a wreck burning as it falls, or something meeting the surface
    AircraftRemoved = 6,  // a dead aircraft left the list in its last explosion
    BomberDown = 7,       // a bomber's health has just fallen below 1
};

struct WorldEvent {
    WorldEventKind kind;
    float x, y, z;       // where it happened (the shooter's or the source's place)
    const void* source;  // the object it came from: tells one shooter from another
};

using WorldEventListener = void (*)(const WorldEvent& event);
// Null (the default) stops the telling; tests and the soak run without one.
void SetWorldEventListener(WorldEventListener listener);

namespace seam_detail {
extern WorldEventListener worldEventListener;
}

// True when someone listens; the world tests it before working anything out for an event.
inline bool WorldHeard() { return seam_detail::worldEventListener != nullptr; }

// With no listener this is one test of a pointer.
inline void TellWorld(WorldEventKind kind, float x, float y, float z, const void* source) {
    if (seam_detail::worldEventListener != nullptr)
        seam_detail::worldEventListener(WorldEvent{kind, x, y, z, source});
}
