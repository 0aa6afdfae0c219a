// A real window and Direct3D 9 device for tests (under Wine: on Xvfb's GLX), and pixels read
// back from the back buffer: the Direct3D 9 ring of the shared cases in tests/device.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/core/image_file.h"
#include "platform/device.h"
#include "platform/win32/d3d9_device.h"
#include "platform/win32/d3d9_device_testing.h"
#include "tests/device/frame_keeper.h"
#include "tests/device/pixels.h"
#include "tests/unit/render_test_files.h"

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
  public:
    static Image BackBuffer() { return ReadD3D9BackBuffer(*device); }
    // Present leaves the back buffer undefined, so each frame is read just before it.
    static void KeepFrames() {
        keeper = std::make_unique<FrameKeeper>(*device, ReadD3D9BackBuffer);
        device = keeper.get();
    }
    static Image LastFrame() { return keeper->last; }
    static inline std::unique_ptr<FrameKeeper> keeper;
    Image Shown() {
        device->Present();
        FinishD3D9(*device);
        return window->Pixels();
    }

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
        keeper.reset();
        d3d9.reset();
        window.reset();
    }
};
