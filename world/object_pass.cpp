#include "world/object_pass.h"

#include "world/aircraft.h"
#include "world/flight.h"
#include "world/gunners.h"
#include "world/object_index.h"
#include "world/object_list.h"

namespace {

// A removed aircraft leaves one last explosion, which outlives those of hits and crashes.
void AppendRemovalExplosion(const GameObject& dead) { SpawnExplosion(dead)->health = 0; }

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

void ObjectPass(DrawObjectFn draw) {
    OpenObjectIndex();
    // The index holds the list in order, so `slot` follows `n`.
    std::size_t slot = 0;
    for (GameObject* n = world.head; n != nullptr; n = n->next) {
        // Only appends and this loop's removals change the list during the pass; should
        // anything else, searches go back to walking the list.
        if (objectIndex.open &&
            (slot >= objectIndex.objects.size() || objectIndex.objects[slot] != n))
            CloseObjectIndex();
        Update(*n);
        IndexUpdated(slot);
        if (draw != nullptr) draw(*n);
        if (n->health < 1) n->health -= 1;
        while (n->next != nullptr && n->next->health < -50) {
            GameObject* dead = n->next;
            if (dead->kind == Aircraft) AppendRemovalExplosion(*dead);
            n->next = dead->next;
            IndexRemoved(NextIndexedSlot(slot));
            // Targets are only ever chosen among aircraft.
            if (dead->kind == Aircraft) ForgetTarget(dead);
            DeleteObject(dead);
        }
        slot = NextIndexedSlot(slot);
    }
    CloseObjectIndex();
}
