// During the object pass, a contiguous copy of every searchable object's position, kept by kind
// and side in list order. Range searches scan these arrays instead of chasing links: every
// aircraft searches the whole list several times a frame, and the links made that slow.
//
// The copy only rules objects out; each object it lets through is judged again on the object
// itself, by the one test of reach. So a search finds the same objects in the same order as a
// walk of the list. The object list alone keeps it (world/object_list.cpp), at each append,
// update and removal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/reach.h"
#include "world/records.h"

// The objects of one kind on one side, in list order.
struct IndexGroup {
    std::vector<uint32_t> slot;
    std::vector<float> x, y, z;
    std::vector<int32_t> live;  // 0 once removed, and for the padding at the end
};

// Aircraft, shots and gunners on either side; explosions are never searched for.
constexpr int IndexGroups = 6;

struct ObjectIndex {
    std::vector<GameObject*> objects;  // by slot, in list order; null once removed
    std::vector<uint8_t> group;        // by slot
    std::vector<uint32_t> entry;       // by slot: the place in its group
    IndexGroup groups[IndexGroups];
    std::size_t passed = 0;  // the slots the pass has reached, the one it is at included
};

void IndexClear(ObjectIndex& index);
// `object` is complete: its place is copied now.
void IndexAppend(ObjectIndex& index, GameObject& object);
// `object`, the next the pass reaches, has finished its update: its new place is copied.
void IndexUpdated(ObjectIndex& index, const GameObject& object);
// `object`, the one after the object the pass is at, has been unlinked.
void IndexRemovedNext(ObjectIndex& index, const GameObject& object);
// Adds to `found`, in list order, the objects of `kinds` that pass InReach. The copy rules out,
// unread, those at or beyond `reach` on some axis, and those with a NaN on some axis: by Distance
// these are at or beyond it too, or NaN (even with float rounding, as the squares of the reaches
// used are exact).
void IndexScan(const ObjectIndex& index, const GameObject& from, float reach, uint32_t kinds,
               ReachHits& found);
// True when the index holds exactly the list from `head`, each object with its current place.
bool IndexAgrees(const ObjectIndex& index, const GameObject* head);
