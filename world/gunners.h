// The gunner behaviour of warships and bombers' gunners.
#pragma once

#include "world/records.h"

void UpdateGunner(GunnerObject& gunner);
