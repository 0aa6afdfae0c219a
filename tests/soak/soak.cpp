// Plays the game headless for a given number of frames: menu demonstrations and games with random
// keys from a seeded generator, sessions ended by every means. Fails on an unbounded object list
// or growing memory; the sanitizer build fails on any report.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "app/session.h"
#include "app/session_cycle.h"
#include "platform/core/headless_host.h"
#include "platform/core/null_device.h"
#include "platform/seam.h"
#include "world/records.h"

namespace {

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

int ListLength() {
    int n = 0;
    for (const GameObject* o = world.head; o != nullptr; o = o->next) ++n;
    return n;
}

std::mt19937 keysRandom;
long sessions = 0;
// Every session seeds the game's sequence once, at its start.
uint32_t SoakSeed() {
    ++sessions;
    return static_cast<uint32_t>(keysRandom());
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::atol(argv[1]) : 100000;
    const uint32_t seed = argc > 2 ? static_cast<uint32_t>(std::atol(argv[2])) : 1;
    keysRandom.seed(seed);
    sessionSeed = SoakSeed;

    NullDevice nullDevice;
    device = &nullDevice;
    HeadlessHost headless;

    // Keys change every few frames: short taps on the menu, long holds in a game.
    std::uniform_int_distribution<int> percent(0, 99);
    bool held[256] = {};
    int maxObjects = 0;
    long warmRss = 0, peakRss = 0;
    headless.keys = [&](int, int vk) { return held[vk & 0xff]; };
    headless.onFrame = [&](int frame) {
        maxObjects = std::max(maxObjects, ListLength());
        for (int vk : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SPACE})
            if (percent(keysRandom) < (world.inGame ? 10 : 2)) held[vk] = !held[vk];
        for (int vk : {VK_W, VK_S, VK_RETURN}) held[vk] = percent(keysRandom) < 1;
        held[VK_ESCAPE] = percent(keysRandom) == 0 && percent(keysRandom) < 20;
        if (frame % 10000 == 0) {
            long rss = ResidentKilobytes();
            if (warmRss == 0 && frame >= frames / 10) warmRss = rss;
            peakRss = std::max(peakRss, rss);
        }
    };

    while (headless.frame < frames) {
        // Now and then the window is closed in the middle of something.
        std::uniform_int_distribution<int> closeAfter(500, 40000);
        headless.closeAtFrame = headless.frame + closeAfter(keysRandom);
        if (headless.closeAtFrame > frames) headless.closeAtFrame = static_cast<int>(frames);
        RunSessionCycle();
        if (world.head != nullptr) {
            std::fprintf(stderr, "soak: the list outlived its session\n");
            return 1;
        }
    }

    std::printf(
        "soak: %d frames, %ld sessions, at most %d objects, resident %ld kB after warm-up, "
        "%ld kB at most\n",
        headless.frame, sessions, maxObjects, warmRss, peakRss);
    if (maxObjects > 3000) {
        std::fprintf(stderr, "soak: the object list grew to %d\n", maxObjects);
        return 1;
    }
#ifndef MARVAZE_SANITIZED
    // The sanitizers keep freed memory in quarantine, so growth is judged without them.
    if (peakRss - warmRss > 8 * 1024) {
        std::fprintf(stderr, "soak: resident memory grew by %ld kB\n", peakRss - warmRss);
        return 1;
    }
#endif
    return 0;
}
