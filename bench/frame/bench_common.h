// Small helpers the frame, start-up and memory benchmarks share.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

inline double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// This program's own path, to start fresh copies of it.
std::string SelfPath();

// A field of /proc/self/status in kB (VmRSS, VmHWM), or -1.
long StatusKilobytes(const char* field);

// The machine's one-minute load average as /proc/loadavg gives it.
std::string LoadAverage();
// The driver the children will ask SDL for: the offscreen one lets a frame be queued without
// waiting for it, a real window does not, and start-up and memory differ with it.
void PrintVideoDriver();
