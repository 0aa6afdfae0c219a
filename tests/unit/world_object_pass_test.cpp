// The object pass never lets a removed object be read through a target. The death countdown,
// removal and the explosions it leaves are pinned frame by frame by the golden replays.
#include "tests/unit/world_fixture.h"
#include "world/object_pass.h"

namespace {

using ObjectPassTest = WorldTest;

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
