// libFuzzer target: the demo reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/demo_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Demo demo;
    std::string error;
    if (!ReadDemoBytes(data, size, demo, error)) {
        if (error.empty()) __builtin_trap();  // a refusal always says why
        return 0;
    }
    // What it accepts is consistent: the runs add up, checkpoints fall inside their session.
    for (const DemoSession& s : demo.sessions) {
        uint64_t frames = 0;
        for (const DemoRun& run : s.runs) {
            if (run.frames == 0 || (run.input & ~0x1ffu) != 0) __builtin_trap();
            frames += run.frames;
        }
        if (frames != s.frames || s.kind > 1) __builtin_trap();
        for (const DemoCheckpoint& c : s.checkpoints)
            if (c.frame > s.frames) __builtin_trap();
    }
    return 0;
}
