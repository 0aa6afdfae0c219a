// During the object pass, a contiguous copy of every listed object's team and position, kept
// by kind and in list order. Range searches scan these arrays instead of chasing links: every
// aircraft searches the whole list several times a frame, and the links made that slow.
//
// The copy only rules objects out; each object it lets through is tested again, exactly as
// before, on the object itself. So a search visits the same objects in the same order as a walk
// of the list, and draws the same random numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/records.h"

// Bit masks of the kinds a search wants; objects of any other kind number are always visited.
constexpr uint32_t KindBit(int32_t kind) { return 1u << kind; }

// The objects of one kind on one side (or, in the last group, all others), in list order.
struct IndexGroup {
    std::vector<uint32_t> slot;
    std::vector<float> x, y, z;
    std::vector<int32_t> team;
    std::vector<int32_t> live;  // 0 once removed, and for the padding at the end
};

constexpr int IndexGroups = 9;  // the four kinds on either side, then all others

struct ObjectIndex {
    bool open = false;
    std::vector<GameObject*> objects;  // by slot, in list order; null once removed
    std::vector<uint8_t> group;        // by slot
    std::vector<uint32_t> entry;       // by slot: the place in its group
    IndexGroup groups[IndexGroups];
    std::size_t copied = 0;       // appended objects are copied when the next search starts
    bool regrouped = false;       // an object changed kind, so a group is out of list order
    std::vector<uint32_t> found;  // the slots a search lets through
};

extern ObjectIndex objectIndex;

// Copies the list; the object pass opens the index before its walk and closes it after.
void OpenObjectIndex();
void CloseObjectIndex();
// Called by AppendObject. New objects are set up after they are linked, so their fields are
// read later, when a search needs them.
void IndexAppended(GameObject* object);
// The slot after `slot` that still holds an object, or the size when there is none.
std::size_t NextIndexedSlot(std::size_t slot);
// The object at `slot` has finished its update and may have moved.
void IndexUpdated(std::size_t slot);
void IndexRemoved(std::size_t slot);
// The last object still listed, or null: appends need not walk the list.
GameObject* IndexedTail();
// Fills objectIndex.found, in list order, with the slots of objects of `kinds` not on `team`
// that are not at or beyond `reach` on any axis. Such an object is certainly at or beyond it
// by Distance (with float rounding too, as the squares of the reaches used are exact), unless
// an axis gives NaN.
void FindInReach(const GameObject& from, float reach, uint32_t kinds, int32_t team);

// Visits what FindInReach lets through; outside the object pass, the whole list. Objects
// appended by a visit are not visited: no search wants what it spawns.
template <class Visit>
void ForEachInReach(const GameObject& from, float reach, uint32_t kinds, int32_t team,
                    Visit visit) {
    if (!objectIndex.open) {
        for (GameObject* o = world.head; o != nullptr; o = o->next) visit(*o);
        return;
    }
    FindInReach(from, reach, kinds, team);
    // Visits neither search nor remove, so `found` and the slots stay as they are.
    for (const uint32_t slot : objectIndex.found) visit(*objectIndex.objects[slot]);
}
