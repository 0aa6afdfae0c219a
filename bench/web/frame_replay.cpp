// The captured benchmark frame (the heaviest of a menu demonstration's high phase) replayed on
// the game's own device through the ring's window, so that the same program measures the OpenGL
// device natively and on WebGL 2 in a page: median milliseconds from the frame's first call to
// its last, finished on the GPU.
//
//   SDL_VIDEODRIVER=offscreen build/bench/frame_replay [FRAMES]     (from the source tree)
//   in the browser: bench/web/page_bench.py loads frame_replay.html and reads its console
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/frame/captured_frame.h"
#include "bench/frame/replay.h"
#include "platform/core/data_folder.h"
#include "platform/gl/gl_api.h"
#include "platform/ring.h"

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 60;
    EnterDataFolder(ExecutableFolder());
    CapturedFrame captured = CaptureHeaviestFrame(CaptureOptions{});
    std::string error;
    std::unique_ptr<GameWindow> window = OpenGameWindow("Marvaze frame replay", 640, 480, error);
    std::unique_ptr<Device> gl = window ? window->CreateDevice(error) : nullptr;
    Replay replay;
    if (gl == nullptr || !PrepareReplay(*gl, captured, replay, error)) {
        std::fprintf(stderr, "frame_replay: %s\n", error.c_str());
        return 1;
    }
    device = gl.get();
    std::vector<double> ms;
    for (int i = 0; i < frames + 5; ++i) {
        RunSteps(replay, replay.settings);
        auto start = std::chrono::steady_clock::now();
        RunSteps(replay, replay.frame);
        // A pixel read back waits for the GPU to finish, where a browser's finish() may not.
        uint8_t pixel[4];
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        double took =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (i >= 5) ms.push_back(took);  // the first compile their shaders
    }
    std::sort(ms.begin(), ms.end());
    std::printf("frame replay: frame %d, %d objects, median %.2f ms over %d frames\n",
                captured.frameNumber, captured.objects, ms[ms.size() / 2], frames);
    device = nullptr;
    return 0;
}
