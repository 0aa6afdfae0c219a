// The aircraft update: the player's keys, dying, collisions, the computer's flying, bombers.
#include "tests/unit/world_fixture.h"
#include "world/aircraft.h"

namespace {

using AircraftTest = WorldTest;

TEST_F(AircraftTest, PlayerKeysSteerFireAndSpeedRelaxesTowardEleven) {
    player->health = 1000;  // no crash may end the keyboard control
    heldKeys = {VK_UP, VK_DOWN, VK_RIGHT, VK_LEFT};
    UpdateAircraft(*player);
    EXPECT_FLOAT_EQ(player->pitch, -0.05f);                          // Up wins over Down
    EXPECT_FLOAT_EQ(player->speed, 11.0f + (10.5f - 11.0f) * 0.9f);  // Right wins over Left

    auto settle = [&](std::set<int> keys) {
        heldKeys = std::move(keys);
        for (int i = 0; i < 150; ++i) {
            player->y = 1500;  // clear of the surface and the ceiling, which turn the nose
            player->vy = 0;
            UpdateAircraft(*player);
        }
    };
    settle({VK_RIGHT, VK_DOWN});
    EXPECT_EQ(player->speed, 13.0f);
    EXPECT_EQ(player->pitch, 0.5f);
    settle({VK_LEFT, VK_UP});
    EXPECT_NEAR(player->speed, 6.5f, 1e-3);
    EXPECT_EQ(player->pitch, -1.0f);
    settle({});
    EXPECT_NEAR(player->speed, 11.0f, 1e-3);
    EXPECT_EQ(OfKind(Shot).size(), 0u);

    heldKeys = {VK_SPACE};
    for (int i = 0; i < 3; ++i) UpdateAircraft(*player);
    EXPECT_EQ(OfKind(Shot).size(), 3u);

    // In the menu the head flies itself: the keys neither steer nor fire.
    world.inGame = 0;
    heldKeys = {VK_SPACE, VK_UP, VK_RIGHT};
    player->pitch = 0;
    player->speed = 10;
    UpdateAircraft(*player);
    EXPECT_EQ(OfKind(Shot).size(), 3u);
    EXPECT_FLOAT_EQ(player->pitch, -0.01f);  // the altitude hold's climb
    EXPECT_EQ(player->speed, 10.0f);
}

TEST_F(AircraftTest, DyingAircraftBurnsSinksAndSlowsDown) {
    AircraftObject* a = AddPilot(1, 2000, 0);
    a->health = 0;
    a->speed = 0.5f;
    UpdateAircraft(*a);
    EXPECT_EQ(OfKind(Explosion).size(), 1u);
    EXPECT_FLOAT_EQ(a->pitch, 0.01f);
    EXPECT_EQ(a->speed, -0.5f);
    UpdateAircraft(*a);
    EXPECT_EQ(a->speed, 0.0f);
    EXPECT_EQ(OfKind(Explosion).size(), 2u);

    BomberObject* b = Add<BomberObject>(1, 2000, 0);
    b->cruiseAltitude = 2000;
    b->health = 0;
    ScriptRand({50, 50, 0, 1200});
    UpdateAircraft(*b);
    std::vector<GameObject*> explosions = OfKind(Explosion);
    ASSERT_EQ(explosions.size(), 4u);
    EXPECT_EQ(explosions[3]->y, b->y - 300.0f);
    EXPECT_EQ(explosions[3]->z, b->z + 600.0f);
    EXPECT_EQ(ScriptedDrawsLeft(), 0);
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

TEST_F(AircraftTest, CloseShotCostsABomberThreeHits) {
    BomberObject* b = Add<BomberObject>(1, 2000, 0);
    b->speed = 0;
    b->cruiseAltitude = 2000;
    GunnerObject* shot = AddShot(0, 2000, 30);
    ScriptRand({50, 50, 0, 50, 50, 50, 50});  // the even draw keeps the gunner idle
    UpdateAircraft(*b);
    EXPECT_EQ(b->health, 7);
    EXPECT_EQ(shot->health, -40 - 1 - 50 - 1);
    EXPECT_EQ(OfKind(Explosion).size(), 3u);
    EXPECT_EQ(ScriptedDrawsLeft(), 0);
    EXPECT_EQ(RandDrawCount(), 7);
}

TEST_F(AircraftTest, BomberCarriesItsGunnerAndNeverPursues) {
    BomberObject* b = Add<BomberObject>(1, 2000, 0);
    b->cruiseAltitude = 2000;
    AircraftObject* prey = AddPilot(0, 2000, 700);
    ScriptRand({0, 1, 0});  // target chosen, odd draw, the gunner's pick
    UpdateAircraft(*b);
    EXPECT_EQ(b->target, nullptr);
    EXPECT_EQ(b->gunner.target, prey);
    EXPECT_EQ(b->gunner.z, b->z + 600.0f);
    EXPECT_EQ(RandDrawCount(), 3);
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

TEST_F(AircraftTest, PursuitTurnsFiresBrakesAndGivesUp) {
    AircraftObject* a = AddPilot(1, 2000, 0);
    AircraftObject* t = AddPilot(0, 2000, 1000);
    a->target = t;
    // Each step starts level and at rest, so the geometry is the one set here.
    auto step = [&](float speed, float rise, float ahead, std::vector<int> draws) {
        a->vx = a->vy = a->vz = a->pitch = 0;
        a->speed = speed;
        t->y = a->y + rise;
        t->z = a->z + ahead;
        ScriptRand(std::move(draws));
        UpdateAircraft(*a);
        EXPECT_EQ(ScriptedDrawsLeft(), 0);
    };
    t->health = 0;  // still pursued
    step(0, 0, 1000, {5, 5, 1});
    EXPECT_EQ(OfKind(Shot).size(), 1u);
    EXPECT_EQ(a->speed, 1.0f);
    EXPECT_EQ(a->target, t);

    step(0, 2000, 1000, {1});  // far above: turn by 0.05 and hold fire
    EXPECT_EQ(OfKind(Shot).size(), 1u);
    EXPECT_FLOAT_EQ(a->pitch, -0.05f + 0.01f);  // then the altitude hold's own step
    a->y = 400;
    step(0, 2000, 1000, {1});  // near the surface: pull up once more
    EXPECT_FLOAT_EQ(a->pitch, -0.1f);
    a->y = 2000;

    step(11.5f, 0, -1000, {1});  // aligned, but the heading is outside the firing window
    EXPECT_EQ(OfKind(Shot).size(), 1u);
    EXPECT_EQ(a->speed, 12.5f);

    step(5, 0, 300, {5, 5, 1});  // close: brake by 2, then speed up by 1
    EXPECT_EQ(OfKind(Shot).size(), 2u);
    EXPECT_EQ(a->speed, 4.0f);

    step(5, 0, 300, {5, 5, 31});  // the give-up draw
    EXPECT_EQ(a->target, nullptr);
    EXPECT_EQ(a->speed, 10.0f);

    a->target = t;
    t->health = -1;
    step(5, 0, 1000, {});
    EXPECT_EQ(a->target, nullptr);
    EXPECT_EQ(a->speed, 10.0f);
}

TEST_F(AircraftTest, CruiseAltitudeIsDrawnAndHeld) {
    world.baseAltitude = 500;
    AircraftObject* a = AddPilot(1, 2000, 0);
    a->cruiseAltitude = 0;
    a->speed = 10;
    ScriptRand({1000, 600});
    UpdateAircraft(*a);
    EXPECT_EQ(a->cruiseAltitude, 1600.0f);
    EXPECT_EQ(ScriptedDrawsLeft(), 0);

    auto hold = [&](float speed, float aboveCruise, float pitch) {
        a->vx = a->vy = a->vz = 0;
        a->y = 3000;  // so that every cruise altitude tried is above the band's minimum
        a->speed = speed;
        a->cruiseAltitude = a->y - aboveCruise;
        a->pitch = pitch;
        UpdateAircraft(*a);
        return a->pitch;
    };
    EXPECT_FLOAT_EQ(hold(10, -500, 0), -0.01f);   // below: climb
    EXPECT_FLOAT_EQ(hold(-10, -500, 0), 0.01f);   // flying backward: the other way
    EXPECT_FLOAT_EQ(hold(10, 1500, 0.3f), 0.3f);  // steep dive kept well above
    EXPECT_FLOAT_EQ(hold(10, 700, 0.3f), 0.1f);
    EXPECT_FLOAT_EQ(hold(-10, 300, 0.3f), -0.1f);
    EXPECT_FLOAT_EQ(hold(10, 1500, 0.7f), 0.5f);  // the dive limit
}

TEST_F(AircraftTest, StragglersCatchUpAndLeadersWait) {
    player->z = 10000;
    AircraftObject* behind = AddPilot(1, 2000, 5999);
    AircraftObject* ahead = AddPilot(1, 2000, 14001);
    AircraftObject* edgeAhead = AddPilot(1, 2000, 14000);
    AircraftObject* edgeBehind = AddPilot(1, 2000, 6000);
    for (AircraftObject* a : {behind, ahead, edgeAhead, edgeBehind}) UpdateAircraft(*a);
    EXPECT_EQ(behind->speed, 12.0f);
    EXPECT_EQ(ahead->speed, 8.0f);
    EXPECT_EQ(edgeAhead->speed, 0.0f);
    EXPECT_EQ(edgeBehind->speed, 0.0f);
}

}  // namespace
