#include "world/object_list.h"

#include <vector>

#include "world/object_index.h"

World world;

void InitGameObject(GameObject& object) {
    object.kind = Aircraft;
    object.health = 1;
    object.team = 0;
    object.speed = 10.0f;
    object.model = ModelFriend;
    object.x = object.y = object.z = 0.0f;
    object.vx = object.vy = object.vz = 0.0f;
    object.pitch = object.yaw = object.aimYaw = 0.0f;
    object.next = nullptr;
}

void InitAircraft(AircraftObject& aircraft) {
    InitGameObject(aircraft);
    aircraft.cruiseAltitude = 0.0f;
    aircraft.hasGunner = 0;
    aircraft.model = ModelFriend;
    aircraft.target = nullptr;
}

void InitGunner(GunnerObject& gunner) {
    InitGameObject(gunner);
    gunner.kind = Gunner;
    gunner.model = ModelWarship;
    gunner.target = nullptr;
    gunner.team = 1;
}

void InitBomber(BomberObject& bomber) {
    InitAircraft(bomber);
    InitGunner(bomber.gunner);
    bomber.model = ModelBomber;
    bomber.gunner.model = ModelShot;
    bomber.health = 10;
    bomber.hasGunner = 1;
}

void AppendObject(GameObject* object) {
    object->next = nullptr;
    if (world.head == nullptr) {
        world.head = object;
    } else {
        GameObject* tail = objectIndex.open ? IndexedTail() : nullptr;
        if (tail == nullptr || tail->next != nullptr) tail = world.head;
        while (tail->next != nullptr) tail = tail->next;
        tail->next = object;
    }
    IndexAppended(object);
}

void RaiseAircraft(GameObject* start, float delta) {
    for (GameObject* o = start; o != nullptr; o = o->next) {
        if (o->kind != Aircraft) continue;
        auto* aircraft = static_cast<AircraftObject*>(o);
        aircraft->y += delta;
        aircraft->cruiseAltitude += delta;
    }
}

bool IsBomber(const GameObject& object) {
    return object.kind == Aircraft && static_cast<const AircraftObject&>(object).hasGunner == 1;
}

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
            delete object;
            break;
    }
}

void DestroyWorldObjects() {
    std::vector<GameObject*> all;
    for (GameObject* o = world.head; o != nullptr; o = o->next) all.push_back(o);
    world.head = nullptr;
    for (auto o = all.rbegin(); o != all.rend(); ++o) DeleteObject(*o);
}

GameObject** TargetOf(GameObject& object) {
    switch (object.kind) {
        case Aircraft:
            return &static_cast<AircraftObject&>(object).target;
        case Shot:
        case Gunner:
            return &static_cast<GunnerObject&>(object).target;
        default:
            return nullptr;
    }
}

void ForgetTarget(const GameObject* removed) {
    for (GameObject* o = world.head; o != nullptr; o = o->next) {
        if (GameObject** target = TargetOf(*o); target != nullptr && *target == removed)
            *target = nullptr;
        if (IsBomber(*o)) {
            auto& gunner = static_cast<BomberObject*>(o)->gunner;
            if (gunner.target == removed) gunner.target = nullptr;
        }
    }
}
