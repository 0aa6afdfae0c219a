// The aircraft update: the player's keys, objects with no position, the bomber's hull, stragglers.
// Rules that whole flights exercise all the time (collisions, dying, the altitude hold, choosing,
// pursuing and dropping targets, the bomber's gunner) are pinned frame by frame by the golden
// replays.
#include <cmath>
#include <tuple>

#include "tests/unit/world_fixture.h"
#include "world/aircraft.h"
#include "world/object_pass.h"

namespace {

using AircraftTest = WorldTest;

TEST_F(AircraftTest, PlayerKeysSteerFireAndSpeedRelaxesTowardEleven) {
    player->health = 1000;  // no crash may end the keyboard control
    Hold({VK_UP, VK_DOWN, VK_RIGHT, VK_LEFT});
    UpdateAircraft(*player);
    EXPECT_FLOAT_EQ(player->pitch, -0.05f);                          // Up wins over Down
    EXPECT_FLOAT_EQ(player->speed, 11.0f + (10.5f - 11.0f) * 0.9f);  // Right wins over Left
    EXPECT_EQ(OfKind(Shot).size(), 0u);

    Hold({VK_SPACE});
    for (int i = 0; i < 3; ++i) UpdateAircraft(*player);
    EXPECT_EQ(OfKind(Shot).size(), 3u);

    // In the menu the head flies itself: the keys neither steer nor fire.
    world.inGame = 0;
    Hold({VK_SPACE, VK_UP, VK_RIGHT});
    player->pitch = 0;
    player->speed = 10;
    UpdateAircraft(*player);
    EXPECT_EQ(OfKind(Shot).size(), 3u);
    EXPECT_FLOAT_EQ(player->pitch, -0.01f);  // the altitude hold's climb
    EXPECT_EQ(player->speed, 10.0f);
}

// A distance that is not a number is below no radius, inside the object pass and out of it.
TEST_F(AircraftTest, AnObjectWithNoPositionIsNeitherHitNorCaught) {
    AircraftObject* lost = AddPilot(0, 2000, 0);
    lost->x = std::nanf("");
    lost->health = 5;
    GunnerObject* shot = AddShot(0, 2000, 0);
    shot->z = std::nanf("");
    AircraftObject* fighter = AddPilot(1, 2000, 0);
    BomberObject* bomber = AddBomber(1, 2000, 20);
    bomber->speed = 0;
    bomber->cruiseAltitude = 2000;
    UpdateAircraft(*fighter);
    UpdateAircraft(*bomber);
    EXPECT_EQ(std::tuple(lost->health, shot->health, fighter->health, bomber->health),
              std::tuple(5, -40, 1, 10));
    ObjectPass(nullptr);
    EXPECT_EQ(std::tuple(lost->health, shot->health, fighter->health, bomber->health),
              std::tuple(5, -41, 1, 10));
    EXPECT_EQ(OfKind(Explosion).size(), 0u);
}

TEST_F(AircraftTest, CloseShotCostsABomberThreeHits) {
    BomberObject* b = AddBomber(1, 2000, 0);
    b->speed = 0;
    b->cruiseAltitude = 2000;
    GunnerObject* shot = AddShot(0, 2000, 30);
    ScriptRand({50, 50, 0, 50, 50, 50, 50});  // the even draw keeps the gunner idle
    UpdateAircraft(*b);
    EXPECT_EQ(b->health, 7);
    EXPECT_EQ(shot->health, -40 - 1 - 50 - 1);
    EXPECT_EQ(OfKind(Explosion).size(), 3u);
    EXPECT_EQ(RandDrawCount(), 7);
}

TEST_F(AircraftTest, StragglersMoreThan4000BehindThePlayerCatchUpAndLeadersWait) {
    player->z = 10000;
    for (auto [z, speed] :
         {std::pair{5999.0f, 12.0f}, {6000.0f, 0.0f}, {14000.0f, 0.0f}, {14001.0f, 8.0f}}) {
        AircraftObject* b = AddPilot(1, 2000, z);
        UpdateAircraft(*b);
        EXPECT_EQ(b->speed, speed) << z;
    }
}

}  // namespace
