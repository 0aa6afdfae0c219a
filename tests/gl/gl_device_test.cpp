// The shared device and frame cases (tests/device) on the OpenGL device, and its own depth range.
// (That batching leaves every pixel as unbatched drawing would is checked on a whole game frame
// by the frame benchmark's tests.)
#include "tests/device/device_cases.h"
#include "tests/device/frame_cases.h"
#include "tests/gl/gl_test_window.h"

namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(GL, DeviceCases, GLTest);
INSTANTIATE_TYPED_TEST_SUITE_P(GL, FrameCases, GLTest);

using GLDeviceTest = DeviceCases<GLTest>;

// The projection gives depths from 0 to w as Direct3D clips them; OpenGL clips from -w, so the
// device's shader moves them over.
TEST_F(GLDeviceTest, TheProjectionsDepthRangeClipsAtTheNearAndFarPlanes) {
    device->SetTransform(D3DTS_PROJECTION,
                         D3DXMatrixPerspectiveFovLH(0.7853981f, 1.3333334f, 10.0f, 30000.0f));
    device->SetTexture(0, nullptr);
    // The same screen square at three distances: nearer than the near plane, between, beyond
    // the far plane. Only the middle one shows; drawn before a far backdrop it stays in front.
    auto square = [](float distance, uint32_t argb) {
        float s = distance * 0.2f;
        Rectangle(-s, -s, s, s, distance, argb);
    };
    square(5, 0xFFFF0000);
    square(1000, 0xFF00FF00);
    square(40000, 0xFFFFFF00);
    Rectangle(-20000, -20000, 20000, 20000, 20000, 0xFFFFFFFF);  // a backdrop drawn last
    ExpectPixels(ReadBackBuffer(*device), {{320, 240, {0, 255, 0}}, {10, 10, {255, 255, 255}}});
}

}  // namespace
