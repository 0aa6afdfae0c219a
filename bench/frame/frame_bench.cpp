// The whole frame: the heaviest frame of a menu demonstration's high phase, captured on the
// recording device, then drawn on the OpenGL device at 640x480 four ways, interleaved frame by
// frame in each process: the game's path, the call-for-call path (a GL draw and a texture bind
// per triangle), the floor (the same pixels from one prebuilt buffer in one draw), and an empty
// frame (clear and present). Processes differ only in malloc's thresholds: raised as the game's
// start-up raises them, glibc's defaults, or glibc's starting values pinned. They take turns,
// several of each, all in one run of this program. It fails if the ways' pixels differ.
//
//   SDL_VIDEODRIVER=offscreen ./build/bench/frame/frame_bench [--rounds 6] [--frames 100]
//
// Run from the source tree (it reads data/). Prints medians and their ratios.
#include <epoxy/gl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/frame/bench_common.h"
#include "bench/frame/captured_frame.h"
#include "bench/frame/floor_frame.h"
#include "bench/frame/malloc_switch.h"
#include "bench/frame/process_run.h"
#include "bench/frame/replay.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_device_testing.h"
#include "platform/sdl/sdl_host.h"

namespace {

enum Way { Game, Naive, Floor, Empty, WayCount };
const char* const WayNames[WayCount] = {"game", "naive", "floor", "empty"};

struct Difference {
    long pixels = 0;
    int largest = 0;
    int firstX = -1, firstY = -1;
};

Difference Compare(const Image& a, const Image& b) {
    Difference d;
    for (size_t i = 0; i + 3 < a.rgba.size() && i + 3 < b.rgba.size(); i += 4) {
        int most = 0;
        for (size_t c = 0; c < 3; ++c)
            most = std::max(most, std::abs(a.rgba[i + c] - b.rgba[i + c]));
        if (most == 0) continue;
        if (d.pixels++ == 0) {
            d.firstX = static_cast<int>(i / 4 % a.width);
            d.firstY = static_cast<int>(i / 4 / a.width);
        }
        d.largest = std::max(d.largest, most);
    }
    return d;
}

void WritePpm(const Image& image, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    for (size_t i = 0; i < image.rgba.size(); i += 4)
        out.write(reinterpret_cast<const char*>(&image.rgba[i]), 3);
}

// One process's share: the frame drawn every way, interleaved, `frames` timed frames of each.
// `only`, when set, names the one way to draw (for profiling).
int ReplayProcess(const std::string& file, int frames, const std::string& dumpFolder,
                  const std::string& only) {
    CapturedFrame captured;
    if (!LoadFrame(file, captured)) {
        std::fprintf(stderr, "frame_bench: cannot read %s\n", file.c_str());
        return 1;
    }
    std::unique_ptr<SdlHost> window =
        SdlHost::Create("Marvaze frame bench", BackBufferWidth, BackBufferHeight);
    if (window == nullptr) return 1;
    std::string error;
    std::unique_ptr<Device> gl = window->CreateDevice(error);
    Replay replay;
    FloorFrame floor;
    if (gl == nullptr || !PrepareReplay(*gl, captured, replay, error) ||
        !BuildFloor(captured, floor, error)) {
        std::fprintf(stderr, "frame_bench: %s\n", error.c_str());
        return 1;
    }
    device = gl.get();

    int draws[WayCount] = {};
    int skyDraws = 0;
    for (const ReplayStep& step : replay.frame) skyDraws += step.op == ReplayOp::MeshSubset;
    auto draw = [&](Way way) {
        int before = GLDrawCount(*gl);
        SetGLBatching(*gl, way != Naive);
        if (way == Game || way == Naive) RunSteps(replay, replay.settings);
        double start = NowMs();
        if (way == Game || way == Naive) RunSteps(replay, replay.frame);
        if (way == Floor) DrawFloor(*gl, *replay.clear, floor);
        if (way == Empty) EmptyFrame(replay);
        glFinish();
        double ms = NowMs() - start;
        // GLDrawCount counts streamed draws; each sky subset is one more.
        draws[way] = GLDrawCount(*gl) - before + (way == Floor ? 1 : 0) +
                     (way == Game || way == Naive ? skyDraws : 0);
        return ms;
    };
    auto minorFaults = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_minflt;
    };

