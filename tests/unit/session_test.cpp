// The session loop and the session cycle on the headless host and the recording device.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/session.h"
#include "app/session_cycle.h"
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
    // Keys held per frame: frame -> keys.
    std::map<int, std::set<int>> held;
    // world.inGame seen at each pump, and the head's health after each frame's pass.
    std::map<int, int> kindAtFrame;

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
        headless.onFrame = [this](int frame) { kindAtFrame[frame] = world.inGame; };
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
};

TEST_F(SessionTest, SessionStartsWithThePlayerAircraftAsHead) {
    for (int inGame : {0, 1}) {
        const GameObject* seen = nullptr;
        AircraftObject copy;
        headless.onFrame = [&](int) {
            if (seen == nullptr) {
                seen = world.head;
                copy = *static_cast<const AircraftObject*>(world.head);
            }
        };
        headless.closeAtFrame = headless.frame + 1;
        world.inGame = inGame;
        world.baseAltitude = 5000;
        EXPECT_EQ(RunSession(), Closed);
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(copy.kind, Aircraft);
        EXPECT_EQ(copy.model, ModelPlayer);
        EXPECT_EQ(copy.z, 1.0f);
        EXPECT_EQ(copy.y, 500.0f);
        EXPECT_EQ(copy.vz, 300.0f);
        EXPECT_EQ(copy.health, inGame == 0 ? 10 : 1);
        EXPECT_EQ(copy.next, nullptr);
        EXPECT_EQ(world.baseAltitude, 0.0f);
        DestroyWorldObjects();
    }
}

TEST_F(SessionTest, ClosingTheWindowEndsBeforeAnythingOfTheFrameIsDrawn) {
    headless.closeAtFrame = 3;
    EXPECT_EQ(Run(0), Closed);
    EXPECT_EQ(recorder.CountOf("Clear"), 2u);
    EXPECT_EQ(recorder.CountOf("BeginScene"), 2u);
    EXPECT_EQ(recorder.CountOf("Present"), 2u);
    EXPECT_EQ(world.head, nullptr);
}

TEST_F(SessionTest, FramesArePacedToFiftyMillisecondsWithoutMakingUpForSlowOnes) {
    headless.frameCost = 20;
    headless.closeAtFrame = 11;
    Run(0);
    EXPECT_EQ(headless.sleptTotal, 10u * 30u);

    headless.frameCost = 70;
    headless.sleptTotal = 0;
    headless.closeAtFrame = headless.frame + 11;
    Run(0);
    EXPECT_EQ(headless.sleptTotal, 0u);
}

TEST_F(SessionTest, EscapeActsOnlyAsAFreshPress) {
    // Escape held from the start with the latch clear: nothing until it has been up at a frame end.
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
    // offsets[i] is the value at the pump of frame i+1, after frame i's overlay.
    EXPECT_EQ(offsets[2], 0);   // frame 2 selected the second entry after its slide
    EXPECT_EQ(offsets[3], 5);
    EXPECT_EQ(offsets[12], 50);
    EXPECT_EQ(offsets[19], 50);
    EXPECT_EQ(offsets[20], 50);  // the slide comes before the keys in a frame
    EXPECT_EQ(offsets[21], 45);
    EXPECT_EQ(offsets[29], 5);
    EXPECT_EQ(offsets[30], 0);
    for (int o : offsets) {
        EXPECT_GE(o, 0);
        EXPECT_LE(o, 50);
    }
}

TEST_F(SessionTest, EndingInTheMenuOrAtGameOverClosesTheScene) {
    Hold(2, 2, {VK_RETURN});
    headless.closeAtFrame = 100;
    EXPECT_EQ(Run(0), Advance);
    headless.onFrame = [](int) {
        if (world.head->health > 0) world.head->health = 0;
    };
    headless.closeAtFrame = -1;
    EXPECT_EQ(Run(1), Advance);
    int open = 0;
    for (const DeviceCall& call : recorder.calls) {
        if (call.op == "BeginScene") {
            EXPECT_EQ(open, 0) << "a scene was begun inside another";
            ++open;
        } else if (call.op == "EndScene") {
            --open;
        }
    }
    EXPECT_EQ(open, 0);
}

