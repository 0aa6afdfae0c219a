// What tests and benchmarks ask of the OpenGL device beyond the game's interface. Defined beside
// the device; the shipped program calls none of them, and its link drops them.
#pragma once

#include "platform/core/image_file.h"
#include "platform/device.h"

// The back buffer as it stands, top row first (for tests and screenshots).
Image ReadBackBuffer(Device& glDevice);
// GL draw calls made so far: streamed draws that share their state are joined into one.
int GLDrawCount(Device& glDevice);
// On (the default), streamed draws that share their state join one GL draw. Off, every
// DrawPrimitiveUP and sprite draw is a GL draw of its own that binds its texture again: the
// call-for-call path, kept for measuring what the joining saves.
void SetGLBatching(Device& glDevice, bool on);
// Tells the device that GL state was changed behind its back (code drawing with GL directly), so
// that its next draw sets every setting again.
void ForgetGLState(Device& glDevice);
