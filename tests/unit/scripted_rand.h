// Scripted random draws for the gameplay tests: the world's generator swapped for one that gives
// the scripted draws first, then the seeded sequence, and counts every draw.
#pragma once

#include <deque>
#include <vector>

#include "platform/seam.h"

namespace scripted_rand {
inline std::deque<int> queue;
inline int count = 0;
inline int Next() {
    ++count;
    if (queue.empty()) return SeededRand();
    int draw = queue.front();
    queue.pop_front();
    return draw;
}
}  // namespace scripted_rand

// The next draws come from `draws`, in order; draws are counted from here.
inline void ScriptRand(std::vector<int> draws) {
    scripted_rand::queue.assign(draws.begin(), draws.end());
    scripted_rand::count = 0;
    randGenerator = scripted_rand::Next;
}
inline int RandDrawCount() { return scripted_rand::count; }
inline int ScriptedDrawsLeft() { return static_cast<int>(scripted_rand::queue.size()); }
// The seeded sequence alone again.
inline void UnscriptRand() {
    scripted_rand::queue.clear();
    randGenerator = SeededRand;
}
