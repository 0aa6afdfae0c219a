#include "world/digest.h"

#include <cmath>

#include "world/records.h"

namespace {

uint64_t Mix(uint64_t hash, int64_t value) {
    for (int i = 0; i < 8; ++i) {
        hash ^= static_cast<uint64_t>(value >> (i * 8)) & 0xff;
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace

uint64_t WorldDigest() {
    uint64_t hash = 14695981039346656037ull;
    for (const GameObject* o = world.head; o != nullptr; o = o->next) {
        hash = Mix(hash, o->kind);
        hash = Mix(hash, o->health);
        hash = Mix(hash, std::lround(o->x));
        hash = Mix(hash, std::lround(o->y));
        hash = Mix(hash, std::lround(o->z));
    }
    return hash;
}

int WorldObjectCount() {
    int count = 0;
    for (const GameObject* o = world.head; o != nullptr; o = o->next) ++count;
    return count;
}
