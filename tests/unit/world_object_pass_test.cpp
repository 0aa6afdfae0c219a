// The object pass: the death countdown, removal and the explosions it leaves, and that no removed
// object is ever read through a target. Updates by kind and the lifetimes of shots are pinned
// frame by frame by the golden replays.
#include <map>

#include "tests/unit/world_fixture.h"
#include "world/object_pass.h"

namespace {

std::map<const GameObject*, int> drawn;
void CountDraw(const GameObject& o) { ++drawn[&o]; }

class ObjectPassTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        drawn.clear();
    }
};

TEST_F(ObjectPassTest, ConsecutiveDeadObjectsAreRemovedInOneGoAndAircraftLeaveAnExplosion) {
    GameObject* live = AddExplosion(0, 100, 0);
    live->health = -10;
    GameObject* deadBlast = AddExplosion(0, 100, 0);
    deadBlast->health = -51;
    AircraftObject* deadPlane = AddPilot(1, 700, 40);
    deadPlane->x = 9;
    deadPlane->health = -51;
    ScriptRand({0, 100});
    ObjectPass(CountDraw);
    ASSERT_EQ(Length(), 3);
    EXPECT_EQ(live->next, Tail());
    GameObject* last = Tail();
    EXPECT_EQ(last->kind, Explosion);
    EXPECT_EQ(last->x, 9.0f);
    EXPECT_EQ(last->y, 650.0f);
    EXPECT_EQ(last->z, 90.0f);
    EXPECT_EQ(last->health, -1);  // visited in the same frame, from 0
    EXPECT_EQ(drawn[last], 1);
    EXPECT_EQ(live->health, -11);
}

TEST_F(ObjectPassTest, HeadIsNeverRemovedAndCountsDownWithoutEnd) {
    player->health = -60;
    ObjectPass(CountDraw);
    EXPECT_EQ(world.head, player);
    EXPECT_EQ(player->health, -61);
    EXPECT_EQ(drawn[player], 1);
}

// Without the clearing of targets on removal, each of these reads freed memory.
TEST_F(ObjectPassTest, TargetsOfRemovedObjectsAreClearedBeforeAnyoneReadsThem) {
    // The menu's head keeps its target while it dies; the target is removed meanwhile; the
    // respawned head then flies on.
    world.inGame = 0;
    AircraftObject* prey = AddPilot(1, 2000, 500);
    prey->health = -51;
    player->target = prey;
    player->health = -10;

    // A bomber's gunner is not stepped every frame, so it can still hold a removed target.
    AircraftObject* victim = AddPilot(0, 2000, 90000);
    victim->health = -51;
    BomberObject* bomber = AddBomber(1, 2000, 90000);
    bomber->cruiseAltitude = 2000;
    bomber->gunner.target = victim;

    // A warship that picked a dying aircraft on its search step finds it gone on the next.
    AircraftObject* sinking = AddPilot(0, 240, -90000);
    sinking->health = -50;
    GunnerObject* ship = AddWarship(1, 240, -90000);
    ship->target = sinking;

    ObjectPass(nullptr);  // removes prey and victim; the ship drops `sinking` at -50
    ship->target = sinking;
    player->health = 10;
    ObjectPass(nullptr);  // removes `sinking` before the ship's step
    EXPECT_EQ(player->target, nullptr);
    EXPECT_EQ(bomber->gunner.target, nullptr);
    EXPECT_EQ(ship->target, nullptr);
    for (int frame = 0; frame < 10; ++frame) ObjectPass(nullptr);
}

}  // namespace
