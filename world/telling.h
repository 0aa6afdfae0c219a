// What the world tells the seam's listener. Each helper changes the world exactly as the plain
// code it stands for, and works out an event only when someone listens.
#pragma once

#include "platform/seam.h"
#include "world/records.h"

inline void Tell(WorldEventKind kind, const GameObject& o) { TellWorld(kind, o.x, o.y, o.z, &o); }

// Takes `amount` of health; a bomber that this brings below 1 is told as down.
inline void Hurt(GameObject& o, int32_t amount) {
    const int32_t before = o.health;
    o.health -= amount;
    if (WorldHeard() && before >= 1 && o.health < 1 && o.kind == Aircraft && o.model == ModelBomber)
        Tell(BomberDown, o);
}

// Who fired: the head of the list, another aircraft, a warship or a bomber's gunner.
inline void TellShot(const GameObject& shooter) {
    if (!WorldHeard()) return;
    WorldEventKind kind = AircraftShot;
    if (shooter.kind == Gunner)
        kind = shooter.model == ModelWarship ? WarshipShot : GunnerShot;
    else if (&shooter == world.head)
        kind = PlayerShot;
    Tell(kind, shooter);
}
