// Initialisers and the operations of the object list.
#pragma once

#include "world/records.h"

void InitGameObject(GameObject& object);
void InitAircraft(AircraftObject& aircraft);
void InitGunner(GunnerObject& gunner);
// The whole bomber set up as such; its creator sets team, position, speed and velocity.
void InitBomber(BomberObject& bomber);

// Links `object` after the current tail (or as head of an empty list).
void AppendObject(GameObject* object);
// Lifts every aircraft from `start` on, and its cruise altitude, by `delta`.
void RaiseAircraft(GameObject* start, float delta);
// Frees the whole list, tail first, and leaves world.head null.
void DestroyWorldObjects();

// Frees one object with the allocation of its variant.
void DeleteObject(GameObject* object);
// Clears every target in the list that names `removed`, so nothing reads a freed object.
void ForgetTarget(const GameObject* removed);

// The pursuit or gunner target of an object, or null for kinds that have none.
GameObject** TargetOf(GameObject& object);
// True for an aircraft carrying an embedded gunner.
bool IsBomber(const GameObject& object);
