// Every world object drawn as a textured quad that turns toward the eye.
#pragma once

#include "world/records.h"

void DrawObject(const GameObject& object);
