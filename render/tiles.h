// The ground and sea tiles laid around the player every frame.
#pragma once

#include "world/records.h"

void DrawSurfaceTiles(const GameObject& player);
