// Shots made from their shooters, and fresh aircraft from the same factory.
#include <cmath>
#include <numbers>

#include "tests/unit/world_fixture.h"
#include "world/shots.h"

namespace {

using ShotTest = WorldTest;

TEST_F(ShotTest, ShotFromALevelShooterTakesItsValuesAndAForwardImpulse) {
    AircraftObject* s = AddPilot(1, 700, 50);
    s->x = 3;
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
    EXPECT_EQ(shot->model, ModelShot);
    EXPECT_EQ(shot->team, 1);
    EXPECT_EQ(shot->speed, 12.0f);
    EXPECT_EQ(static_cast<GunnerObject*>(shot)->target, nullptr);
    EXPECT_EQ(shot->x, 3.0f);
    EXPECT_EQ(shot->y, 700.0f);
    EXPECT_EQ(shot->z, 50.0f);
    EXPECT_EQ(shot->vx, 1.0f);
    EXPECT_EQ(shot->vy, -2.0f);
    EXPECT_EQ(shot->vz, 500.0f);
    EXPECT_EQ(shot->pitch, 0.0f);
    EXPECT_EQ(shot->yaw, static_cast<float>(0.25 + 5 * static_cast<double>(0.02f)));
    EXPECT_EQ(shot->aimYaw, 0.5f);
}

TEST_F(ShotTest, NoseUpShotClimbsWithTheSineAndLosesForwardPushWithTheSquaredCosine) {
    AircraftObject* s = AddPilot(1, 700, 50);
    s->pitch = -std::numbers::pi_v<float> / 4;
    ScriptRand({0, 5});  // pitch spread -0.10, yaw spread 0
    GameObject* shot = SpawnObject(SpawnShotRequest, *s);
    EXPECT_NEAR(shot->vy, 141.42f, 0.01f);
    EXPECT_NEAR(shot->vz, 100.0f, 0.01f);
    EXPECT_FLOAT_EQ(shot->pitch, s->pitch - 0.1f);
    EXPECT_EQ(shot->yaw, 0.0f);
}

TEST_F(ShotTest, ShooterFlyingBackwardStillPushesItsShotForward) {
    AircraftObject* s = AddPilot(1, 700, 50);
    s->speed = -10;
    s->vz = -100;
    GameObject* shot = SpawnObject(SpawnShotRequest, *s);
    EXPECT_EQ(shot->vz, 100.0f);
    EXPECT_EQ(shot->speed, -10.0f);
}

TEST_F(ShotTest, AircraftRequestTakesNothingFromTheTemplateAndDrawsNothing) {
    BomberObject* s = Add<BomberObject>(1, 700, 50);
    s->speed = 3;
    ScriptRand({});
    auto* a = static_cast<AircraftObject*>(SpawnObject(SpawnAircraftRequest, *s));
    EXPECT_EQ(a, Tail());
    EXPECT_EQ(RandDrawCount(), 0);
    EXPECT_EQ(a->kind, Aircraft);
    EXPECT_EQ(a->health, 1);
    EXPECT_EQ(a->team, 0);
    EXPECT_EQ(a->speed, 10.0f);
    EXPECT_EQ(a->model, ModelFriend);
    EXPECT_EQ(a->z, 0.0f);
    EXPECT_EQ(a->hasGunner, 0);
    EXPECT_EQ(a->target, nullptr);
}

}  // namespace
