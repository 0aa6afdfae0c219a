// The flight step shared by aircraft and shots, aiming, and explosions.
#pragma once

#include "world/records.h"

void IntegrateFlight(GameObject& object);
// What meeting the surface does to an object found below 0 after its move: it is put on the
// surface, rebounds only from a hard impact, loses health and leaves an explosion.
void SurfaceContact(GameObject& object);
float HeadingTo(const GameObject& object, float tx, float ty, float tz);
float PitchTo(const GameObject& object, float tx, float ty, float tz);
// The countdown an explosion starts from, unless its maker says otherwise.
constexpr int32_t ExplosionHealth = -30;
// An explosion within 50 of the source in altitude and forward position.
void SpawnExplosion(const GameObject& source, int32_t health = ExplosionHealth);
// The same, scattered up to `yReach` in altitude and `zReach` forward, either way.
void SpawnScatteredExplosion(const GameObject& source, int yReach, int zReach,
                             int32_t health = ExplosionHealth);
