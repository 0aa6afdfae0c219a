// Every frame's input, and demos built on it: the run recorded frame by frame, played back at the
// normal pace, or played as fast as the machine draws (a benchmark that any two machines or
// platforms can compare by its final digest).
#pragma once

#include <cstdint>
#include <string>

#include "app/session.h"
#include "app/start_options.h"
#include "platform/seam.h"

// The host's own input this frame, which a playback does not replace: the sound's M reads it.
extern FrameInput liveInput;

// Before any window opens: the demo the options ask for, a file to write or one to read. False
// with the reason (one line) when it cannot be had.
bool StartDemo(const StartOptions& options, std::string& error);
// Once a frame, right after the message pump: sets the world's input (frameInput), the host's or
// the demo's, and records it when recording. False when the run ends here: a playback at the end
// of its file, stopped with Escape, or out of step.
bool TakeFrameInput();
// After each session, before the world is freed.
void EndDemoSession(SessionResult result);
// Whether the session paces its frames (not when timing a demo).
bool FramesPaced();
// At the end of the program: finishes the file, or says how the playback went (the timing's
// line); the program's exit status.
int FinishDemo();
// The digest of the world at the end of the last session run, and the frames run in all.
uint64_t FinalWorldDigest();
int64_t FramesRun();
