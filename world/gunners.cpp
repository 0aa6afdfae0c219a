#include "world/gunners.h"

#include "platform/seam.h"
#include "world/distance.h"
#include "world/flight.h"
#include "world/object_index.h"
#include "world/shots.h"

namespace {

constexpr float GunnerRange = 3000.0f;
// A gunner this far behind the player is left dying; the countdown never completes while it
// stays there, as the test runs again at every step.
constexpr float FarBehind = 6000.0f;

void Attack(GunnerObject& g, const GameObject& t) {
    if (t.health < 0) {
        g.target = nullptr;
        return;
    }
    g.pitch = PitchTo(g, t.x, t.y, t.z);
    GameObject* shot = SpawnObject(SpawnShotRequest, g);
    // A target behind the gunner gets the shot sent backward; its climb is left as made.
    if (g.z > t.z) {
        shot->speed = -shot->speed;
        shot->vz = -shot->vz;
    }
    g.pitch = 0.0f;
    if (Rand() % 11 == 0) g.target = nullptr;
}

void Search(GunnerObject& g) {
    // Every candidate in range gets its own draw and the walk goes on, so the last winner holds.
    ForEachInReach(g, GunnerRange, KindBit(Aircraft), g.team, [&g](GameObject& o) {
        if (o.kind != Aircraft || o.team == g.team) return;
        if (Distance(g, o) < GunnerRange && Rand() % 11 == 0) g.target = &o;
    });
}

}  // namespace

void UpdateGunner(GunnerObject& g) {
    const GameObject* player = world.head;
    if (player->z - FarBehind > g.z) g.health = 0;
    if (g.target != nullptr)
        Attack(g, *g.target);
    else
        Search(g);
}
