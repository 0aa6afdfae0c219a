// A real window and OpenGL device for tests (SDL's offscreen driver needs no X server), and
// reading pixels back from its back buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "app/device_slots.h"
#include "platform/device.h"
#include "platform/sdl/gl_device.h"
#include "platform/sdl/sdl_host.h"

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

class GLTest : public ::testing::Test {
  protected:
    // Declared before the device so the context outlives it.
    std::unique_ptr<SdlHost> window;
    std::unique_ptr<Device> gl;

    void SetUp() override {
        window = SdlHost::Create("Marvaze test", BackBufferWidth, BackBufferHeight);
        ASSERT_NE(window, nullptr);
        std::string error;
        gl = window->CreateDevice(error);
        ASSERT_NE(gl, nullptr) << error;
        InstallDevice(gl.get());
    }
    void TearDown() override {
        InstallDevice(nullptr);
        gl.reset();
        window.reset();
    }
};
