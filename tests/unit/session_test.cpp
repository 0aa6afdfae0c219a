// The session loop on the headless host and the recording device. The demonstration's course
// through every phase is pinned by the golden replays, its bounded list by the soak; the cycle of
// menu and game sessions is run by the demo tests and the real program's window tests.
#include "app/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "platform/core/headless_host.h"
#include "platform/core/recording_device.h"
#include "platform/seam.h"
#include "world/object_list.h"

namespace {

uint32_t FixedSeed() { return 7; }

class SessionTest : public ::testing::Test {
  protected:
    RecordingDevice recorder;
    HeadlessHost headless;
    std::map<int, std::set<int>> held;  // frame -> keys held

    void SetUp() override {
        // The session's own calls and the screen sprites; not the thousands of quad draws.
        recorder.keep = [](std::string_view op) {
            return op == "Clear" || op == "BeginScene" || op == "EndScene" || op == "Present" ||
                   op.rfind("Sprite.", 0) == 0;
        };
        device = &recorder;
        sessionSeed = FixedSeed;
        menuLatches = MenuLatches{};
        world = World{};
        headless.keys = [this](int frame, int vk) {
            auto found = held.find(frame);
            return found != held.end() && found->second.count(vk) > 0;
        };
    }
    void TearDown() override {
        if (world.head != nullptr) DestroyWorldObjects();
        device = nullptr;
        sessionSeed = CalendarSeed;
    }
    void Hold(int from, int to, std::initializer_list<int> keys) {
        for (int f = from; f <= to; ++f)
            for (int k : keys) held[f].insert(k);
    }
    SessionResult Run(int inGame) {
        world.inGame = inGame;
        SessionResult result = RunSession();
        DestroyWorldObjects();
        return result;
    }
    static void ShootDown() {
        if (world.head->health > 0) world.head->health = 0;
    }
};

TEST_F(SessionTest, ClosingEndsBeforeTheFrameIsDrawnAndFramesArePacedWithoutCatchingUp) {
    headless.frameCost = 20;
    headless.closeAtFrame = 11;
    EXPECT_EQ(Run(0), Closed);
    for (const char* op : {"Clear", "BeginScene", "Present"}) EXPECT_EQ(recorder.CountOf(op), 10u);
    EXPECT_EQ(headless.sleptTotal, 10u * 30u);
    EXPECT_EQ(world.head, nullptr);

    headless.frameCost = 70;  // slow frames are not made up for
    headless.sleptTotal = 0;
    headless.closeAtFrame = headless.frame + 11;
    Run(0);
    EXPECT_EQ(headless.sleptTotal, 0u);
}

TEST_F(SessionTest, EscapeActsOnlyAsAFreshPress) {
    // Held from the start with the latch clear: nothing until it has been up at a frame end.
    Hold(1, 5, {VK_ESCAPE});
    Hold(8, 8, {VK_ESCAPE});
    headless.closeAtFrame = 100;
    EXPECT_EQ(Run(1), Back);
    EXPECT_EQ(headless.frame, 8);
    EXPECT_FALSE(menuLatches.escapeReleased);

    // Still held into the next session: the latch carries over, so it does not act again.
    Hold(9, 12, {VK_ESCAPE});
    headless.closeAtFrame = 15;
    EXPECT_EQ(Run(0), Closed);
}

TEST_F(SessionTest, ATapShorterThanAFrameCountsOnce) {
    // Pressed and released within frame 8's pump: down for that frame, and only that frame.
    headless.onFrame = [this](int frame) {
        if (frame == 8 || frame == 20) {
            headless.Press(VK_ESCAPE);
            headless.Release(VK_ESCAPE);
        }
    };
    headless.closeAtFrame = 100;
    EXPECT_EQ(Run(1), Back);
    EXPECT_EQ(headless.frame, 8);
    EXPECT_TRUE(KeyDown(VK_ESCAPE));
    headless.closeAtFrame = 19;
    EXPECT_EQ(Run(0), Closed);  // not seen again in the next session
}

TEST_F(SessionTest, MenuKeysNeedAFrameWithNoMenuKeyDown) {
    // Enter held over from before: ignored until every menu key is up.
    Hold(1, 3, {VK_RETURN});
    Hold(5, 5, {VK_RETURN});
    headless.closeAtFrame = 50;
    EXPECT_EQ(Run(0), Advance);
    EXPECT_EQ(headless.frame, 5);

    // Up then Down at once: only the first press acts, Down waits for a release.
    menuLatches.menuSelection = 1;
    int start = headless.frame;
    Hold(start + 2, start + 2, {VK_UP});
    Hold(start + 3, start + 3, {VK_DOWN});
    Hold(start + 4, start + 4, {VK_SPACE});  // not fresh: Down was held the frame before
    Hold(start + 6, start + 6, {VK_SPACE});
    headless.closeAtFrame = start + 30;
    EXPECT_EQ(Run(0), Advance);  // confirmed the first entry
    EXPECT_EQ(headless.frame, start + 6);
    EXPECT_EQ(menuLatches.menuSelection, 0);

    // The second entry confirmed leaves with Back.
    start = headless.frame;
    Hold(start + 2, start + 2, {VK_S});
    Hold(start + 4, start + 4, {VK_RETURN});
    headless.closeAtFrame = start + 30;
    EXPECT_EQ(Run(0), Back);
    EXPECT_EQ(menuLatches.menuSelection, 1);
}

TEST_F(SessionTest, CursorSlidesFivePixelsAFrameAndStaysWithinItsRange) {
    std::vector<int> offsets;
    headless.onFrame = [&](int) { offsets.push_back(menuLatches.cursorOffset); };
    Hold(2, 2, {VK_DOWN});
    Hold(20, 20, {VK_UP});
    headless.closeAtFrame = 40;
    Run(0);
    // offsets[i] is the value at the pump of frame i+1, after frame i's overlay. The slide
    // comes before the keys in a frame, so frame 2's Down shows first in frame 3.
    const std::pair<int, int> expected[] = {{2, 0},   {3, 5},  {12, 50}, {20, 50},
                                            {21, 45}, {29, 5}, {30, 0}};
    for (auto [i, offset] : expected) EXPECT_EQ(offsets.at(i), offset) << i;
    EXPECT_EQ(*std::max_element(offsets.begin(), offsets.end()), 50);
    EXPECT_EQ(*std::min_element(offsets.begin(), offsets.end()), 0);
}

// The spare lives' count is the window tests'; the life icon stays to the last frame.
TEST_F(SessionTest, EndingInTheMenuOrAtGameOverClosesTheSceneAndTheLifeIconShowsThroughout) {
    Hold(2, 2, {VK_RETURN});
    headless.closeAtFrame = 100;
    EXPECT_EQ(Run(0), Advance);
    const int menuFrames = headless.frame;
    headless.onFrame = [](int) { ShootDown(); };
    headless.closeAtFrame = -1;
    EXPECT_EQ(Run(1), Advance);
    int open = 0, lifeIcons = 0;
    for (const DeviceCall& call : recorder.calls) {
        if (call.op == "BeginScene") {
            EXPECT_EQ(open++, 0) << "a scene was begun inside another";
        }
        if (call.op == "EndScene") --open;
        lifeIcons += call.op == "Sprite.Draw" && call.texture->path == "data/life.png";
    }
    EXPECT_EQ(open, 0);
    EXPECT_EQ(lifeIcons, headless.frame - menuFrames);
}

}  // namespace
