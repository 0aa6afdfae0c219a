// Reading what callers hand the device: values at any alignment in packed vertices, and colours
// packed as ARGB in 32 bits.
#pragma once

#include <cstdint>
#include <cstring>
#include <glm/vec4.hpp>

template <typename T>
T Load(const uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The colour as RGBA bytes, the order the vertex arrays read.
inline void RgbaBytes(uint32_t argb, uint8_t (&rgba)[4]) {
    rgba[0] = static_cast<uint8_t>(argb >> 16);
    rgba[1] = static_cast<uint8_t>(argb >> 8);
    rgba[2] = static_cast<uint8_t>(argb);
    rgba[3] = static_cast<uint8_t>(argb >> 24);
}

// The colour as RGBA from 0 to 1.
inline glm::vec4 RgbaFloats(uint32_t argb) {
    return glm::vec4(((argb >> 16) & 0xff) / 255.0f, ((argb >> 8) & 0xff) / 255.0f,
                     (argb & 0xff) / 255.0f, ((argb >> 24) & 0xff) / 255.0f);
}
