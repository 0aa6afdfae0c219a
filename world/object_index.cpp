#include "world/object_index.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {

// Scans go a block at a time without branches, so that the compiler does several slots at
// once; each group is padded to whole blocks with slots that are not live.
constexpr std::size_t Block = 32;

constexpr uint8_t NoGroup = IndexGroups;  // explosions

// The game makes no other kinds, and no other sides.
uint8_t GroupOf(const GameObject& o) {
    assert(o.kind >= Aircraft && o.kind <= Explosion);
    assert(o.team == FriendTeam || o.team == EnemyTeam);
    return o.kind == Explosion ? NoGroup : static_cast<uint8_t>(o.kind * 2 + o.team);
}

void PushEntry(IndexGroup& g, uint32_t slot) {
    // Fill the first padding slot, or grow by a block of padding.
    std::size_t used = g.slot.size();
    if (used % Block == 0) {
        const std::size_t padded = used + Block;
        g.x.resize(padded);
        g.y.resize(padded);
        g.z.resize(padded);
        g.live.resize(padded, 0);
    }
    g.slot.push_back(slot);
}

void CopyPlace(ObjectIndex& index, std::size_t slot, const GameObject& o) {
    if (index.group[slot] == NoGroup) return;
    IndexGroup& g = index.groups[index.group[slot]];
    const uint32_t e = index.entry[slot];
    g.x[e] = o.x;
    g.y[e] = o.y;
    g.z[e] = o.z;
}

// The first slot from `slot` on that still holds an object, or the size.
std::size_t LiveFrom(const ObjectIndex& index, std::size_t slot) {
    while (slot < index.objects.size() && index.objects[slot] == nullptr) ++slot;
    return slot;
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Four slots at a time with the vector extension GCC and Clang share: plain loops did not
// vectorise reliably at our optimisation level.
using Floats = float __attribute__((vector_size(16)));
using Ints = int32_t __attribute__((vector_size(16)));
constexpr std::size_t Lanes = 4;

template <class V, class T>
V Load(const T* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

Floats Abs(Floats v) { return reinterpret_cast<Floats>(reinterpret_cast<Ints>(v) & 0x7fffffff); }

void Scan(const ObjectIndex& index, const IndexGroup& g, const GameObject& from, float reach,
          uint32_t kinds, ReachHits& found) {
    const Floats fx = {from.x, from.x, from.x, from.x};
    const Floats fy = {from.y, from.y, from.y, from.y};
    const Floats fz = {from.z, from.z, from.z, from.z};
    const Floats r = {reach, reach, reach, reach};
    const std::size_t used = g.slot.size();
    for (std::size_t base = 0; base < used; base += Block) {
        Ints near[Block / Lanes];
        Ints any = {};
        for (std::size_t v = 0; v < Block / Lanes; ++v) {
            const std::size_t k = base + v * Lanes;
            const Floats dx = fx - Load<Floats>(&g.x[k]);
            const Floats dy = fy - Load<Floats>(&g.y[k]);
            const Floats dz = fz - Load<Floats>(&g.z[k]);
            // A NaN compares false, so an axis with no number rules the object out.
            near[v] = (Abs(dx) < r) & (Abs(dy) < r) & (Abs(dz) < r) & (Load<Ints>(&g.live[k]) != 0);
            any |= near[v];
        }
        if ((any[0] | any[1] | any[2] | any[3]) == 0) continue;
        const std::size_t n = std::min(Block, used - base);
        for (std::size_t k = 0; k < n; ++k) {
            if (near[k / Lanes][k % Lanes] == 0) continue;
            const uint32_t slot = g.slot[base + k];
            GameObject* o = index.objects[slot];
            if (InReach(from, *o, reach, kinds)) found.push_back({slot, o});
        }
    }
}

}  // namespace

void IndexClear(ObjectIndex& index) {
    index.objects.clear();
    index.group.clear();
    index.entry.clear();
    for (IndexGroup& g : index.groups) {
        g.slot.clear();
        g.x.clear();
        g.y.clear();
        g.z.clear();
        g.live.clear();
    }
    index.passed = 0;
}

void IndexAppend(ObjectIndex& index, GameObject& object) {
    const auto slot = static_cast<uint32_t>(index.objects.size());
    const uint8_t group = GroupOf(object);
    index.objects.push_back(&object);
    index.group.push_back(group);
    if (group == NoGroup) {
        index.entry.push_back(0);
        return;
    }
    IndexGroup& g = index.groups[group];
    const auto e = static_cast<uint32_t>(g.slot.size());
    index.entry.push_back(e);
    PushEntry(g, slot);
    g.live[e] = 1;
    CopyPlace(index, slot, object);
}

void IndexUpdated(ObjectIndex& index, const GameObject& object) {
    const std::size_t slot = LiveFrom(index, index.passed);
    assert(slot < index.objects.size() && index.objects[slot] == &object);
    index.passed = slot + 1;
    CopyPlace(index, slot, object);
}

void IndexRemovedNext(ObjectIndex& index, [[maybe_unused]] const GameObject& object) {
    const std::size_t slot = LiveFrom(index, index.passed);
    assert(slot < index.objects.size() && index.objects[slot] == &object);
    index.objects[slot] = nullptr;
    if (index.group[slot] != NoGroup) index.groups[index.group[slot]].live[index.entry[slot]] = 0;
}

void IndexScan(const ObjectIndex& index, const GameObject& from, float reach, uint32_t kinds,
               ReachHits& found) {
    assert((kinds & ~(KindBit(Aircraft) | KindBit(Shot) | KindBit(Gunner))) == 0);
    assert(from.team == FriendTeam || from.team == EnemyTeam);
    const int32_t other = from.team == FriendTeam ? EnemyTeam : FriendTeam;
    int scanned = 0;
    for (int32_t kind = Aircraft; kind < Explosion; ++kind) {
        const IndexGroup& g = index.groups[kind * 2 + other];
        if ((kinds & KindBit(kind)) == 0 || g.slot.empty()) continue;
        Scan(index, g, from, reach, kinds, found);
        ++scanned;
    }
    // Each group is in list order; together they must be merged.
    if (scanned > 1)
        std::sort(found.begin(), found.end(),
                  [](const ReachHit& a, const ReachHit& b) { return a.order < b.order; });
}

bool IndexAgrees(const ObjectIndex& index, const GameObject* head) {
    const GameObject* o = head;
    std::size_t grouped = 0;
    for (std::size_t slot = 0; slot < index.objects.size(); ++slot) {
        if (index.objects[slot] == nullptr) continue;
        if (index.objects[slot] != o || index.group[slot] != GroupOf(*o)) return false;
        if (index.group[slot] != NoGroup) {
            const IndexGroup& g = index.groups[index.group[slot]];
            const uint32_t e = index.entry[slot];
            if (g.slot[e] != slot || g.live[e] != 1 || !SameBits(g.x[e], o->x) ||
                !SameBits(g.y[e], o->y) || !SameBits(g.z[e], o->z))
                return false;
            ++grouped;
        }
        o = o->next;
    }
    std::size_t live = 0;
    for (const IndexGroup& g : index.groups)
        live += static_cast<std::size_t>(std::count(g.live.begin(), g.live.end(), 1));
    return o == nullptr && live == grouped;
}
