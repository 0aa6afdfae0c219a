// A real window and OpenGL device for tests (SDL's offscreen driver needs no X server), and
// reading pixels back from its back buffer: the OpenGL ring of the shared cases in tests/device.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/device.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_device_testing.h"
#include "platform/sdl/sdl_host.h"
#include "tests/device/pixels.h"

class GLTest : public ::testing::Test {
  public:
    static Image BackBuffer() { return ReadBackBuffer(*device); }
    // Present leaves the back buffer as it was drawn, so the last frame is still there.
    static void KeepFrames() {}
    static Image LastFrame() { return ReadBackBuffer(*device); }

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
        device = gl.get();
    }
    void TearDown() override {
        device = nullptr;
        gl.reset();
        window.reset();
    }
};
