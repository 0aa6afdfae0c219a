#include "bench/frame/malloc_switch.h"

#include <cstdlib>

namespace {
int skipped = 0;
}  // namespace

bool KeepsMallocDefaults() {
    static const bool keep = std::getenv("MARVAZE_BENCH_MALLOC_DEFAULTS") != nullptr;
    return keep;
}

int SkippedMallopts() { return skipped; }

extern "C" int __real_mallopt(int parameter, int value);
extern "C" int __wrap_mallopt(int parameter, int value) {
    if (KeepsMallocDefaults()) {
        ++skipped;
        return 1;
    }
    return __real_mallopt(parameter, value);
}
