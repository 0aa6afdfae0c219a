// The game raises glibc's malloc thresholds in SdlHost::Create. Benchmarks linked with
// -Wl,--wrap=mallopt (and malloc_switch.cpp) skip those calls when MARVAZE_BENCH_MALLOC_DEFAULTS
// is set, so that a process can run the real start-up with glibc's defaults for comparison.
#pragma once

// True when this process keeps glibc's defaults.
bool KeepsMallocDefaults();
// The mallopt calls skipped so far.
int SkippedMallopts();
