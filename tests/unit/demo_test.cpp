// Demos: the file format read back as written and refused or cut where it is spoiled, and a run
// recorded and played back through the real session cycle. The committed demo's digest is checked
// by the real program on every platform: the window, Wine and browser tests.
#include "app/demo.h"

#include <gtest/gtest.h>

#include <string>

#include "app/session.h"
#include "app/session_cycle.h"
#include "platform/core/demo_file.h"
#include "platform/core/headless_host.h"
#include "platform/core/null_device.h"
#include "tests/unit/render_test_files.h"
#include "world/object_list.h"

namespace {

bool Read(const std::string& bytes, Demo& demo, std::string& error) {
    return ReadDemoBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), demo, error);
}

// Two sessions: a menu confirmed after 300 frames (a checkpoint at 256), a game closed mid-way.
std::string WrittenDemo(const std::string& path) {
    DemoWriter w;
    std::string error;
    EXPECT_TRUE(OpenDemoWriter(w, path, "9.8.7", error)) << error;
    WriteSessionStart(w, 0, 0xdeadbeef);
    for (uint32_t f = 0; f < 300; ++f) {
        if (f == 256) WriteCheckpoint(w, f, 0x0123456789abcdefull);
        WriteFrameInput(w, f < 290 ? 0 : InputEnter);
    }
    WriteSessionEnd(w, 300, Advance, 42);
    WriteSessionStart(w, 1, 7);
    for (uint32_t f = 0; f < 5; ++f) WriteFrameInput(w, InputSpace | InputUp);
    WriteSessionEnd(w, 5, Closed, 43);
    CloseDemoWriter(w);
    return ReadBytes(path);
}

TEST(DemoFile, WhatIsWrittenReadsBackAndSpoiledFieldsAreRefusedOrCut) {
    ScratchFolder folder;
    const std::string bytes = WrittenDemo("a.demo");
    EXPECT_LT(bytes.size(), 80u);  // a few bytes for 300 frames
    Demo demo;
    std::string error;
    ASSERT_TRUE(Read(bytes, demo, error)) << error;
    EXPECT_EQ(demo.gameVersion, "9.8.7");
    EXPECT_TRUE(demo.cut.empty());
    ASSERT_EQ(demo.sessions.size(), 2u);
    const DemoSession& menu = demo.sessions[0];
    EXPECT_EQ(menu.kind, 0);
    EXPECT_EQ(menu.seed, 0xdeadbeefu);
    EXPECT_EQ(menu.frames, 300u);
    ASSERT_EQ(menu.runs.size(), 3u);  // the checkpoint ends a run
    EXPECT_EQ(menu.runs[2].input, InputEnter);
    EXPECT_EQ(menu.runs[2].frames, 10u);
    ASSERT_EQ(menu.checkpoints.size(), 1u);
    EXPECT_EQ(menu.checkpoints[0].frame, 256u);
    EXPECT_EQ(menu.checkpoints[0].digest, 0x0123456789abcdefull);
    EXPECT_TRUE(menu.ended && menu.result == Advance && menu.digest == 42);
    EXPECT_EQ(demo.sessions[1].kind, 1);
    EXPECT_TRUE(demo.sessions[1].ended && demo.sessions[1].result == Closed);

    // The header spoiled: refused, with the reason. (A file that is no demo, or of a newer format,
    // the real program refuses in the window tests.)
    struct Refused {
        std::string bytes;
        const char* reason;
    } refused[] = {
        {bytes.substr(0, 10), "cut short in its header"},  // inside the version's text
        {bytes.substr(0, 6) + std::string(1, '\x7f') + bytes.substr(7), "cut short in its header"},
        {bytes.substr(0, 12), "holds no session"},
        {std::string(MaxDemoFileBytes + 1, 'M'), "larger than any demo"},
    };
    for (const Refused& r : refused) {
        EXPECT_FALSE(Read(r.bytes, demo, error)) << r.reason;
        EXPECT_NE(error.find(r.reason), std::string::npos) << error;
    }

    // Spoiled or cut inside: read up to there, and the cut says where.
    const size_t first = 12;  // the first session's 'S'
    const size_t second = bytes.find('S', first + 6);
    ASSERT_NE(second, std::string::npos);
    struct Cut {
        std::string bytes;
        size_t sessions;
        uint32_t framesOfLast;
    } cuts[] = {
        {bytes.substr(0, second - 3), 1, 300},  // inside the 'E' record
        {bytes.substr(0, second) + "Q" + bytes.substr(second + 1), 1, 300},  // an unknown record
        {bytes.substr(0, second + 1) + "\x05" + bytes.substr(second + 2), 1, 300},  // kind 5
        {bytes.substr(0, bytes.size() - 10) + "\x09" + bytes.substr(bytes.size() - 9), 2, 5},
        {bytes.substr(0, second + 9), 2, 0},  // a session broken off before its first frame
    };
    for (const Cut& c : cuts) {
        ASSERT_TRUE(Read(c.bytes, demo, error)) << error;
        EXPECT_FALSE(demo.cut.empty());
        ASSERT_EQ(demo.sessions.size(), c.sessions) << demo.cut;
        EXPECT_EQ(demo.sessions.back().frames, c.framesOfLast) << demo.cut;
    }
}

