// The gunner's attack and the far-behind rule. Its search, its shots sent backward at a target
// behind, and how shots are made and fly, are pinned frame by frame by the golden replays.
#include "tests/unit/world_fixture.h"
#include "world/gunners.h"

namespace {

using GunnerTest = WorldTest;

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
