// The distance between two objects, as every range test in the game measures it.
#pragma once

#include <cmath>

#include "world/records.h"

// Single precision throughout: the differences, the rounded sum, then the root.
inline float Distance(const GameObject& a, const GameObject& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    const float sum = dx * dx + dy * dy + dz * dz;
    return std::sqrt(sum);
}
