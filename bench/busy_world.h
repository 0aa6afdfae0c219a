// The world of the simulation benchmarks, built the same on every platform.
#pragma once

// Empties the list and fills it with `count` objects: a player far along the course, aircraft of
// both sides around it, bombers, warships, shots and explosions (8% aircraft, 2% bombers, 2%
// warships, 58% shots, 30% explosions), as in a busy high-altitude fight.
void Populate(int count);
