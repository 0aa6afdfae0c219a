// The only platform services the world rules use: one random sequence and the keyboard.
#pragma once

#include <cstdint>
#include <vector>

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

constexpr int RAND_LIMIT = 0x7fff;

// The next draw of the process-wide sequence, 0 to RAND_LIMIT.
int Rand();
// Restarts the sequence; the session seeds it with the calendar time.
void SeedRand(uint32_t seed);
// Tests: the next draws come from `draws`, in order, before the seeded sequence resumes.
void ScriptRand(std::vector<int> draws);
// Draws taken since the last SeedRand or ScriptRand, scripted or not.
int RandDrawCount();
// Scripted draws not yet taken.
int ScriptedDrawsLeft();

// True while the key is held.
bool KeyDown(int virtualKey);
using KeySource = bool (*)(int virtualKey);
// The host that owns the keyboard installs its reader here.
void SetKeySource(KeySource source);
