// Shots as their shooters make them: the copied state, the muzzle impulse and the spread.
#include <numbers>

#include "tests/unit/world_fixture.h"
#include "world/shots.h"

namespace {

using ShotTest = WorldTest;

TEST_F(ShotTest, LevelShooterGivesItsStatePlusAForwardImpulseAndTwoSpreadDraws) {
    AircraftObject* s = AddPilot(1, 700, 50);
    s->vx = 1;
    s->vy = -2;
    s->vz = 300;
    s->speed = 12;
    s->yaw = 0.25f;
    s->aimYaw = 0.5f;
    ScriptRand({16, 10});  // pitch spread 0, yaw spread +0.10
    GameObject* shot = SpawnObject(SpawnShotRequest, *s);
    ASSERT_EQ(shot, Tail());
    EXPECT_EQ(RandDrawCount(), 2);
    EXPECT_EQ(shot->kind, Shot);
    EXPECT_EQ(shot->health, -40);
    EXPECT_EQ(shot->team, 1);
    EXPECT_EQ(shot->speed, 12.0f);
    EXPECT_EQ(shot->z, 50.0f);
    EXPECT_EQ(shot->vx, 1.0f);
    EXPECT_EQ(shot->vy, -2.0f);
    EXPECT_EQ(shot->vz, 500.0f);
    EXPECT_EQ(shot->pitch, 0.0f);
    // The single-precision step, applied in double.
    EXPECT_EQ(shot->yaw, static_cast<float>(0.25 + 5 * static_cast<double>(0.02f)));
    EXPECT_EQ(shot->aimYaw, 0.5f);
}

TEST_F(ShotTest, ImpulseFollowsTheNoseBeforeSpreadAndIgnoresTheDirectionOfFlight) {
    AircraftObject* s = AddPilot(1, 700, 50);
    s->pitch = -std::numbers::pi_v<float> / 4;
    ScriptRand({0, 5});  // pitch spread -0.10, yaw spread 0
    GameObject* up = SpawnObject(SpawnShotRequest, *s);
    EXPECT_NEAR(up->vy, 141.42f, 0.01f);
    EXPECT_NEAR(up->vz, 100.0f, 0.01f);  // the squared cosine
    EXPECT_FLOAT_EQ(up->pitch, s->pitch - 0.1f);
    EXPECT_EQ(up->yaw, 0.0f);

    s->pitch = 0;
    s->speed = -10;
    s->vz = -100;
    GameObject* back = SpawnObject(SpawnShotRequest, *s);
    EXPECT_EQ(back->vz, 100.0f);
    EXPECT_EQ(back->speed, -10.0f);
}

}  // namespace
