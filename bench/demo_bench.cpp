// What recording a demo costs: the committed demo's run (its seeds and its keys, fed through a
// headless host) played through the session cycle with and without --record, alternating, on
// the null device, where a frame costs least and any cost of recording shows most. Run from the
// top of the source tree: build/bench/demo_bench [ROUNDS].
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/demo.h"
#include "app/session.h"
#include "app/session_cycle.h"
#include "platform/core/demo_file.h"
#include "platform/core/headless_host.h"
#include "platform/core/null_device.h"
#include "world/records.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<uint32_t> seeds;
size_t nextSeed = 0;
uint32_t DemoSeed() { return seeds[nextSeed++ % seeds.size()]; }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const std::string file = "tests/demos/menu-and-game.demo";
    Demo demo;
    std::string error;
    if (!ReadDemoFile(file, demo, error)) {
        std::fprintf(stderr, "demo_bench: %s\n", error.c_str());
        return 1;
    }
    std::vector<uint16_t> inputs;  // every frame of the run, in order
    for (const DemoSession& s : demo.sessions) {
        seeds.push_back(s.seed);
        for (const DemoRun& run : s.runs) inputs.insert(inputs.end(), run.frames, run.input);
    }
    const std::string recorded =
        (std::filesystem::temp_directory_path() / "marvaze-demo-bench.demo").string();

    NullDevice nothing;
    device = &nothing;
    std::vector<double> plain, recording;
    uint64_t digests[2] = {};
    for (int round = 0; round < 2 * rounds; ++round) {
        const bool record = round % 2 == 1;
        StartOptions options;
        if (record) {
            options.demo = DemoMode::Record;
            options.demoFile = recorded;
        }
        nextSeed = 0;
        sessionSeed = DemoSeed;
        if (!StartDemo(options, error)) {
            std::fprintf(stderr, "demo_bench: %s\n", error.c_str());
            return 1;
        }
        HeadlessHost headless;
        headless.keys = [&](int frame, int vk) {
            const size_t at = static_cast<size_t>(frame - 1);
            return at < inputs.size() && (inputs[at] & InputBit(vk)) != 0;
        };
        menuLatches = MenuLatches{};
        world = World{};
        const Clock::time_point start = Clock::now();
        RunSessionCycle();
        const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        FinishDemo();
        digests[record] = FinalWorldDigest();
        (record ? recording : plain).push_back(us / static_cast<double>(FramesRun()));
    }
    device = nullptr;
    sessionSeed = CalendarSeed;
    std::filesystem::remove(recorded);

    std::printf("%zu frames of %s, %d rounds each way, alternating, on the null device\n",
                inputs.size(), file.c_str(), rounds);
    std::printf("without recording: %.2f us a frame (median)\n", Median(plain));
    std::printf("with --record:     %.2f us a frame (median)\n", Median(recording));
    std::printf("ratio: %.3f; the same world both ways: %s\n", Median(recording) / Median(plain),
                digests[0] == digests[1] ? "yes" : "NO");
    return digests[0] == digests[1] ? 0 : 1;
}
