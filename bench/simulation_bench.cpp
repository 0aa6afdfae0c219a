// The world's cost per frame: the schedule and the object pass, with 100, 500 and 2000 objects
// in the list, mixed as in a busy high-altitude fight.
#include <benchmark/benchmark.h>

#include "bench/busy_world.h"
#include "world/object_list.h"
#include "world/object_pass.h"
#include "world/schedule.h"

namespace {

void Frame(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Populate(count);
        state.ResumeTiming();
        RunSchedule();
        ObjectPass(nullptr);
    }
    DestroyWorldObjects();
}

}  // namespace

BENCHMARK(Frame)->Arg(100)->Arg(230)->Arg(500)->Arg(2000)->Unit(benchmark::kMicrosecond);
