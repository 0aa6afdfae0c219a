// A real window and Direct3D 9 device for tests (under Wine: on Xvfb's GLX), a scratch folder of
// their own, and pixels read back from the back buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/core/image_file.h"
#include "platform/device.h"
#include "platform/win32/d3d9_device.h"

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

// RGBA pixels, top row first, colours given as 0xRRGGBBAA.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    Picture(int w, int h, uint32_t rgbaColour) : width(w), height(h), rgba(size_t(w) * h * 4) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Set(x, y, rgbaColour);
    }
    void Set(int x, int y, uint32_t rgbaColour) {
        uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
        p[0] = uint8_t(rgbaColour >> 24);
        p[1] = uint8_t(rgbaColour >> 16);
        p[2] = uint8_t(rgbaColour >> 8);
        p[3] = uint8_t(rgbaColour);
    }
};

void WritePicture(const std::string& path, const Picture& picture);
void WriteText(const std::string& path, const std::string& text);

// Makes a fresh folder with an empty data/ inside and works in it until destroyed.
struct ScratchFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path root;
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
};

// A shown window of the game's style with a 640x480 client area.
struct TestWindow {
    HWND handle = nullptr;
    TestWindow();
    ~TestWindow();
    // Makes the client area `width` x `height` and lets the window handle the change.
    void Resize(int width, int height);
    void Pump();
    // The client area's pixels as the screen shows them, top row first. (Under Wine neither
    // the window's own device context nor the device's front buffer copy sees what Present
    // drew; the screen's does.)
    // Read once the picture has stopped changing.
    Image Pixels() const;
    Image ScreenPixels() const;
};

class D3D9Test : public ::testing::Test {
  protected:
    std::unique_ptr<TestWindow> window;
    std::unique_ptr<Device> d3d9;  // made after the window, gone before it

    void SetUp() override {
        window = std::make_unique<TestWindow>();
        ASSERT_NE(window->handle, nullptr);
        std::string error;
        d3d9 = CreateD3D9Device(window->handle, error);
        ASSERT_NE(d3d9, nullptr) << error;
        device = d3d9.get();
    }
    void TearDown() override {
        device = nullptr;
        d3d9.reset();
        window.reset();
    }
};
