// The enemy's colours: navy blues, white undersides and bare metal.
#pragma once

#include "geometry.h"

inline const Rgba kSeaBlue = rgb(38, 55, 92);
inline const Rgba kMidBlue = rgb(82, 108, 145);
inline const Rgba kBelly = rgb(214, 218, 222);
inline const Rgba kGlossBlue = rgb(32, 46, 80);
inline const Rgba kMetal = rgb(180, 186, 192);
inline const Rgba kOliveDrab = rgb(78, 82, 52);
inline const Rgba kPropBlack = rgb(45, 45, 45);