TEST_F(SessionTest, GameRespawnsThreeTimesThenEndsAboutOneHundredFiftyFramesAfterTheLastDeath) {
    std::vector<int> respawnFrames;
    int lastDeathFrame = 0;
    int32_t previousHealth = 1;
    headless.onFrame = [&](int frame) {
        GameObject& player = *world.head;
        // Kept in the air, so that only the countdown (no crash into the surface) lowers health.
        player.y = 2000.0f;
        player.vy = 0.0f;
        if (previousHealth <= 0 && player.health == 1) respawnFrames.push_back(frame);
        if (player.health > 0) {
            player.health = 0;  // shot down as soon as it is back
            lastDeathFrame = frame;
        }
        previousHealth = player.health;
    };
    EXPECT_EQ(Run(1), Advance);
    // Each death counts down from 0 to below -50 (51 frames) before the respawn.
    EXPECT_EQ(respawnFrames, (std::vector<int>{52, 103, 154}));
    // The last one counts on until it is below -150.
    EXPECT_EQ(lastDeathFrame, 154);
    EXPECT_EQ(headless.frame - lastDeathFrame, 150);
}

TEST_F(SessionTest, GameShowsTheLifeIconAndTheSpareLivesCountingDown) {
    headless.onFrame = [&](int) {
        if (world.head->health > 0) world.head->health = 0;
    };
    EXPECT_EQ(Run(1), Advance);
    std::vector<std::string> shown;
    int lifeIcons = 0;
    for (const DeviceCall* draw : recorder.CallsNamed("Sprite.Draw")) {
        ASSERT_NE(draw->texture, nullptr);
        const std::string& path = draw->texture->path;
        if (path == "data/life.png") ++lifeIcons;
        if (path.size() == 10 && path.rfind("data/", 0) == 0 && std::isdigit(path[5]) &&
            (shown.empty() || shown.back() != path))
            shown.push_back(path);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"data/3.png", "data/2.png", "data/1.png",
                                               "data/0.png"}));
    EXPECT_EQ(lifeIcons, headless.frame);  // one icon a frame, the last frame included
}

TEST_F(SessionTest, MenuDemonstrationRespawnsWithTenHitPointsWithoutEnd) {
    int respawns = 0;
    headless.onFrame = [&](int) {
        GameObject& player = *world.head;
        if (player.health == 10) {
            if (player.y == world.baseAltitude + 1000.0f) ++respawns;
            player.health = 0;
        }
    };
    headless.closeAtFrame = 600;
    EXPECT_EQ(Run(0), Closed);
    EXPECT_GE(respawns, 10);
}

TEST_F(SessionTest, CycleRunsMenuGameMenuAndFreesTheListAfterEverySession) {
    // Menu: confirm the first entry. Game: Escape. Menu: Down, then confirm the second entry.
    Hold(3, 3, {VK_RETURN});
    Hold(10, 10, {VK_ESCAPE});
    Hold(15, 15, {VK_DOWN});
    Hold(17, 17, {VK_SPACE});
    headless.closeAtFrame = 200;
    RunSessionCycle();
    EXPECT_EQ(world.head, nullptr);
    EXPECT_EQ(world.inGame, 0);
    EXPECT_EQ(kindAtFrame[3], 0);
    EXPECT_EQ(kindAtFrame[4], 1);
    EXPECT_EQ(kindAtFrame[10], 1);
    EXPECT_EQ(kindAtFrame[11], 0);
    EXPECT_EQ(headless.frame, 17);
}

TEST_F(SessionTest, ClosingTheWindowInAGameEndsTheProgramWithoutTheMenu) {
    Hold(2, 2, {VK_RETURN});
    headless.closeAtFrame = 20;
    RunSessionCycle();
    EXPECT_EQ(headless.frame, 20);
    EXPECT_EQ(kindAtFrame[20], 1);
    EXPECT_EQ(world.head, nullptr);
}

TEST_F(SessionTest, GameOverReturnsToTheMenu) {
    Hold(2, 2, {VK_RETURN});
    headless.onFrame = [&](int frame) {
        kindAtFrame[frame] = world.inGame;
        if (world.inGame == 1 && world.head->health > 0) world.head->health = 0;
    };
    headless.closeAtFrame = 1000;
    RunSessionCycle();
    EXPECT_EQ(headless.frame, 1000);
    EXPECT_EQ(kindAtFrame[999], 0);  // back in the menu when the window closes
}

}  // namespace
