#include "world/aircraft.h"

#include "platform/seam.h"
#include "world/distance.h"
#include "world/flight.h"
#include "world/gunners.h"
#include "world/reach.h"
#include "world/shots.h"
#include "world/telling.h"

namespace {

constexpr float HitRadius = 50.0f;
constexpr float BomberCatchRadius = 200.0f;
constexpr float TargetRange = 1200.0f;
constexpr float KeepUpDistance = 4000.0f;
constexpr float TurnStep = 0.05f;
constexpr float FireWindow = 0.5f;

void DrawCruiseAltitude(AircraftObject& a) {
    while (a.cruiseAltitude < world.baseAltitude + 1000.0f)
        a.cruiseAltitude += static_cast<float>(Rand() % 1001);
}

// Computer-flown aircraft that fall behind catch up, those far ahead wait.
void KeepNearPlayer(AircraftObject& a) {
    const float playerZ = world.head->z;
    if (a.z < playerZ - KeepUpDistance) a.speed = 12.0f;
    if (a.z > playerZ + KeepUpDistance) a.speed = 8.0f;
}

void Die(AircraftObject& a) {
    SpawnExplosion(a);
    Tell(CrashExplosion, a);
    a.pitch += 0.01f;
    if (a.speed > 0.0f)
        a.speed -= 1.0f;
    else
        a.speed = 0.0f;
    // A bomber burns over its whole length: a second, widely scattered explosion.
    if (a.hasGunner == 1) SpawnScatteredExplosion(a, 300, 600);
}

void Collide(AircraftObject& a) {
    const uint32_t kinds = KindBit(Aircraft) | KindBit(Shot) | KindBit(Gunner);
    ForEachInReach(a, HitRadius, kinds, [&a](GameObject& o) {
        // A dying aircraft no longer collides; shots and gunners are hit whatever their health.
        if (o.kind == Aircraft && o.health <= 0) return;
        Hurt(o, 1);
        Hurt(a, 1);
        SpawnExplosion(a);
        Tell(HitExplosion, a);
    });
}

void FlyByKeys(AircraftObject& a) {
    if (KeyDown(VK_UP))
        a.pitch -= TurnStep;
    else if (KeyDown(VK_DOWN))
        a.pitch += TurnStep;
    if (KeyDown(VK_RIGHT))
        a.speed += 0.5f;
    else if (KeyDown(VK_LEFT))
        a.speed -= 0.5f;
    a.speed = 11.0f + (a.speed - 11.0f) * 0.9f;
    if (a.speed > 13.0f) a.speed = 13.0f;
    if (KeyDown(VK_SPACE)) SpawnShot(a);
}

void ChooseTarget(AircraftObject& a) {
    // The walk does not stop at a choice: a later candidate that wins its draw replaces it.
    ForEachInReach(a, TargetRange, KindBit(Aircraft), [&a](GameObject& o) {
        if (o.z > a.z && Rand() % 11 == 0) a.target = &o;
    });
}

void Pursue(AircraftObject& a, const GameObject& t) {
    const float heading = HeadingTo(a, t.x, t.y, t.z);
    const float aim = PitchTo(a, t.x, t.y, t.z);
    if (a.pitch + TurnStep < aim) {
        a.pitch += TurnStep;
    } else if (a.pitch - TurnStep > aim) {
        a.pitch -= TurnStep;
    } else {
        a.pitch = aim;
        const float offAim = heading - a.aimYaw;
        if (offAim > -FireWindow && offAim < FireWindow) SpawnShot(a);
    }
    if (a.y < 500.0f) a.pitch -= TurnStep;
    if (Distance(a, t) < 500.0f && a.speed > 2.0f) {
        a.speed -= 2.0f;
        a.pitch -= TurnStep;
    }
    if (a.speed < 12.0f) a.speed += 1.0f;
    if (Rand() % 31 == 0) {
        a.speed = 10.0f;
        a.target = nullptr;
    }
}

void FlyTarget(AircraftObject& a) {
    if (a.target == nullptr) {
        ChooseTarget(a);
    } else if (a.target->health < 0) {
        a.speed = 10.0f;
        a.target = nullptr;
    } else {
        Pursue(a, *a.target);
    }
}

// `dir` is the direction of flight before steering: a pilot flying toward -z pitches the other
// way to climb.
void HoldCruiseAltitude(AircraftObject& a, float dir) {
    const float c = a.cruiseAltitude;
    if (c > a.y) {
        if (a.pitch > -0.1f) a.pitch -= dir * 0.01f;
    } else {
        if (a.pitch < 0.1f) a.pitch += dir * 0.01f;
    }
    if (a.y < c + 500.0f && a.pitch > 0.2f) a.pitch = dir * 0.1f;
    if (a.y < c + 1000.0f && a.pitch > 0.1f) a.pitch = dir * 0.1f;
}

void LimitPitch(AircraftObject& a) {
    if (a.pitch > 0.5f) a.pitch = 0.5f;
    if (a.pitch < -1.0f) a.pitch = -1.0f;
}

void CatchShots(AircraftObject& a, float radius, int32_t shotCost) {
    ForEachInReach(a, radius, KindBit(Shot), [&](GameObject& o) {
        o.health -= shotCost;
        Hurt(a, 1);
        SpawnExplosion(a);
        Tell(HitExplosion, a);
    });
}

void BomberDuties(BomberObject& b) {
    b.gunner.x = b.x;
    b.gunner.y = b.y;
    b.gunner.z = b.z + 600.0f;
    b.target = nullptr;
    if (Rand() % 2 == 1) UpdateGunner(b.gunner);
    // A shot near a bomber is spent on its wide hull; one that comes very close counts twice
    // more.
    CatchShots(b, BomberCatchRadius, 50);
    CatchShots(b, HitRadius, 1);
}

}  // namespace

void UpdateAircraft(AircraftObject& a) {
    DrawCruiseAltitude(a);
    KeepNearPlayer(a);
    IntegrateFlight(a);
    if (a.health < 1) {
        Die(a);
        return;
    }
    Collide(a);
    const float dir = a.speed < 0.0f ? -1.0f : 1.0f;
    if (&a == world.head && world.inGame != 0) {
        FlyByKeys(a);
    } else {
        FlyTarget(a);
        HoldCruiseAltitude(a, dir);
    }
    LimitPitch(a);
    if (a.hasGunner == 1) BomberDuties(static_cast<BomberObject&>(a));
}
