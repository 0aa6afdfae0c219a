#include "world/object_pass.h"

#include "world/aircraft.h"
#include "world/flight.h"
#include "world/gunners.h"
#include "world/object_list.h"
#include "world/telling.h"

namespace {

// A removed aircraft leaves one last explosion, which outlives those of hits and crashes.
constexpr int32_t RemovalExplosionHealth = 0;

void Update(GameObject& n) {
    switch (n.kind) {
        case Aircraft:
            UpdateAircraft(static_cast<AircraftObject&>(n));
            break;
        case Shot:
            if (n.pitch < 1.57f) n.pitch += 0.01f;
            IntegrateFlight(n);
            break;
        case Gunner:
            UpdateGunner(static_cast<GunnerObject&>(n));
            break;
        default:
            break;
    }
}

}  // namespace

void ObjectPass(DrawObjectFn draw, bool indexed) {
    OpenObjectPass(indexed);
    for (GameObject* n = world.head; n != nullptr; n = n->next) {
        Update(*n);
        ObjectUpdated(*n);
        if (draw != nullptr) draw(*n);
        if (n->health < 1) n->health -= 1;
        while (n->next != nullptr && n->next->health < -50) {
            const GameObject& dead = *n->next;
            // Targets are only ever chosen among aircraft.
            if (dead.kind == Aircraft) {
                SpawnExplosion(dead, RemovalExplosionHealth);
                Tell(AircraftRemoved, dead);
                ForgetTarget(&dead);
            }
            RemoveNext(*n);
        }
    }
    CloseObjectPass();
}
