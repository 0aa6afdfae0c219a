// Whole sessions on the headless host: the menu's demonstration along the whole course, and a
// game flown with the keys until its last life is spent.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/session.h"
#include "platform/core/headless_host.h"
#include "platform/core/null_device.h"
#include "platform/seam.h"
#include "world/object_list.h"
#include "world/schedule.h"

namespace {

uint32_t DemoSeed() { return 4242; }

class WholeSessionTest : public ::testing::Test {
  protected:
    NullDevice nullDevice;
    HeadlessHost headless;
    int longestList = 0;

    void SetUp() override {
        device = &nullDevice;
        sessionSeed = DemoSeed;
        menuLatches = MenuLatches{};
        world = World{};
        scheduleMark = 1;  // as a previous session in its high phase would leave it
    }
    void TearDown() override {
        if (world.head != nullptr) DestroyWorldObjects();
        device = nullptr;
        sessionSeed = CalendarSeed;
    }
    void MeasureList() {
        int length = 0;
        for (const GameObject* o = world.head; o != nullptr; o = o->next) ++length;
        longestList = std::max(longestList, length);
    }
};

TEST_F(WholeSessionTest, MenuDemonstrationFliesThroughEveryPhaseWithABoundedList) {
    std::vector<int32_t> marks;
    float farthest = 0;
    float highestBase = 0;
    headless.onFrame = [&](int) {
        if (world.head == nullptr) return;
        if (marks.empty() || marks.back() != scheduleMark) marks.push_back(scheduleMark);
        farthest = std::max(farthest, world.head->z);
        highestBase = std::max(highestBase, world.baseAltitude);
        MeasureList();
    };
    headless.closeAtFrame = 20001;
    world.inGame = 0;
    EXPECT_EQ(RunSession(), Closed);
    EXPECT_EQ(headless.frame, 20001);

    EXPECT_EQ(marks, (std::vector<int32_t>{1, 1000, 20000, 30000, 40000, 50000, 1}));
    EXPECT_GT(farthest, 80000.0f);
    EXPECT_EQ(highestBase, 12000.0f);
    EXPECT_LT(longestList, 1500);
    RecordProperty("longest_list", longestList);
}

TEST_F(WholeSessionTest, GameFlownWithSpaceAndTheArrowsEndsInGameOver) {
    // Space throughout; climbs and dives in turn, speeding up and slowing down.
    headless.keys = [](int frame, int vk) {
        const int phase = frame % 90;
        switch (vk) {
            case VK_SPACE:
                return true;
            case VK_UP:
                return phase < 30;
            case VK_DOWN:
                return phase >= 45;
            case VK_RIGHT:
                return frame % 200 < 120;
            case VK_LEFT:
                return frame % 200 >= 150;
            default:
                return false;
        }
    };
    int respawns = 0;
    bool fired = false;
    int32_t lastHealth = 1;
    headless.onFrame = [&](int) {
        if (world.head == nullptr) return;
        if (lastHealth <= 0 && world.head->health == 1) ++respawns;
        lastHealth = world.head->health;
        for (const GameObject* o = world.head; o != nullptr; o = o->next)
            fired = fired || (o->kind == Shot && o->team == 0);
        MeasureList();
    };
    headless.closeAtFrame = 40000;  // a safety net: the game must end long before
    world.inGame = 1;
    EXPECT_EQ(RunSession(), Advance);
    EXPECT_LT(headless.frame, 40000);
    EXPECT_EQ(respawns, 3);
    EXPECT_TRUE(fired);
    EXPECT_LT(world.head->health, -150);
    EXPECT_LT(longestList, 1500);
    RecordProperty("frames", headless.frame);
}

}  // namespace
