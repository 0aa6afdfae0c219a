// What enters the world and when, driven by the player's forward position.
#pragma once

#include <cstdint>

#include "world/records.h"

extern int32_t scheduleMark;

void RunSchedule();
void AddWingmen(const GameObject& leader);
