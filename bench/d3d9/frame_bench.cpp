// The whole frame on Direct3D 9: the heaviest frame of a menu demonstration's high phase,
// captured on the recording device as the OpenGL frame benchmark captures it, then drawn in a
// real window three ways, interleaved frame by frame: the game's path (unlit draws joined by the
// device), the call-for-call path (every DrawPrimitiveUP a device draw of its own) and an empty
// frame (clear and present). It can also compare its picture of the frame
// with the OpenGL device's (frame_bench --dump writes one as game.ppm).
//
//   wine d3d9_frame_bench.exe [--frames 100] [--load FRAME] [--dump FILE.ppm] [--compare GL.ppm]
//
// Run from the source tree (it reads data/). --load takes a frame kept by frame_bench --keep, so
// that both devices draw the very same calls. Prints medians and their ratio.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "bench/frame/bench_common.h"
#include "bench/frame/captured_frame.h"
#include "bench/frame/replay.h"
#include "platform/win32/d3d9_device.h"
#include "platform/win32/d3d9_device_testing.h"
#include "platform/win32/windows_api.h"

namespace {

enum Way { Game, Naive, Empty, WayCount };
const char* const WayNames[WayCount] = {"game", "naive", "empty"};

HWND MakeWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "MarvazeFrameBench";
    RegisterClassExA(&windowClass);
    RECT frame{0, 0, BackBufferWidth, BackBufferHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window =
        CreateWindowExA(0, windowClass.lpszClassName, "Marvaze frame bench", WS_OVERLAPPEDWINDOW, 0,
                        0, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                        windowClass.hInstance, nullptr);
    if (window != nullptr) ShowWindow(window, SW_SHOW);
    return window;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void WritePpm(const Image& image, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    for (size_t i = 0; i < image.rgba.size(); i += 4)
        out.write(reinterpret_cast<const char*>(&image.rgba[i]), 3);
}

bool ReadPpm(const std::string& path, Image& image) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int most = 0;
    in >> magic >> image.width >> image.height >> most;
    in.get();
    if (!in || magic != "P6" || most != 255 || image.width <= 0 || image.height <= 0) return false;
    std::vector<uint8_t> rgb(size_t(image.width) * image.height * 3);
    in.read(reinterpret_cast<char*>(rgb.data()), std::streamsize(rgb.size()));
    image.rgba.resize(size_t(image.width) * image.height * 4);
    for (size_t i = 0, j = 0; i < rgb.size(); i += 3, j += 4) {
        image.rgba[j] = rgb[i];
        image.rgba[j + 1] = rgb[i + 1];
        image.rgba[j + 2] = rgb[i + 2];
        image.rgba[j + 3] = 255;
    }
    return static_cast<bool>(in);
}

// How many pixels differ and by how much (the largest channel difference of each pixel).
void Compare(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height || a.width == 0) {
        std::printf("compare: sizes differ\n");
        return;
    }
    const int bounds[] = {1, 2, 4, 8, 16, 32, 64, 128, 256};
    long counts[std::size(bounds)] = {};
    long differing = 0, total = long(a.width) * a.height;
    double sum = 0;
    int largest = 0;
    for (size_t i = 0; i < a.rgba.size(); i += 4) {
        int most = 0;
        for (size_t c = 0; c < 3; ++c)
            most = std::max(most, std::abs(a.rgba[i + c] - b.rgba[i + c]));
        if (most == 0) continue;
        ++differing;
        sum += most;
        largest = std::max(largest, most);
        for (size_t k = 0; k < std::size(bounds); ++k)
            if (most <= bounds[k]) {
                ++counts[k];
                break;
            }
    }
    std::printf(
        "%ld of %ld pixels differ (%.2f%%), largest difference %d, "
        "mean over those %.1f\n",
        differing, total, 100.0 * differing / total, largest,
        differing > 0 ? sum / differing : 0.0);
    std::printf("  pixels by largest channel difference:");
    for (size_t k = 0, low = 1; k < std::size(bounds); low = bounds[k] + 1, ++k)
        if (counts[k] > 0) std::printf(" %zu-%d: %ld", low, bounds[k], counts[k]);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::string load, dump, compare;
    int frames = 100;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string flag = argv[i];
        if (flag == "--frames")
            frames = std::atoi(argv[i + 1]);
        else if (flag == "--load")
            load = argv[i + 1];
        else if (flag == "--dump")
            dump = argv[i + 1];
        else if (flag == "--compare")
            compare = argv[i + 1];
        else {
            std::fprintf(stderr,
                         "usage: d3d9_frame_bench [--frames N] [--load FRAME] [--dump FILE.ppm] "
                         "[--compare GL.ppm]\n");
            return 2;
        }
    }
    CapturedFrame captured;
    double captureStart = NowMs();
    if (!load.empty()) {
        if (!LoadFrame(load, captured)) {
            std::fprintf(stderr, "d3d9_frame_bench: cannot read %s\n", load.c_str());
            return 1;
        }
    } else {
        captured = CaptureHeaviestFrame(CaptureOptions{});
        if (captured.calls.empty() || captured.highPhaseFrame == 0) {
            std::fprintf(stderr,
                         "d3d9_frame_bench: the demonstration never reached the high phase\n");
            return 1;
        }
    }
    std::printf(
        "%s frame %d of %d (high phase from frame %d) in %.1f s: %d objects, %zu calls, "
        "%d draws\n",
        load.empty() ? "captured" : "loaded", captured.frameNumber, captured.framesRun,
        captured.highPhaseFrame, (NowMs() - captureStart) / 1000.0, captured.objects,
        captured.calls.size(), DrawCallsIn(captured.calls));

    HWND window = MakeWindow();
    std::string error;
    std::unique_ptr<Device> d3d9 = window != nullptr ? CreateD3D9Device(window, error) : nullptr;
    Replay replay;
    if (d3d9 == nullptr || !PrepareReplay(*d3d9, captured, replay, error)) {
        std::fprintf(stderr, "d3d9_frame_bench: %s\n", error.c_str());
        return 1;
    }
    device = d3d9.get();
    // The picture is read before Present: a discarded back buffer holds nothing after it.
    std::vector<ReplayStep> unpresented;
    for (const ReplayStep& step : replay.frame)
        if (step.op != ReplayOp::Present) unpresented.push_back(step);

    int draws[WayCount] = {};
    auto draw = [&](Way way) {
        SetD3D9Batching(*d3d9, way != Naive);
        if (way != Empty) RunSteps(replay, replay.settings);
        int before = D3D9DrawCount(*d3d9);
        double start = NowMs();
        if (way != Empty) RunSteps(replay, replay.frame);
        if (way == Empty) EmptyFrame(replay);
        FinishD3D9(*d3d9);
        double ms = NowMs() - start;
        draws[way] = D3D9DrawCount(*d3d9) - before;
        Pump();
        return ms;
    };
    for (int round = 0; round < 3; ++round)
        for (int way = 0; way < WayCount; ++way) draw(Way(way));
    std::printf("device draws:");
    for (int way = 0; way < WayCount; ++way) std::printf(" %s %d", WayNames[way], draws[way]);
    std::printf("\n");
    Image pictures[2];
    for (Way way : {Game, Naive}) {
        SetD3D9Batching(*d3d9, way != Naive);
        RunSteps(replay, replay.settings);
        RunSteps(replay, unpresented);
        pictures[way] = ReadD3D9BackBuffer(*d3d9);
        d3d9->Present();
    }
    const Image& picture = pictures[Game];
    std::printf("game and naive pictures: ");
    Compare(picture, pictures[Naive]);
    if (!dump.empty()) WritePpm(picture, dump);
    if (!compare.empty()) {
        Image gl;
        if (!ReadPpm(compare, gl)) {
            std::fprintf(stderr, "d3d9_frame_bench: cannot read %s\n", compare.c_str());
            return 1;
        }
        std::printf("D3D9 and GL pictures: ");
        Compare(picture, gl);
    }

    std::vector<double> ms[WayCount];
    for (int frame = 0; frame < frames; ++frame)
        for (int k = 0; k < WayCount; ++k) {
            Way way = Way((frame + k) % WayCount);
            ms[way].push_back(draw(way));
        }
    std::printf("median ms per frame over %d frames each:", frames);
    for (int way = 0; way < WayCount; ++way)
        std::printf(" %s %.2f", WayNames[way], Median(ms[way]));
    std::printf("\nratios of medians: naive / game %.2f, game / empty %.2f\n",
                Median(ms[Naive]) / Median(ms[Game]), Median(ms[Game]) / Median(ms[Empty]));
    device = nullptr;
    return 0;
}
