// The one walk over the object list each frame: update, draw, count down, remove the dead.
#pragma once

#include "world/records.h"

// The pass draws each object through `draw`, which the game points at its quad drawing; the
// world itself knows nothing of rendering.
using DrawObjectFn = void (*)(const GameObject& object);

void ObjectPass(DrawObjectFn draw);
