// The object list: the one owner of the world's objects and, during the object pass, of the
// index that its searches use.
#pragma once

#include "world/records.h"

// A warship's values, also its bombers' gunners': the record's defaults but for kind, model and
// side.
void InitGunner(GunnerObject& gunner);
// The whole bomber set up as such; its creator sets team, position, speed and velocity.
void InitBomber(BomberObject& bomber);

// Links a complete object after the tail; only AppendObject calls it.
void LinkObject(GameObject* object);
// The one way to add an object: its creator makes the whole record first, then it is appended,
// so that the list and its index never see it half made.
template <class T>
T* AppendObject(const T& made) {
    auto* object = new T(made);
    LinkObject(object);
    return object;
}

// Lifts every aircraft from `start` on, and its cruise altitude, by `delta`.
void RaiseAircraft(GameObject* start, float delta);
// Frees the whole list, tail first, and leaves it empty.
void DestroyWorldObjects();
// Clears every target in the list that names `removed`, so nothing reads a freed object.
void ForgetTarget(const GameObject* removed);

// For the object pass, which walks the list from the head: opening it builds the index (unless
// `indexed` is false, which the test comparing the index with walks of the list uses), and
// closing it drops the index. Debug builds check there that the index and the list agree.
void OpenObjectPass(bool indexed);
void CloseObjectPass();
// `object`, the next in the list, has finished its update and may have moved.
void ObjectUpdated(const GameObject& object);
// Unlinks the object after `object` and frees it.
void RemoveNext(GameObject& object);