// The whole program's cycle, headless: the menu, a game with the guns and the stick, the menu
// again, Escape.
class DemoRun : public ::testing::Test {
  protected:
    ScratchFolder folder;
    NullDevice nothing;

    void SetUp() override { device = &nothing; }
    void TearDown() override { device = nullptr; }

    // Runs the cycle with `options` and the keys; the exit status.
    static int Run(const StartOptions& options, std::function<bool(int, int)> keys = nullptr) {
        std::string error;
        EXPECT_TRUE(StartDemo(options, error)) << error;
        HeadlessHost headless;
        headless.keys = std::move(keys);
        headless.closeAtFrame = 5000;
        menuLatches = MenuLatches{};
        world = World{};
        RunSessionCycle();
        return FinishDemo();
    }

    static bool Played(int frame, int vk) {
        if (frame == 40 || frame == 700 || frame == 760)
            return vk == (frame == 40 ? VK_RETURN : VK_ESCAPE);
        return frame > 40 && frame < 600 &&
               ((vk == VK_SPACE && frame % 30 < 20) || (vk == VK_UP && frame % 90 < 10));
    }
};

TEST_F(DemoRun, ARecordedRunPlaysBackInStepAndASpoiledOneStopsWhereItParts) {
    StartOptions record;
    record.demo = DemoMode::Record;
    record.demoFile = "run.demo";
    ASSERT_EQ(Run(record, Played), 0);
    const uint64_t recorded = FinalWorldDigest();
    Demo demo;
    std::string error;
    ASSERT_TRUE(ReadDemoFile("run.demo", demo, error)) << error;
    ASSERT_EQ(demo.sessions.size(), 3u);  // menu, game, menu
    EXPECT_EQ(demo.sessions[1].checkpoints.size(), 2u);

    // Played back with no keys at all: every checkpoint and every end agrees.
    StartOptions play;
    play.demo = DemoMode::Time;
    play.demoFile = "run.demo";
    EXPECT_EQ(Run(play), 0);
    EXPECT_EQ(FinalWorldDigest(), recorded);
    EXPECT_EQ(FramesRun(), 760);

    // A checkpoint's digest spoiled: out of step there, the playback ending early.
    std::string bytes = ReadBytes("run.demo");
    const size_t checkpoint = bytes.find("C\x80\x02");  // at frame 256
    ASSERT_NE(checkpoint, std::string::npos);
    bytes[checkpoint + 5] ^= 0x40;
    WriteText("spoiled.demo", bytes);
    play.demoFile = "spoiled.demo";
    EXPECT_EQ(Run(play), 3);
    EXPECT_EQ(FramesRun(), 40 + 256);

    // Cut inside the game: plays up to there, then ends as a completed playback does.
    WriteText("cut.demo", ReadBytes("run.demo").substr(0, checkpoint + 3));
    play.demoFile = "cut.demo";
    EXPECT_EQ(Run(play), 0);
    EXPECT_LE(FramesRun(), 40 + 256);
}

}  // namespace