    // Warm up (the software renderer compiles each shader variant on first use), then keep
    // each way's picture for the comparison.
    Image pictures[WayCount];
    for (int round = 0; round < 3; ++round)
        for (int way = 0; way < WayCount; ++way) {
            draw(Way(way));
            if (round == 2) pictures[way] = ReadBackBuffer(*gl);
        }
    std::printf("mallopt-skipped %d\n", SkippedMallopts());
    std::printf("draws");
    for (int way = 0; way < WayCount; ++way) std::printf(" %s %d", WayNames[way], draws[way]);
    std::printf("\n");
    for (Way way : {Naive, Floor}) {
        Difference d = Compare(pictures[Game], pictures[way]);
        std::printf("pixels %s %ld %d %d %d\n", WayNames[way], d.pixels, d.largest, d.firstX,
                    d.firstY);
    }
    if (!dumpFolder.empty())
        for (int way = 0; way < WayCount; ++way)
            WritePpm(pictures[way], dumpFolder + "/" + WayNames[way] + ".ppm");

    // Frame by frame the ways take turns, in an order that rotates.
    for (int frame = 0; frame < frames; ++frame)
        for (int k = 0; k < WayCount; ++k) {
            Way way = Way((frame + k) % WayCount);
            if (!only.empty() && only != WayNames[way]) continue;
            long faults = minorFaults();
            double ms = draw(way);
            std::printf("t %s %.4f %ld\n", WayNames[way], ms, minorFaults() - faults);
        }
    DestroyFloor(floor);
    device = nullptr;
    return 0;
}

struct Samples {
    std::vector<double> ms[WayCount];
    std::vector<double> faults[WayCount];  // minor page faults in the frame
};

