// The enemy schedule: scripted waves, the low phase, the climb, the high phase, and wingmen.
#include "tests/unit/world_fixture.h"
#include "world/schedule.h"

namespace {

class ScheduleTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        player->x = 0;
        player->y = 500;
        player->vz = 300;
        player->health = 10;
    }
    // Aircraft appended after `from`, in order.
    static std::vector<AircraftObject*> AircraftAfter(const GameObject* from) {
        std::vector<AircraftObject*> found;
        for (GameObject* o = from->next; o != nullptr; o = o->next)
            if (o->kind == Aircraft) found.push_back(static_cast<AircraftObject*>(o));
        return found;
    }
};

TEST_F(ScheduleTest, FirstFrameOfASessionLaunchesWaveZeroWithThePlayersWingmen) {
    scheduleMark = 1;  // left over from an earlier session
    player->z = 1.0f;
    ScriptRand({});
    RunSchedule();
    EXPECT_EQ(scheduleMark, 1000);
    EXPECT_EQ(RandDrawCount(), 0);
    std::vector<AircraftObject*> launched = AircraftAfter(player);
    ASSERT_EQ(launched.size(), 5u);
    for (int i : {0, 1}) {
        EXPECT_EQ(launched[i]->model, ModelFriend);
        EXPECT_EQ(launched[i]->health, 10);
        EXPECT_EQ(launched[i]->vz, 300.0f);
        EXPECT_EQ(launched[i]->y, i == 0 ? 600.0f : 400.0f);
    }
    EXPECT_EQ(launched[2]->x, -5000.0f);
    EXPECT_EQ(launched[2]->health, 1);

    player->z = 500;  // moved on, but not past 1000
    RunSchedule();
    EXPECT_EQ(Length(), 6);
}

TEST_F(ScheduleTest, OneWavePerFrameAndOnlyPastItsMark) {
    scheduleMark = 1000;
    player->z = 1000;
    RunSchedule();
    EXPECT_EQ(Length(), 1);

    player->z = 25000;
    RunSchedule();
    std::vector<AircraftObject*> wave = AircraftAfter(player);
    ASSERT_EQ(wave.size(), 4u);
    EXPECT_EQ(wave[0]->health, 5);
    EXPECT_EQ(wave[0]->team, 1);
    EXPECT_EQ(wave[0]->z, 27000.0f);
    EXPECT_EQ(scheduleMark, 20000);

    RunSchedule();
    wave = AircraftAfter(wave.back());
    ASSERT_EQ(wave.size(), 6u);  // two head-on flights, each with its wingmen
    EXPECT_EQ(wave[0]->y, 1500.0f);
    EXPECT_EQ(wave[0]->vz, 0.0f);
    EXPECT_EQ(wave[0]->speed, -10.0f);
    EXPECT_EQ(wave[1]->z, 30500.0f);  // trailing a leader that flies toward -z
    EXPECT_EQ(wave[3]->x, -5000.0f);
    EXPECT_EQ(scheduleMark, 30000);

    RunSchedule();
    EXPECT_EQ(scheduleMark, 30000);
}

TEST_F(ScheduleTest, LowPhaseDrawsEachChanceInOrderAndALaneOnlyWhenItComesUp) {
    scheduleMark = 50000;
    player->z = 60000;
    ScriptRand({0, 0, 0, 3, 0, 1, 0, 1});
    RunSchedule();
    EXPECT_EQ(RandDrawCount(), 8);
    std::vector<GameObject*> ships = OfKind(Gunner);
    ASSERT_EQ(ships.size(), 1u);
    EXPECT_EQ(ships[0]->x, -3000.0f);
    EXPECT_EQ(ships[0]->y, 240.0f);
    std::vector<AircraftObject*> flights = AircraftAfter(player);
    ASSERT_EQ(flights.size(), 12u);
    EXPECT_EQ(flights[0]->model, 11);
    EXPECT_EQ(flights[0]->z, 63000.0f);
    EXPECT_EQ(flights[3]->z, 58000.0f);
    EXPECT_EQ(flights[6]->x, -5000.0f);
    EXPECT_EQ(flights[6]->z, 65000.0f);
    EXPECT_EQ(flights[9]->x, -5000.0f);
    EXPECT_EQ(flights[9]->z, 55000.0f);
    EXPECT_EQ(scheduleMark, 50000);

    // Halfway up the climb: no more warships, but their chance is still drawn.
    world.baseAltitude = 6000;
    const int before = Length();
    ScriptRand({1, 1, 0, 1, 1});
    RunSchedule();
    EXPECT_EQ(ScriptedDrawsLeft(), 0);
    EXPECT_EQ(Length(), before);
    ScriptRand({0, 1, 1, 1, 1});
    RunSchedule();
    EXPECT_EQ(static_cast<AircraftObject*>(Tail())->model, 12);
}

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
    GunnerObject* ship = Add<GunnerObject>(1, 240, 0);
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
    EXPECT_EQ(dying->y, 12300.0f);
    EXPECT_EQ(ship->y, 240.0f);
    EXPECT_EQ(shot->y, 900.0f);
    EXPECT_EQ(Length(), 4);
}

TEST_F(ScheduleTest, HighPhaseLaunchesBombersAndFriendlyFlightsOnly) {
    scheduleMark = 1;
    player->z = 200000;
    player->vy = -3;
    ScriptRand({0, 0, 0, 1, 0, 0});
    RunSchedule();
    EXPECT_EQ(RandDrawCount(), 6);
    std::vector<AircraftObject*> launched = AircraftAfter(player);
    ASSERT_EQ(launched.size(), 8u);
    auto* bomber = static_cast<BomberObject*>(launched[0]);
    EXPECT_EQ(bomber->hasGunner, 1);
    EXPECT_EQ(bomber->health, 10);
    EXPECT_EQ(bomber->team, 1);
    EXPECT_EQ(bomber->speed, 8.0f);
    EXPECT_EQ(bomber->vy, -3.0f);
    EXPECT_EQ(bomber->z, 203000.0f);
    EXPECT_EQ(bomber->gunner.team, 1);
    EXPECT_EQ(launched[1]->z, 198000.0f);
    EXPECT_EQ(launched[4]->hasGunner, 1);
    EXPECT_EQ(launched[4]->x, -5000.0f);
    EXPECT_EQ(launched[4]->z, 206000.0f);
    EXPECT_EQ(launched[5]->x, -3000.0f);
    EXPECT_EQ(launched[5]->z, 195000.0f);
}

TEST_F(ScheduleTest, WingmenTrailTheLeaderAlongItsDirectionOfFlight) {
    for (float speed : {10.0f, 0.0f, -10.0f}) {
        AircraftObject* leader = AddPilot(1, 3000, 7000);
        leader->speed = speed;
        leader->target = player;
        AddWingmen(*leader);
        auto* below = static_cast<AircraftObject*>(Tail());
        EXPECT_EQ(below->y, 2900.0f);
        EXPECT_EQ(below->z, speed > 0 ? 6500.0f : 7500.0f);
        EXPECT_EQ(below->target, nullptr);
        EXPECT_EQ(below->cruiseAltitude, 0.0f);
    }
}

}  // namespace
