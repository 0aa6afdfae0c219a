// Memory: the resident set of a five-minute menu demonstration (6000 frames at 20 a second)
// after the game's real start-up, sampled as it goes, against a bare SDL window with a GL context
// made the same way that presents as many cleared frames. The frames are drawn and presented
// unpaced, to take less than five minutes. A third process runs the game with glibc's default
// malloc thresholds, to show what the game's raised ones cost in memory.
//
//   SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy ./build/bench/frame/memory_bench [--frames
//   6000]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/session.h"
#include "app/session_cycle.h"
#include "bench/frame/bench_common.h"
#include "bench/frame/malloc_switch.h"
#include "bench/frame/process_run.h"
#include "bench/frame/start_sequence.h"

namespace {

constexpr int SampleEvery = 600;  // frames: 30 seconds of the game's time

void Sample(int frame) { std::printf("rss%d %ld\n", frame, StatusKilobytes("VmRSS")); }

int GameProcess(int frames) {
    StartedGame game;
    if (!StartGame(game)) return 1;
    sessionSeed = [] { return 4242u; };
    CountingHost counting;
    counting.window = game.window.get();
    counting.lastFrame = frames;
    // The pump of frame n comes after frame n - 1's Present.
    counting.onFrame = [](int frame) {
        if ((frame - 1) % SampleEvery == 0) Sample(frame - 1);
    };
    host = &counting;
    RunSessionCycle();
    host = game.window.get();
    std::printf("hwm %ld\nskipped %d\n", StatusKilobytes("VmHWM"), SkippedMallopts());
    return 0;
}

int BareProcess(int frames) {
    BareWindow bare;
    if (!OpenBareWindow(bare)) return 1;
    Sample(0);
    for (int frame = 1; frame <= frames; ++frame) {
        PresentBareFrame(bare);
        if (frame % SampleEvery == 0) Sample(frame);
    }
    std::printf("hwm %ld\n", StatusKilobytes("VmHWM"));
    CloseBareWindow(bare);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 6000;
    std::string mode;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string flag = argv[i];
        if (flag == "--child") mode = argv[i + 1];
        if (flag == "--frames") frames = std::atoi(argv[i + 1]);
    }
    if (mode == "game") return GameProcess(frames);
    if (mode == "bare") return BareProcess(frames);

    std::printf("load average before: %s\n", LoadAverage().c_str());
    PrintVideoDriver();
    struct Kind {
        const char* name;
        std::vector<std::string> arguments, environment;
        ProcessRun run;
        double seconds = 0;
    };
    std::string count = std::to_string(frames);
    Kind kinds[] = {
        {"bare window", {"--child", "bare", "--frames", count}, {}, {}},
        {"game", {"--child", "game", "--frames", count}, {}, {}},
        {"game, glibc malloc defaults",
         {"--child", "game", "--frames", count},
         {"MARVAZE_BENCH_MALLOC_DEFAULTS=1"},
         {}},
    };
    for (Kind& kind : kinds) {
        kind.run = RunSelf(kind.arguments, kind.environment);
        kind.seconds = (NowMs() - kind.run.startMs) / 1000.0;
        if (!kind.run.ok || Field(kind.run.output, "hwm") < 0) {
            std::fprintf(stderr, "memory_bench: the %s process failed\n", kind.name);
            return 1;
        }
    }
    std::printf("resident MiB by frame (%d frames, sampled every %d):\n%-30s", frames, SampleEvery,
                "frame");
    for (int frame = 0; frame <= frames; frame += SampleEvery) std::printf(" %6d", frame);
    std::printf("   peak  seconds\n");
    for (const Kind& kind : kinds) {
        std::printf("%-30s", kind.name);
        for (int frame = 0; frame <= frames; frame += SampleEvery)
            std::printf(" %6.1f", Field(kind.run.output, "rss" + std::to_string(frame)) / 1024.0);
        std::printf(" %6.1f  %7.1f\n", Field(kind.run.output, "hwm") / 1024.0, kind.seconds);
    }
    double bare = Field(kinds[0].run.output, "hwm") / 1024.0;
    for (int k = 1; k < 3; ++k)
        std::printf("%s peak above the bare window's: %.1f MiB\n", kinds[k].name,
                    Field(kinds[k].run.output, "hwm") / 1024.0 - bare);
    std::printf("load average after: %s\n", LoadAverage().c_str());
    return 0;
}