// `keptFrame`, when set, is where the captured frame stays after the run (else a temporary file).
int Orchestrate(int rounds, int frames, const std::string& dumpFolder,
                const std::string& keptFrame) {
    std::printf("load average before: %s\n", LoadAverage().c_str());
    double captureStart = NowMs();
    CaptureOptions options;
    CapturedFrame captured = CaptureHeaviestFrame(options);
    if (captured.calls.empty() || captured.highPhaseFrame == 0) {
        std::fprintf(stderr, "frame_bench: the demonstration never reached the high phase\n");
        return 1;
    }
    long triangles = 0;
    for (const DeviceCall& call : captured.calls)
        if (call.op == "DrawPrimitiveUP") triangles += call.ints[1];
    std::printf(
        "captured frame %d of %d (seed %u, high phase from frame %d) in %.1f s:\n"
        "  %d objects (%s), %zu calls, %d draws (%ld streamed triangles)\n",
        captured.frameNumber, captured.framesRun, options.seed, captured.highPhaseFrame,
        (NowMs() - captureStart) / 1000.0, captured.objects, captured.composition.c_str(),
        captured.calls.size(), DrawCallsIn(captured.calls), triangles);
    char temporary[] = "/tmp/marvaze-frame-XXXXXX";
    int fd = keptFrame.empty() ? mkstemp(temporary) : -1;
    if (fd >= 0) close(fd);
    const std::string file = keptFrame.empty() ? temporary : keptFrame;
    if ((keptFrame.empty() && fd < 0) || !SaveFrame(captured, file)) {
        std::fprintf(stderr, "frame_bench: cannot write the captured frame\n");
        return 1;
    }

    // The malloc settings, process by process in turn, every round in a rotated order.
    struct Setting {
        const char* name;
        std::vector<std::string> environment;
        Samples samples;
        std::string report;
    };
    Setting settings[] = {
        {"raised", {}, {}, {}},
        {"default", {"MARVAZE_BENCH_MALLOC_DEFAULTS=1"}, {}, {}},
        // Thresholds pinned at glibc's starting values: set explicitly, they no longer rise when
        // a large block is freed, as they otherwise do once the start-up frees decoded images.
        {"pinned",
         {"MARVAZE_BENCH_MALLOC_DEFAULTS=1",
          "GLIBC_TUNABLES=glibc.malloc.mmap_threshold=131072:glibc.malloc.trim_threshold=131072"},
         {},
         {}},
    };
    constexpr int SettingCount = 3;
    int failures = 0;
    for (int round = 0; round < rounds; ++round)
        for (int k = 0; k < SettingCount; ++k) {
            Setting& setting = settings[(round + k) % SettingCount];
            std::vector<std::string> arguments = {"--replay", file, "--frames",
                                                  std::to_string(frames)};
            if (!dumpFolder.empty() && round == 0 && k == 0)
                arguments.insert(arguments.end(), {"--dump", dumpFolder});
            ProcessRun run = RunSelf(arguments, setting.environment);
            if (!run.ok) {
                std::fprintf(stderr, "frame_bench: a replay process failed:\n%s",
                             run.output.c_str());
                ++failures;
                continue;
            }
            std::istringstream lines(run.output);
            std::string line;
            while (std::getline(lines, line)) {
                std::istringstream words(line);
                std::string tag, way;
                words >> tag;
                if (tag == "t") {
                    double ms = 0, faults = 0;
                    words >> way >> ms >> faults;
                    for (int w = 0; w < WayCount; ++w)
                        if (way == WayNames[w]) {
                            setting.samples.ms[w].push_back(ms);
                            setting.samples.faults[w].push_back(faults);
                        }
                } else if (setting.report.find(line.substr(0, line.find(' ', tag.size() + 1))) ==
                           std::string::npos) {
                    setting.report += line + "\n";
                }
            }
        }
    if (keptFrame.empty()) unlink(file.c_str());
    if (failures > 0) return 1;

    bool samePixels = true;
    for (const Setting& setting : settings) {
        std::printf("\n%s malloc thresholds, %d processes, %zu frames of each way:\n%s",
                    setting.name, rounds, setting.samples.ms[Game].size(), setting.report.c_str());
        for (const char* way : {"naive", "floor"})
            samePixels = samePixels && setting.report.find(std::string("pixels ") + way + " 0 ") !=
                                           std::string::npos;
    }
    std::printf("\nmedian ms per frame (page faults)   raised         default         pinned\n");
    double m[SettingCount][WayCount];
    for (int way = 0; way < WayCount; ++way) {
        std::printf("  %-6s                    ", WayNames[way]);
        for (int k = 0; k < SettingCount; ++k) {
            m[k][way] = Median(settings[k].samples.ms[way]);
            std::printf("  %6.2f (%4.0f)", m[k][way], Median(settings[k].samples.faults[way]));
        }
        std::printf("\n");
    }
    std::printf("\nratios of medians                   raised         default         pinned\n");
    auto ratio = [&](const char* name, Way a, Way b) {
        std::printf("  %-30s", name);
        for (int k = 0; k < SettingCount; ++k) std::printf("  %13.2f ", m[k][a] / m[k][b]);
        std::printf("\n");
    };
    ratio("game / floor", Game, Floor);
    ratio("naive / game", Naive, Game);
    ratio("game / empty", Game, Empty);
    ratio("floor / empty", Floor, Empty);
    if (!samePixels) std::printf("THE WAYS DREW DIFFERENT PIXELS\n");
    std::printf("load average after: %s\n", LoadAverage().c_str());
    return samePixels ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string replayFile, dumpFolder, only, keptFrame;
    int rounds = 6, frames = 100;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string flag = argv[i];
        if (flag == "--replay")
            replayFile = argv[i + 1];
        else if (flag == "--frames")
            frames = std::atoi(argv[i + 1]);
        else if (flag == "--rounds")
            rounds = std::atoi(argv[i + 1]);
        else if (flag == "--dump")
            dumpFolder = argv[i + 1];
        else if (flag == "--only")
            only = argv[i + 1];
        else if (flag == "--keep")
            keptFrame = argv[i + 1];
        else {
            std::fprintf(stderr,
                         "usage: frame_bench [--rounds N] [--frames N] [--dump FOLDER] "
                         "[--keep FILE]\n"
                         "       frame_bench --replay FILE [--frames N] [--only WAY]\n");
            return 2;
        }
    }
    if (!replayFile.empty()) return ReplayProcess(replayFile, frames, dumpFolder, only);
    return Orchestrate(rounds, frames, dumpFolder, keptFrame);
}
