// Start-up: from the fork of a fresh process to its first presented frame (drawn and finished),
// for the game's real start-up and first menu frame against a bare SDL window whose GL context
// is made the same way and presents one cleared frame. The two alternate, run after run.
//
//   SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy ./build/bench/frame/startup_bench [--runs 20]
#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/session.h"
#include "app/session_cycle.h"
#include "bench/frame/bench_common.h"
#include "bench/frame/process_run.h"
#include "bench/frame/start_sequence.h"

namespace {

// Steady-clock times of the steps, printed for the parent (which knows when the fork came).
void Mark(const char* step) { std::printf("%s %.3f\n", step, NowMs()); }

int GameProcess() {
    StartedGame game;
    if (!StartGame(game, Mark)) return 1;
    CountingHost counting;
    counting.window = game.window.get();
    counting.lastFrame = 1;
    // The pump of frame 2 comes right after frame 1's Present.
    counting.onFrame = [](int frame) {
        if (frame != 2) return;
        glFinish();
        Mark("presented");
    };
    host = &counting;
    RunSessionCycle();
    host = game.window.get();
    return 0;
}

int BareProcess() {
    BareWindow bare;
    if (!OpenBareWindow(bare)) return 1;
    Mark("context");
    PresentBareFrame(bare);
    glFinish();
    Mark("presented");
    CloseBareWindow(bare);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 2 && std::string(argv[1]) == "--child" ? argv[2] : "";
    if (mode == "game") return GameProcess();
    if (mode == "bare") return BareProcess();
    int runs = argc > 2 && std::string(argv[1]) == "--runs" ? std::atoi(argv[2]) : 20;

    std::printf("load average before: %s\n", LoadAverage().c_str());
    PrintVideoDriver();
    std::map<std::string, std::vector<double>> game, bare;
    for (int run = 0; run < runs; ++run)
        for (int k = 0; k < 2; ++k) {
            bool isGame = (run + k) % 2 == 0;
            ProcessRun p = RunSelf({"--child", isGame ? "game" : "bare"});
            if (!p.ok || Field(p.output, "presented") < 0) {
                std::fprintf(stderr, "startup_bench: a %s process failed\n",
                             isGame ? "game" : "bare");
                return 1;
            }
            auto& steps = isGame ? game : bare;
            for (const char* step : {"window", "device", "states", "audio", "context", "presented"})
                if (double at = Field(p.output, step); at >= 0)
                    steps[step].push_back(at - p.startMs);
        }
    double g = Median(game["presented"]), b = Median(bare["presented"]);
    std::printf("%d runs of each, medians in ms from the fork:\n", runs);
    std::printf("  bare window: context made %.1f, first frame presented %.1f\n",
                Median(bare["context"]), b);
    std::printf(
        "  game: window %.1f, device %.1f, render states %.1f, audio %.1f, first frame "
        "presented %.1f\n",
        Median(game["window"]), Median(game["device"]), Median(game["states"]),
        Median(game["audio"]), g);
    std::printf("  game / bare window: %.2f\n", g / b);
    std::printf("load average after: %s\n", LoadAverage().c_str());
    return 0;
}
