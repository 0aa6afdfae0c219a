// Surface contact and the flight band. The plain flight step, aiming and the explosions the
// flight leaves are pinned frame by frame by the golden replays.
#include <utility>

#include "tests/unit/world_fixture.h"
#include "world/flight.h"

namespace {

using FlightTest = WorldTest;

TEST_F(FlightTest, SurfaceContactReboundsOnlyFromHardImpactsAndMostlyEndsShots) {
    GameObject* o = AddPilot(1, -5, 0);
    o->vy = -30;
    SurfaceContact(*o);
    EXPECT_FLOAT_EQ(o->vy, 24.0f);
    o->vy = -20;
    SurfaceContact(*o);
    EXPECT_EQ(o->vy, 0.0f);
    EXPECT_EQ(o->health, -1);

    for (int draw : {1, 2, 3}) {
        GunnerObject* shot = AddShot(0, -1, 0);
        ScriptRand({draw, 50, 50});
        IntegrateFlight(*shot);
        EXPECT_EQ(shot->health, draw % 3 != 0 ? -50 : -41) << draw;
        EXPECT_EQ(ScriptedDrawsLeft(), 0);  // the explosion's two draws follow
    }
    EXPECT_EQ(OfKind(Explosion).size(), 5u);
}

TEST_F(FlightTest, LivingAircraftAreHeldInTheFlightBand) {
    world.baseAltitude = 1000;
    AircraftObject* high = AddPilot(1, 3990, 0);
    high->vy = 20;
    high->pitch = -0.4f;
    IntegrateFlight(*high);
    EXPECT_EQ(high->y, 4000.0f);  // the ceiling turns it back down
    EXPECT_FLOAT_EQ(high->pitch, 0.2f);
    EXPECT_LT(high->vy, 0.0f);

    // Below the floor: put back 1 above it, with a cruise altitude drawn up to 1000 above it.
    AircraftObject* low = AddPilot(1, 1010, 0);
    low->cruiseAltitude = 0;
    low->vy = -40;
    low->pitch = 0.4f;
    ScriptRand({500, 500, 500, 500, 7});
    IntegrateFlight(*low);
    EXPECT_EQ(std::pair(low->y, low->cruiseAltitude), std::pair(1001.0f, 2000.0f));
    EXPECT_FLOAT_EQ(low->pitch, -0.2f);
    EXPECT_GT(low->vy, 0.0f);
    EXPECT_EQ(ScriptedDrawsLeft(), 1);

    // A dying aircraft falls through the floor, and at base 0 the surface comes first.
    low->health = 0;
    low->vy = -40;
    IntegrateFlight(*low);
    EXPECT_LT(low->y, 1000.0f);
    world.baseAltitude = 0;
    AircraftObject* crashing = AddPilot(1, 10, 0);
    crashing->vy = -40;
    IntegrateFlight(*crashing);
    EXPECT_EQ(crashing->y, 0.0f);
}

}  // namespace
