// The one builder of test and benchmark worlds: each object with the values its maker in the game
// gives it, on a side and at a place, appended at the tail. The place is (x, y, z) with x last,
// as most tests keep everything in the plane x = 0.
#pragma once

#include "world/object_list.h"

template <class T>
T* AddPlaced(T made, int32_t team, float y, float z, float x) {
    made.team = team;
    made.x = x;
    made.y = y;
    made.z = z;
    return AppendObject(made);
}

inline AircraftObject* AddAircraft(int32_t team, float y, float z, float x = 0) {
    return AddPlaced(AircraftObject{}, team, y, z, x);
}

inline BomberObject* AddBomber(int32_t team, float y, float z, float x = 0) {
    BomberObject bomber;
    InitBomber(bomber);
    return AddPlaced(bomber, team, y, z, x);
}

inline GunnerObject* AddWarship(int32_t team, float y, float z, float x = 0) {
    GunnerObject ship;
    InitGunner(ship);
    return AddPlaced(ship, team, y, z, x);
}

inline GunnerObject* AddShot(int32_t team, float y, float z, float x = 0) {
    GunnerObject shot;
    shot.kind = Shot;
    shot.health = -40;
    shot.model = ModelShot;
    return AddPlaced(shot, team, y, z, x);
}

inline GameObject* AddExplosion(int32_t team, float y, float z, float x = 0) {
    GameObject explosion;
    explosion.kind = Explosion;
    explosion.model = ModelExplosion;
    explosion.health = -30;
    return AddPlaced(explosion, team, y, z, x);
}
