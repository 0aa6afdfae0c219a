#include "app/demo.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>

#include "platform/core/demo_file.h"
#include "platform/host.h"
#include "platform/report.h"
#include "world/digest.h"
#include "world/records.h"

FrameInput liveInput;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int OutOfStep = 3;  // the exit status of a playback that went out of step

struct DemoState {
    DemoMode mode = DemoMode::Off;
    DemoWriter writer;
    Demo demo;
    int64_t pauseAt = -1;
    // Where the run is: the session (in the file when playing), the frames played in it, and in
    // the whole run.
    int session = -1;
    uint32_t frames = 0;
    int64_t totalFrames = 0;
    size_t run = 0;
    uint32_t intoRun = 0;
    size_t checkpoint = 0;
    // The seed a session has without the demo (the calendar's, in the game): recorded, and given
    // back when the demo is done.
    uint32_t (*ownSeed)() = CalendarSeed;
    // A playback that has ended: no more frames, the status it leaves with.
    bool stopped = false;
    int status = 0;
    uint64_t lastDigest = 0;
    // Timing.
    Clock::time_point started, lastFrame, ended;
    Clock::duration slowest{};
};
DemoState state;

std::string Where() {
    return "frame " + std::to_string(state.frames) + " of session " +
           std::to_string(state.session + 1);
}

void Stop(int status, const std::string& why = "") {
    if (state.stopped) return;
    state.stopped = true;
    state.status = status;
    if (!why.empty()) Report(why);
}

void OutOfStepAt(const std::string& what) {
    Stop(OutOfStep, "the demo went out of step at " + Where() + ": " + what +
                        " (the file may come from another version: it says " +
                        Printable(state.demo.gameVersion) + ", this is " + MARVAZE_VERSION + ")");
}

uint32_t RecordingSeed() {
    const uint32_t seed = state.ownSeed();
    state.frames = 0;
    ++state.session;
    WriteSessionStart(state.writer, static_cast<uint8_t>(world.inGame), seed);
    return seed;
}

uint32_t PlaybackSeed() {
    state.frames = 0;
    state.run = state.intoRun = state.checkpoint = 0;
    ++state.session;
    if (state.stopped) return 0;
    if (state.session >= static_cast<int>(state.demo.sessions.size())) {
        // The file's sessions are all played, the last one not ending the program: it was cut.
        Stop(0, state.demo.cut.empty() ? "the demo ends before the run it recorded ends"
                                       : state.demo.cut);
        return 0;
    }
    const DemoSession& s = state.demo.sessions[state.session];
    if (s.kind != world.inGame) OutOfStepAt(s.kind ? "a game was recorded" : "a menu was recorded");
    return s.seed;
}

// The demo's input for the next frame; false at the end of the session's frames.
bool NextPlayedInput(FrameInput& input) {
    const DemoSession& s = state.demo.sessions[state.session];
    if (state.run == s.runs.size()) return false;
    input.keys = s.runs[state.run].input;
    if (++state.intoRun == s.runs[state.run].frames) {
        ++state.run;
        state.intoRun = 0;
    }
    return true;
}

// Holds the picture of the frame just shown until Escape or the window's close.
void Hold() {
    for (;;) {
        if (host->PumpMessages()) return;
        if (host->ReadInput().keys & InputEscape) return;
        host->Sleep(FrameMilliseconds);
    }
}

bool PlayFrame() {
    if (state.stopped) return false;
    if (liveInput.keys & InputEscape) {
        Stop(0);
        return false;
    }
    if (state.totalFrames == state.pauseAt) {
        Hold();
        Stop(0);
        return false;
    }
    const DemoSession& s = state.demo.sessions[state.session];
    if (state.checkpoint < s.checkpoints.size() &&
        s.checkpoints[state.checkpoint].frame == state.frames) {
        if (s.checkpoints[state.checkpoint].digest != WorldDigest()) {
            OutOfStepAt("its world differs from the recorded one");
            return false;
        }
        ++state.checkpoint;
    }
    if (!NextPlayedInput(frameInput)) {
        if (s.ended && s.result == Closed) {
            Stop(0);  // the recorded run ended here, its window closed
        } else if (s.ended) {
            OutOfStepAt("the recorded session ended here");
        } else {
            Stop(0, state.demo.cut);
        }
        return false;
    }
    return true;
}

}  // namespace

bool StartDemo(const StartOptions& options, std::string& error) {
    state = DemoState{};
    state.mode = options.demo;
    state.pauseAt = options.pauseAt;
    if (state.mode == DemoMode::Off) return true;
    state.ownSeed = sessionSeed;
    if (state.mode == DemoMode::Record) {
        if (!OpenDemoWriter(state.writer, options.demoFile, MARVAZE_VERSION, error)) return false;
        sessionSeed = RecordingSeed;
        return true;
    }
    if (!ReadDemoFile(options.demoFile, state.demo, error)) return false;
    sessionSeed = PlaybackSeed;
    return true;
}

bool TakeFrameInput() {
    liveInput = host->ReadInput();
    frameInput = liveInput;
    const Clock::time_point now = Clock::now();
    if (state.totalFrames == 0) state.started = now;
    if (state.totalFrames > 0 && now - state.lastFrame > state.slowest)
        state.slowest = now - state.lastFrame;
    state.lastFrame = now;
    if (state.mode == DemoMode::Record) {
        if (state.frames > 0 && state.frames % DemoCheckpointFrames == 0)
            WriteCheckpoint(state.writer, state.frames, WorldDigest());
        WriteFrameInput(state.writer, frameInput.keys & WorldInputKeys);
    } else if (state.mode != DemoMode::Off) {
        if (!PlayFrame()) return false;
    }
    ++state.frames;
    ++state.totalFrames;
    return true;
}

void EndDemoSession(SessionResult result) {
    state.ended = Clock::now();
    state.lastDigest = WorldDigest();
    if (state.mode == DemoMode::Record) {
        WriteSessionEnd(state.writer, state.frames, static_cast<uint8_t>(result), state.lastDigest);
        return;
    }
    if (state.mode == DemoMode::Off || state.stopped) return;
    const DemoSession& s = state.demo.sessions[state.session];
    if (!s.ended || s.frames != state.frames || s.result != result)
        OutOfStepAt("the session ended where the recorded one did not");
    else if (s.digest != state.lastDigest)
        OutOfStepAt("its world differs from the recorded one");
}

bool FramesPaced() { return state.mode != DemoMode::Time; }

int FinishDemo() {
    if (state.mode == DemoMode::Record) CloseDemoWriter(state.writer);
    if (state.mode == DemoMode::Time && state.status == 0) {
        const double seconds = std::chrono::duration<double>(state.ended - state.started).count();
        std::printf("timedemo: %" PRId64
                    " frames in %.3f s, %.1f frames a second, slowest frame "
                    "%.1f ms, digest %016" PRIx64 "\n",
                    state.totalFrames, seconds, seconds > 0 ? state.totalFrames / seconds : 0.0,
                    std::chrono::duration<double, std::milli>(state.slowest).count(),
                    state.lastDigest);
        std::fflush(stdout);
    }
    // The run is over: later sessions (tests run many) play as usual.
    if (state.mode != DemoMode::Off) sessionSeed = state.ownSeed;
    state.mode = DemoMode::Off;
    return state.status;
}

uint64_t FinalWorldDigest() { return state.lastDigest; }

int64_t FramesRun() { return state.totalFrames; }
