#include "world/gunners.h"

#include "platform/seam.h"
#include "world/flight.h"
#include "world/reach.h"
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
    // A target behind the gunner gets the shot sent backward.
    SpawnShot(g, g.z > t.z);
    g.pitch = 0.0f;
    if (Rand() % 11 == 0) g.target = nullptr;
}

void Search(GunnerObject& g) {
    // Every candidate in range gets its own draw and the walk goes on, so the last winner holds.
    ForEachInReach(g, GunnerRange, KindBit(Aircraft), [&g](GameObject& o) {
        if (Rand() % 11 == 0) g.target = &o;
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
