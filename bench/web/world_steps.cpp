// The work of simulation_bench, timed without its library (which the browser build cannot link),
// so that the same program runs natively and under node: the schedule and the object pass of one
// frame on a busy world of 230 and of 2000 objects, built afresh before each timed frame.
//
//   world_steps [FRAMES]        prints the median microseconds a frame for each size
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/busy_world.h"
#include "world/object_list.h"
#include "world/object_pass.h"
#include "world/schedule.h"

namespace {

double FrameMicroseconds(int count) {
    Populate(count);
    auto start = std::chrono::steady_clock::now();
    RunSchedule();
    ObjectPass(nullptr);
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 400;
    // Untimed first: a WebAssembly engine compiles its optimised code while the program runs.
    for (int i = 0; i < 100; ++i) FrameMicroseconds(2000);
    for (int count : {230, 2000}) {
        std::vector<double> us;
        for (int i = 0; i < frames; ++i) us.push_back(FrameMicroseconds(count));
        std::sort(us.begin(), us.end());
        std::printf("objects %d median %.1f us\n", count, us[us.size() / 2]);
    }
    DestroyWorldObjects();
    return 0;
}
