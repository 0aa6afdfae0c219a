// The one range query of the game: the objects of some kinds on the other side, strictly nearer
// than a reach. Callers keep only the game's own rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
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

// Storage handed out first from a buffer on the caller's stack, then from the heap, and given back
// only to the heap: most searches find a handful. (std::pmr's monotonic_buffer_resource does the
// same, but the browser build's standard library has no <memory_resource>.)
struct ReachArena {
    std::byte* begin;
    std::byte* next;
    std::byte* end;
};

template <class T>
struct ReachAllocator {
    using value_type = T;
    ReachArena* arena;
    explicit ReachAllocator(ReachArena& a) : arena(&a) {}
    template <class U>
    ReachAllocator(const ReachAllocator<U>& other) : arena(other.arena) {}
    T* allocate(size_t n) {
        void* at = arena->next;
        size_t space = static_cast<size_t>(arena->end - arena->next);
        if (n <= space / sizeof(T) && std::align(alignof(T), n * sizeof(T), at, space)) {
            arena->next = static_cast<std::byte*>(at) + n * sizeof(T);
            return static_cast<T*>(at);
        }
        return static_cast<T*>(::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, size_t) {
        auto* at = reinterpret_cast<std::byte*>(p);
        if (at < arena->begin || at >= arena->end) ::operator delete(p);
    }
    template <class U>
    bool operator==(const ReachAllocator<U>& other) const {
        return arena == other.arena;
    }
};

using ReachHits = std::vector<ReachHit, ReachAllocator<ReachHit>>;

// Fills `found`, in list order, with the objects of `kinds` (never explosions) within `reach` of
// `from`. The object list answers it: from its index during the object pass, by walking itself
// otherwise.
void FindInReach(const GameObject& from, float reach, uint32_t kinds, ReachHits& found);

// Visits what FindInReach finds. Visits may change the objects' health and targets and append
// explosions; what they append is not visited.
template <class Visit>
void ForEachInReach(const GameObject& from, float reach, uint32_t kinds, Visit visit) {
    // Each search has its own buffer; most find a handful, which stay on the stack.
    std::byte room[1024];
    ReachArena arena{room, room, room + sizeof room};
    ReachHits found{ReachAllocator<ReachHit>(arena)};
    FindInReach(from, reach, kinds, found);
    for (const ReachHit& hit : found) visit(*hit.object);
}
