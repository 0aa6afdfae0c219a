// The one walk over the object list each frame: update, draw, count down, remove the dead.
#pragma once

#include "world/records.h"

// The pass draws each object through `draw`, which the game points at its quad drawing; the
// world itself knows nothing of rendering.
using DrawObjectFn = void (*)(const GameObject& object);

// With `indexed` false the pass's searches walk the list, as they do outside the pass: only the
// test that compares the two asks for it.
void ObjectPass(DrawObjectFn draw, bool indexed = true);
