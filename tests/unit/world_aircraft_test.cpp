// The aircraft update: the player's keys, collisions, targets and pursuit, bombers, stragglers.
// Rules that whole flights exercise all the time (dying, the altitude hold, turning toward a
// target) are pinned frame by frame by the golden replays.
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

TEST_F(AircraftTest, CollisionsCostBothSidesOnlyWhileAlive) {
    AircraftObject* a = AddPilot(1, 2000, 0);
    AircraftObject* b = AddPilot(0, 2000, 10);
    AircraftObject* mate = AddPilot(1, 2000, 5);
    UpdateAircraft(*a);
    UpdateAircraft(*b);
    EXPECT_EQ(a->health, 0);  // one hit: both die together
    EXPECT_EQ(b->health, 0);
    EXPECT_EQ(mate->health, 1);
    EXPECT_EQ(OfKind(Explosion).size(), 2u);  // a's hit, b's first burning frame

    // A dying aircraft is no longer hit.
    AircraftObject* f = AddPilot(1, 2000, 0);
    AircraftObject* g = AddPilot(0, 2000, 10);
    f->x = g->x = 7000;
    f->health = 3;
    g->health = 0;
    UpdateAircraft(*f);
    EXPECT_EQ(f->health, 3);
    EXPECT_EQ(g->health, 0);

    // A shot is not used up: it hits again on the next frame, as the aircraft sinks past it.
    AircraftObject* e = AddPilot(1, 2000, 0);
    GunnerObject* shot = AddShot(0, 1975, 0);
    e->x = shot->x = 10000;
    e->health = 5;
    UpdateAircraft(*e);
    UpdateAircraft(*e);
    EXPECT_EQ(e->health, 3);
    EXPECT_EQ(shot->health, -42);
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

TEST_F(AircraftTest, BomberCarriesItsGunnerAndNeverPursues) {
    BomberObject* b = AddBomber(1, 2000, 0);
    b->cruiseAltitude = 2000;
    AircraftObject* prey = AddPilot(0, 2000, 700);
    ScriptRand({0, 1, 0});  // target chosen, odd draw, the gunner's pick
    UpdateAircraft(*b);
    EXPECT_EQ(b->target, nullptr);
    EXPECT_EQ(b->gunner.target, prey);
    EXPECT_EQ(b->gunner.z, b->z + 600.0f);
    EXPECT_EQ(RandDrawCount(), 3);
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

TEST_F(AircraftTest, TargetsAreChosenOnlyAheadAndPursuedWherever) {
    AircraftObject* a = AddPilot(1, 2000, 0);
    AddPilot(0, 2000, -500);
    AircraftObject* ahead = AddPilot(0, 2000, 500);
    AddPilot(0, 2000, 1300);
    AddPilot(0, 2100, 0);  // level, not ahead
    AddPilot(1, 2000, 600);
    ScriptRand({0});
    UpdateAircraft(*a);
    EXPECT_EQ(a->target, ahead);
    EXPECT_EQ(RandDrawCount(), 1);

    ahead->z = -800;
    ScriptRand({1});
    UpdateAircraft(*a);
    EXPECT_EQ(a->target, ahead);
    EXPECT_EQ(RandDrawCount(), 1);  // behind: outside the firing window, only the give-up draw
}

TEST_F(AircraftTest, PursuitFiresWhenAlignedAndEndsOnTheGiveUpDrawOrTheTargetsRemoval) {
    AircraftObject* a = AddPilot(1, 2000, 0);
    AircraftObject* t = AddPilot(0, 2000, 1000);
    a->target = t;
    // Each step starts level and at rest, 1000 behind the target.
    auto step = [&](std::vector<int> draws) {
        a->vx = a->vy = a->vz = a->pitch = a->z = 0;
        a->speed = 5;
        ScriptRand(std::move(draws));
        UpdateAircraft(*a);
        EXPECT_EQ(ScriptedDrawsLeft(), 0);
    };
    t->health = 0;  // a dying target is still pursued
    step({5, 5, 1});
    EXPECT_EQ(OfKind(Shot).size(), 1u);
    EXPECT_EQ(a->target, t);
    EXPECT_EQ(a->speed, 6.0f);

    step({5, 5, 31});  // the give-up draw
    EXPECT_EQ(a->target, nullptr);
    EXPECT_EQ(a->speed, 10.0f);

    a->target = t;
    t->health = -1;
    step({});
    EXPECT_EQ(a->target, nullptr);
    EXPECT_EQ(a->speed, 10.0f);
    EXPECT_EQ(OfKind(Shot).size(), 2u);
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
