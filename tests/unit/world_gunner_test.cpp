// The gunner's search and attack, the far-behind rule, and its shots sent backward. How shots
// are made and fly is pinned frame by frame by the golden replays.
#include "tests/unit/world_fixture.h"
#include "world/gunners.h"

namespace {

using GunnerTest = WorldTest;

TEST_F(GunnerTest, SearchDrawsOncePerEnemyAircraftInRangeAndKeepsTheLastWinner) {
    GunnerObject* g = AddWarship(1, 240, 0);
    AircraftObject* a = AddPilot(0, 1000, 1000);
    AddPilot(1, 1000, 1000);  // own team
    AddShot(0, 240, 10);
    AddExplosion(0, 240, 10);  // an explosion
    AddPilot(0, 240, 3000);    // exactly at the range: out
    AddPilot(0, 240, -2999);
    AircraftObject* c = AddPilot(0, 500, 500);

    ScriptRand({0, 5, 11});
    UpdateGunner(*g);
    EXPECT_EQ(RandDrawCount(), 3);
    EXPECT_EQ(g->target, c);
    EXPECT_EQ(OfKind(Shot).size(), 1u);  // a search step fires nothing

    g->target = nullptr;
    ScriptRand({0, 1, 2});
    UpdateGunner(*g);
    EXPECT_EQ(g->target, a);

    GunnerObject* lonely = AddWarship(1, 240, 90000);
    ScriptRand({});
    UpdateGunner(*lonely);
    EXPECT_EQ(RandDrawCount(), 0);
}

TEST_F(GunnerTest, AttackAimsFiresAndLetsGoOnTheDrawOrWhenTheTargetDies) {
    GunnerObject* g = AddWarship(1, 240, 0);
    AircraftObject* t = AddPilot(0, 740, 1000);
    t->health = 0;  // still fired at
    g->target = t;
    ScriptRand({5, 5, 1});
    UpdateGunner(*g);
    GameObject* shot = Tail();
    ASSERT_EQ(shot->kind, Shot);
    EXPECT_EQ(g->target, t);
    EXPECT_EQ(g->pitch, 0.0f);
    EXPECT_EQ(shot->speed, 10.0f);
    EXPECT_NEAR(shot->pitch, -0.785f, 0.01f);  // aimed 45 degrees up at the target

    ScriptRand({5, 5, 22});
    UpdateGunner(*g);
    EXPECT_EQ(g->target, nullptr);

    g->target = t;
    t->health = -1;
    ScriptRand({});
    UpdateGunner(*g);
    EXPECT_EQ(g->target, nullptr);
    EXPECT_EQ(OfKind(Shot).size(), 2u);
    EXPECT_EQ(RandDrawCount(), 0);
}

TEST_F(GunnerTest, TargetBehindReversesTheShotButNotItsClimb) {
    GunnerObject* g = AddWarship(1, 240, 0);
    g->target = AddPilot(0, 1240, -1000);
    ScriptRand({5, 5, 1});
    UpdateGunner(*g);
    EXPECT_EQ(Tail()->speed, -10.0f);
    EXPECT_LT(Tail()->vz, 0.0f);
    EXPECT_GT(Tail()->vy, 0.0f);

    g->target = AddPilot(0, 1240, 0);  // level in z is not behind
    ScriptRand({5, 5, 1});
    UpdateGunner(*g);
    EXPECT_EQ(Tail()->speed, 10.0f);
    EXPECT_GT(Tail()->vy, 199.0f);  // straight overhead: almost all the impulse goes up
    EXPECT_LT(Tail()->vz, 0.01f);
}

TEST_F(GunnerTest, FarBehindThePlayerItIsSetDyingAtEveryStepAndStillFires) {
    player->z = 10000;
    GunnerObject* edge = AddWarship(1, 240, 4000);
    UpdateGunner(*edge);
    EXPECT_EQ(edge->health, 1);

    GunnerObject* behind = AddWarship(1, 240, 3999);
    behind->health = -7;
    behind->target = AddPilot(0, 1240, 4500);
    ScriptRand({5, 5, 1});
    UpdateGunner(*behind);
    EXPECT_EQ(behind->health, 0);
    EXPECT_EQ(OfKind(Shot).size(), 1u);
}

}  // namespace
