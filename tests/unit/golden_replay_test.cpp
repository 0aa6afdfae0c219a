// Deterministic replays of a menu demonstration and of a game, digested frame by frame and
// compared with the committed expectation, so that any change of behaviour shows. After an
// intended change, regenerate with MARVAZE_UPDATE_GOLDEN=1 and explain the change in the commit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/game_sound.h"
#include "app/session.h"
#include "platform/core/headless_host.h"
#include "platform/core/mixer.h"
#include "platform/core/null_device.h"
#include "platform/seam.h"
#include "tests/unit/game_sound_files.h"
#include "world/digest.h"
#include "world/object_list.h"
#include "world/schedule.h"

namespace {

// One line per frame: the frame, the number of objects and the world's digest.
std::string Digest(int frame) {
    std::ostringstream line;
    line << frame << ' ' << WorldObjectCount() << ' ' << std::hex << WorldDigest() << '\n';
    return line.str();
}

uint32_t GoldenSeed() { return 20261206; }

// Digests every `every`-th frame: a long run in few lines.
std::string Replay(int inGame, int frames, std::function<bool(int, int)> keys, int every = 1) {
    NullDevice nullDevice;
    device = &nullDevice;
    HeadlessHost headless;
    headless.keys = std::move(keys);
    sessionSeed = GoldenSeed;
    std::string digest;
    headless.onFrame = [&](int frame) {
        if (frame > 1 && (frame - 1) % every == 0) digest += Digest(frame - 1);
    };
    headless.closeAtFrame = frames + 1;
    // As a session that climbed to the high phase leaves the world: a new one starts over.
    world = World{};
    world.baseAltitude = 12000.0f;
    world.inGame = inGame;
    scheduleMark = 1;
    RunSession();
    DestroyWorldObjects();
    sessionSeed = CalendarSeed;
    device = nullptr;
    return digest;
}

void Compare(const std::string& name, const std::string& digest) {
    std::string path = std::string(MARVAZE_SOURCE_DIR) + "/tests/golden/" + name;
    if (std::getenv("MARVAZE_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(path, std::ios::trunc) << digest;
        GTEST_SKIP() << "wrote " << path;
    }
    std::ifstream in(path);
    ASSERT_TRUE(in) << "missing " << path;
    std::istringstream got(digest);
    std::string expectedLine, gotLine;
    int line = 0;
    while (std::getline(in, expectedLine)) {
        ++line;
        ASSERT_TRUE(std::getline(got, gotLine)) << "the replay ended early at line " << line;
        ASSERT_EQ(gotLine, expectedLine) << "first difference at line " << line << " of " << name;
    }
    EXPECT_FALSE(std::getline(got, gotLine)) << "the replay ran longer than " << name;
}

TEST(GoldenReplay, MenuDemonstration) { Compare("menu.txt", Replay(0, 4000, nullptr)); }

// Long enough for a difference in the last bit of a sine to grow into another course: the world
// must step identically on every platform.
TEST(GoldenReplay, LongDemonstration) { Compare("long.txt", Replay(0, 16000, nullptr, 160)); }

// Guns always; climbs, dives and speed changes at fixed frames.
bool GameKeys(int frame, int vk) {
    switch (vk) {
        case VK_SPACE:
            return frame % 40 < 30;
        case VK_UP:
            return frame % 200 < 25;
        case VK_DOWN:
            return frame % 200 >= 100 && frame % 200 < 118;
        case VK_RIGHT:
            return frame % 300 < 150;
        case VK_LEFT:
            return frame % 300 >= 250;
        default:
            return false;
    }
}

TEST(GoldenReplay, ScriptedGame) { Compare("game.txt", Replay(1, 3000, GameKeys)); }

// Listening changes nothing: the same digests with the game's own sound listening and playing
// into its mixer, as in the program.
TEST(GoldenReplay, TheSameWithTheGamesSoundListening) {
    StartGameSoundFromSourceTree();
    const std::string menu = Replay(0, 4000, nullptr);
    const std::string game = Replay(1, 3000, GameKeys);
    EXPECT_EQ(PlayingVoices(gameMixer), MaxVoices) << "the world's events made no voices";
    StopGameSound();
    Compare("menu.txt", menu);
    Compare("game.txt", game);
}

}  // namespace
