#include "world/object_index.h"

#include <algorithm>
#include <cmath>
#include <cstring>

ObjectIndex objectIndex;

namespace {

// Scans go a block at a time without branches, so that the compiler does several slots at
// once; each group is padded to whole blocks with slots that are not live.
constexpr std::size_t Block = 32;

// One group for each kind on each side, and a last one for anything else.
int GroupOf(int32_t kind, int32_t team) {
    const bool known = kind >= Aircraft && kind <= Explosion && (team == 0 || team == 1);
    return known ? kind * 2 + team : IndexGroups - 1;
}

void PushEntry(IndexGroup& g, uint32_t slot) {
    // Fill the first padding slot, or grow by a block of padding.
    std::size_t used = g.slot.size();
    if (used % Block == 0) {
        const std::size_t padded = used + Block;
        g.x.resize(padded);
        g.y.resize(padded);
        g.z.resize(padded);
        g.team.resize(padded);
        g.live.resize(padded, 0);
    }
    g.slot.push_back(slot);
}

void Copy(std::size_t slot) {
    ObjectIndex& index = objectIndex;
    const GameObject* o = index.objects[slot];
    if (o == nullptr) return;
    IndexGroup* g = &index.groups[index.group[slot]];
    uint32_t e = index.entry[slot];
    if (GroupOf(o->kind, o->team) != index.group[slot]) {
        g->live[e] = 0;
        index.regrouped = true;
        index.group[slot] = static_cast<uint8_t>(GroupOf(o->kind, o->team));
        g = &index.groups[index.group[slot]];
        e = static_cast<uint32_t>(g->slot.size());
        index.entry[slot] = e;
        PushEntry(*g, static_cast<uint32_t>(slot));
    }
    g->x[e] = o->x;
    g->y[e] = o->y;
    g->z[e] = o->z;
    g->team[e] = o->team;
    g->live[e] = 1;
}

void CopyAppended() {
    ObjectIndex& index = objectIndex;
    const std::size_t size = index.objects.size();
    for (std::size_t slot = index.copied; slot < size; ++slot) {
        const GameObject* o = index.objects[slot];
        IndexGroup& g = index.groups[o == nullptr ? 0 : GroupOf(o->kind, o->team)];
        index.group.push_back(static_cast<uint8_t>(&g - index.groups));
        index.entry.push_back(static_cast<uint32_t>(g.slot.size()));
        PushEntry(g, static_cast<uint32_t>(slot));
        Copy(slot);
    }
    index.copied = size;
}

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

void Scan(const IndexGroup& g, const GameObject& from, float reach, int32_t team,
          std::vector<uint32_t>& found) {
    const Floats fx = {from.x, from.x, from.x, from.x};
    const Floats fy = {from.y, from.y, from.y, from.y};
    const Floats fz = {from.z, from.z, from.z, from.z};
    const Floats r = {reach, reach, reach, reach};
    const Ints t = {team, team, team, team};
    const std::size_t used = g.slot.size();
    for (std::size_t base = 0; base < used; base += Block) {
        Ints near[Block / Lanes];
        Ints any = {};
        for (std::size_t v = 0; v < Block / Lanes; ++v) {
            const std::size_t k = base + v * Lanes;
            const Floats dx = fx - Load<Floats>(&g.x[k]);
            const Floats dy = fy - Load<Floats>(&g.y[k]);
            const Floats dz = fz - Load<Floats>(&g.z[k]);
            const Ints beyond = (Abs(dx) >= r) | (Abs(dy) >= r) | (Abs(dz) >= r);
            // A NaN on any axis makes the distance NaN, which no range test rejects.
            const Ints unknown = (dx != dx) | (dy != dy) | (dz != dz);
            const Ints out = beyond & ~unknown;
            near[v] = ~out & (Load<Ints>(&g.team[k]) != t) & (Load<Ints>(&g.live[k]) != 0);
            any |= near[v];
        }
        if ((any[0] | any[1] | any[2] | any[3]) == 0) continue;
        const std::size_t n = std::min(Block, used - base);
        for (std::size_t k = 0; k < n; ++k)
            if (near[k / Lanes][k % Lanes] != 0) found.push_back(g.slot[base + k]);
    }
}

}  // namespace

void OpenObjectIndex() {
    CloseObjectIndex();
    for (GameObject* o = world.head; o != nullptr; o = o->next) objectIndex.objects.push_back(o);
    objectIndex.open = true;
    CopyAppended();
}

void CloseObjectIndex() {
    ObjectIndex& index = objectIndex;
    index.open = false;
    index.objects.clear();
    index.group.clear();
    index.entry.clear();
    for (IndexGroup& g : index.groups) {
        g.slot.clear();
        g.x.clear();
        g.y.clear();
        g.z.clear();
        g.team.clear();
        g.live.clear();
    }
    index.copied = 0;
    index.regrouped = false;
}

void IndexAppended(GameObject* object) {
    if (objectIndex.open) objectIndex.objects.push_back(object);
}

std::size_t NextIndexedSlot(std::size_t slot) {
    const std::size_t size = objectIndex.objects.size();
    for (++slot; slot < size; ++slot)
        if (objectIndex.objects[slot] != nullptr) return slot;
    return size;
}

void IndexUpdated(std::size_t slot) {
    if (objectIndex.open && slot < objectIndex.copied) Copy(slot);
}

void IndexRemoved(std::size_t slot) {
    ObjectIndex& index = objectIndex;
    if (!index.open || slot >= index.objects.size()) return;
    index.objects[slot] = nullptr;
    if (slot < index.copied) index.groups[index.group[slot]].live[index.entry[slot]] = 0;
}

GameObject* IndexedTail() {
    for (std::size_t slot = objectIndex.objects.size(); slot-- > 0;)
        if (objectIndex.objects[slot] != nullptr) return objectIndex.objects[slot];
    return nullptr;
}

void FindInReach(const GameObject& from, float reach, uint32_t kinds, int32_t team) {
    CopyAppended();
    std::vector<uint32_t>& found = objectIndex.found;
    found.clear();
    int scanned = 0;
    for (int group = 0; group < IndexGroups; ++group) {
        // The last group holds what no other does, which every search gets to judge.
        if (group < IndexGroups - 1 && ((kinds & KindBit(group / 2)) == 0 || group % 2 == team))
            continue;
        if (objectIndex.groups[group].slot.empty()) continue;
        Scan(objectIndex.groups[group], from, reach, team, found);
        ++scanned;
    }
    if (scanned > 1 || objectIndex.regrouped) std::sort(found.begin(), found.end());
}
