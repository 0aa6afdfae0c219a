// The shots that aircraft and gunners fire, appended at the tail.
#pragma once

#include "world/records.h"

// A shot with the shooter's side, place, velocity, angles and speed, a muzzle impulse along its
// nose and a random spread. `backward` sends it the other way along the course (its thrust and
// forward velocity turned round), its climb left as made.
GameObject* SpawnShot(const GameObject& shooter, bool backward = false);
