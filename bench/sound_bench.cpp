// The game's sound over a menu demonstration, headless: the world's events a frame, the voices
// they keep playing, and what the mixer costs per second of sound. Run from the top of the
// source tree (it reads data/): build/bench/sound_bench [FRAMES [SEED]].
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/game_sound.h"
#include "app/session.h"
#include "platform/core/headless_host.h"
#include "platform/core/mixer.h"
#include "platform/core/null_device.h"
#include "platform/seam.h"
#include "world/object_list.h"

namespace {

using Clock = std::chrono::steady_clock;

WorldEventListener game = nullptr;
int eventsThisFrame = 0;

void Counted(const WorldEvent& e) {
    ++eventsThisFrame;
    game(e);
}

uint32_t seed = 4242;
uint32_t Seed() { return seed; }

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 6000;
    if (argc > 2) seed = static_cast<uint32_t>(std::atoi(argv[2]));
    std::printf("load average before: %s\n", LoadAverage().c_str());
    StartGameSound();
    game = seam_detail::worldEventListener;
    SetWorldEventListener(Counted);

    NullDevice nullDevice;
    device = &nullDevice;
    HeadlessHost headless;
    sessionSeed = Seed;
    // One frame of the game is 50 ms: 2205 frames of sound are mixed after each.
    constexpr int PerFrame = MixRate / 20;
    std::vector<int16_t> out(2 * PerFrame);
    int heaviest = 0, heaviestFrame = 0, mostVoices = 0, mostVoicesFrame = 0, firstEvent = 0;
    long totalEvents = 0;
    Clock::duration mixing{};
    headless.onFrame = [&](int frame) {
        if (frame > 1) {
            const int done = frame - 1;
            if (eventsThisFrame > heaviest) heaviest = eventsThisFrame, heaviestFrame = done;
            if (eventsThisFrame > 0 && firstEvent == 0) firstEvent = done;
            totalEvents += eventsThisFrame;
            const int voices = PlayingVoices(gameMixer);
            if (voices > mostVoices) mostVoices = voices, mostVoicesFrame = done;
            const Clock::time_point start = Clock::now();
            MixInto(gameMixer, out.data(), PerFrame);
            mixing += Clock::now() - start;
        }
        eventsThisFrame = 0;
    };
    headless.closeAtFrame = frames + 1;
    world = World{};
    world.inGame = 0;
    RunSession();
    DestroyWorldObjects();

    const double seconds = frames / 20.0;
    const double mixMs = std::chrono::duration<double, std::milli>(mixing).count();
    std::printf("menu demonstration, seed %u, %d frames (%.0f s of the game)\n", seed, frames,
                seconds);
    std::printf("events: %ld in all, first in frame %d; heaviest frame %d with %d (%d a second)\n",
                totalEvents, firstEvent, heaviestFrame, heaviest, heaviest * 20);
    std::printf("most voices playing: %d of %d (frame %d)\n", mostVoices, MaxVoices,
                mostVoicesFrame);
    std::printf("mixing along the demonstration: %.3f ms per second of sound\n", mixMs / seconds);

    // A loud fight: a game with the guns held from start to end, the player's sound at its
    // loudest. Counts what reaches the top of the 16-bit range: the mixer must limit, not clip.
    StopAllVoices(gameMixer);
    {
        HeadlessHost fight;
        fight.keys = [](int, int vk) { return vk == VK_SPACE; };
        long nearTop = 0, fullScale = 0, runs = 0;
        int run = 0, longestRun = 0, peak = 0;
        fight.onFrame = [&](int frame) {
            if (frame <= 1) return;
            MixInto(gameMixer, out.data(), PerFrame);
            for (int16_t sample : out) {
                const int level = std::abs(static_cast<int>(sample));
                peak = std::max(peak, level);
                nearTop += level > 29000;
                const bool full = level >= 32767;
                fullScale += full;
                if (full && run++ == 0) ++runs;
                if (!full) run = 0;
                longestRun = std::max(longestRun, run);
            }
        };
        // Game after game (each ends when its lives are spent) until the frames are played.
        fight.closeAtFrame = frames + 1;
        int games = 0;
        for (SessionResult result = Advance; result == Advance; ++games) {
            ++seed;
            world = World{};
            world.inGame = 1;
            result = RunSession();
            DestroyWorldObjects();
        }
        world.inGame = 0;
        std::printf(
            "%d games with Space held, %d frames: peak %d; %ld samples above 29000; %ld "
            "at full scale in %ld runs, the longest %.1f ms\n",
            games, frames, peak, nearTop, fullScale, runs, longestRun * 1000.0 / MixRate);
    }

    // The worst case: every voice playing, at rates that need interpolation, for 60 s.
    StopAllVoices(gameMixer);
    std::vector<int16_t> clip(22050);
    for (size_t i = 0; i < clip.size(); ++i) clip[i] = static_cast<int16_t>((i * 37) % 20000);
    const SoundClip full{clip.data(), static_cast<int32_t>(clip.size()), 22050};
    for (int i = 0; i < MaxVoices; ++i) {
        VoiceStart start;
        start.clip = &full;
        start.gain = 0.5f;
        start.pan = i / 12.0f - 1.0f;
        start.rate = 0.65f + 0.03f * i;
        start.loop = true;
        PlayVoice(gameMixer, start);
    }
    const Clock::time_point start = Clock::now();
    for (int block = 0; block < 60 * 20; ++block) MixInto(gameMixer, out.data(), PerFrame);
    const double fullMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("mixing %d voices: %.3f ms per second of sound (%.2f%% of one core)\n", MaxVoices,
                fullMs / 60.0, fullMs / 600.0);
    StopGameSound();
    device = nullptr;
    std::printf("load average after: %s\n", LoadAverage().c_str());
    return 0;
}
