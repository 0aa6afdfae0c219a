// The enemy schedule's climb. What each wave and phase launches, wingmen included, and the order
// of the random draws, are pinned frame by frame by the golden replays; the order of the phases by
// the whole demonstration in the session tests.
#include <utility>

#include "tests/unit/world_fixture.h"
#include "world/schedule.h"

namespace {

class ScheduleTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        player->x = 0;
        player->y = 500;
    }
};

TEST_F(ScheduleTest, ClimbRaisesEveryAircraftFor1200FramesThenTheHighPhaseBegins) {
    scheduleMark = 50000;
    player->z = 80000;
    std::vector<int> noLaunch(6 * 1300, 1);
    ScriptRand(noLaunch);
    RunSchedule();
    EXPECT_EQ(world.baseAltitude, 0.0f);  // the climb waits until 80000 is passed

    player->z = 80001;
    AircraftObject* dying = AddPilot(1, 300, 0);
    dying->health = -20;
    GunnerObject* ship = AddWarship(1, 240, 0);
    GunnerObject* shot = AddShot(0, 900, 0);
    int frames = 0;
    while (scheduleMark == 50000 && frames < 2000) {
        RunSchedule();
        ++frames;
    }
    EXPECT_EQ(frames, 1201);
    EXPECT_EQ(world.baseAltitude, 12000.0f);
    EXPECT_EQ(scheduleMark, 1);
    EXPECT_EQ(player->y, 12500.0f);
    EXPECT_EQ(player->cruiseAltitude, 100000.0f + 12000.0f);
    EXPECT_EQ(dying->y, 12300.0f);  // dying aircraft are raised too; ships and shots are not
    EXPECT_EQ(std::pair(ship->y, shot->y), std::pair(240.0f, 900.0f));
    EXPECT_EQ(Length(), 4);
}

}  // namespace
