// The factory for shots (request 1) and fresh aircraft (request 0), appended at the tail.
#pragma once

#include "world/records.h"

constexpr int SpawnAircraftRequest = 0;
constexpr int SpawnShotRequest = 1;

GameObject* SpawnObject(int request, const GameObject& shooter);
