// A digest of the world: replays and demos compare it to tell that two runs stepped the same
// world, on one machine or on two platforms.
#pragma once

#include <cstdint>

// FNV-1a over each object's kind, health and position rounded to whole units, in list order.
uint64_t WorldDigest();
// The objects in the list.
int WorldObjectCount();
