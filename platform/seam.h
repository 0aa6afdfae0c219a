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

// True while the key is held.
bool KeyDown(int virtualKey);
using KeySource = bool (*)(int virtualKey);
// The host that owns the keyboard installs its reader here.
void SetKeySource(KeySource source);

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
