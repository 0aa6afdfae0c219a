// The one range query of the game: the objects of some kinds on the other side, strictly nearer
// than a reach. Callers keep only the game's own rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <vector>

#include "world/distance.h"
#include "world/records.h"

constexpr uint32_t KindBit(int32_t kind) { return 1u << kind; }

// The one test of reach, on every path. A NaN distance is below nothing, so an object with no
// position is never within reach of anything.
inline bool InReach(const GameObject& from, const GameObject& o, float reach, uint32_t kinds) {
    return (kinds & KindBit(o.kind)) != 0 && o.team != from.team && Distance(from, o) < reach;
}

// One object a search let through, with its place in the list.
struct ReachHit {
    uint32_t order;
    GameObject* object;
};

// Fills `found`, in list order, with the objects of `kinds` (never explosions) within `reach` of
// `from`. The object list answers it: from its index during the object pass, by walking itself
// otherwise.
void FindInReach(const GameObject& from, float reach, uint32_t kinds,
                 std::pmr::vector<ReachHit>& found);

// Visits what FindInReach finds. Visits may change the objects' health and targets and append
// explosions; what they append is not visited.
template <class Visit>
void ForEachInReach(const GameObject& from, float reach, uint32_t kinds, Visit visit) {
    // Each search has its own buffer; most find a handful, which stay on the stack.
    std::byte room[1024];
    std::pmr::monotonic_buffer_resource arena(room, sizeof room);
    std::pmr::vector<ReachHit> found(&arena);
    FindInReach(from, reach, kinds, found);
    for (const ReachHit& hit : found) visit(*hit.object);
}
