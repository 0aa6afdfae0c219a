// Colours read back from a device, as both rings' tests compare them.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <ostream>

#include "platform/core/image_file.h"

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

inline Rgb PixelAt(const Image& image, int x, int y) {
    const uint8_t* p = &image.rgba[(size_t(y) * image.width + x) * 4];
    return {p[0], p[1], p[2]};
}

// Within `tolerance` in every channel (blending rounds differently between renderers).
inline bool Near(Rgb a, Rgb b, int tolerance = 1) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}
