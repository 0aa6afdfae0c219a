// The per-frame behaviour of every aircraft: the player's keys or the computer's flying.
#pragma once

#include "world/records.h"

void UpdateAircraft(AircraftObject& aircraft);
