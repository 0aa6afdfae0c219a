#include "world/object_list.h"

#include <cassert>
#include <vector>

#include "world/object_index.h"
#include "world/reach.h"

World world;

namespace {

ObjectIndex listIndex;
bool indexOpen = false;

bool IsBomber(const GameObject& object) {
    return object.kind == Aircraft && static_cast<const AircraftObject&>(object).hasGunner == 1;
}

// Frees one object with the allocation of its variant.
void DeleteObject(GameObject* object) {
    switch (object->kind) {
        case Aircraft:
            if (IsBomber(*object))
                delete static_cast<BomberObject*>(object);
            else
                delete static_cast<AircraftObject*>(object);
            break;
        case Shot:
        case Gunner:
            delete static_cast<GunnerObject*>(object);
            break;
        default:
            assert(object->kind == Explosion);
            delete object;
            break;
    }
}

}  // namespace

void InitGunner(GunnerObject& gunner) {
    gunner.kind = Gunner;
    gunner.model = ModelWarship;
    gunner.team = EnemyTeam;
}

void InitBomber(BomberObject& bomber) {
    InitGunner(bomber.gunner);
    bomber.model = ModelBomber;
    bomber.gunner.model = ModelShot;
    bomber.health = 10;
    bomber.hasGunner = 1;
}

void LinkObject(GameObject* object) {
    object->next = nullptr;
    if (world.head == nullptr)
        world.head = object;
    else
        world.tail->next = object;
    world.tail = object;
    if (indexOpen) IndexAppend(listIndex, *object);
}

void RaiseAircraft(GameObject* start, float delta) {
    for (GameObject* o = start; o != nullptr; o = o->next) {
        if (o->kind != Aircraft) continue;
        auto* aircraft = static_cast<AircraftObject*>(o);
        aircraft->y += delta;
        aircraft->cruiseAltitude += delta;
    }
}

void DestroyWorldObjects() {
    assert(!indexOpen);
    std::vector<GameObject*> all;
    for (GameObject* o = world.head; o != nullptr; o = o->next) all.push_back(o);
    world.head = world.tail = nullptr;
    for (auto o = all.rbegin(); o != all.rend(); ++o) DeleteObject(*o);
}

void ForgetTarget(const GameObject* removed) {
    for (GameObject* o = world.head; o != nullptr; o = o->next) {
        if (o->kind == Aircraft) {
            auto* a = static_cast<AircraftObject*>(o);
            if (a->target == removed) a->target = nullptr;
            if (a->hasGunner == 1 && static_cast<BomberObject*>(a)->gunner.target == removed)
                static_cast<BomberObject*>(a)->gunner.target = nullptr;
        } else if (o->kind == Shot || o->kind == Gunner) {
            auto* g = static_cast<GunnerObject*>(o);
            if (g->target == removed) g->target = nullptr;
        }
    }
}

void OpenObjectPass(bool indexed) {
    assert(!indexOpen);
    IndexClear(listIndex);
    indexOpen = indexed;
    if (indexed)
        for (GameObject* o = world.head; o != nullptr; o = o->next) IndexAppend(listIndex, *o);
}

void CloseObjectPass() {
    // A disagreement between the list and its index is a fault of their upkeep.
    assert(!indexOpen || IndexAgrees(listIndex, world.head));
    assert(world.head == nullptr ? world.tail == nullptr : world.tail->next == nullptr);
    indexOpen = false;
}

void ObjectUpdated(const GameObject& object) {
    if (indexOpen) IndexUpdated(listIndex, object);
}

void RemoveNext(GameObject& object) {
    GameObject* dead = object.next;
    if (indexOpen) IndexRemovedNext(listIndex, *dead);
    object.next = dead->next;
    if (world.tail == dead) world.tail = &object;
    DeleteObject(dead);
}

void FindInReach(const GameObject& from, float reach, uint32_t kinds, ReachHits& found) {
    if (indexOpen) {
        IndexScan(listIndex, from, reach, kinds, found);
        return;
    }
    uint32_t order = 0;
    for (GameObject* o = world.head; o != nullptr; o = o->next, ++order)
        if (InReach(from, *o, reach, kinds)) found.push_back({order, o});
}
