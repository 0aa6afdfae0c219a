#include "platform/core/present_area.h"

#include <algorithm>

PresentArea FitBackBuffer(int width, int height) {
    PresentArea area;
    area.width = std::min(width, height * BackBufferWidth / BackBufferHeight);
    area.height = std::min(height, width * BackBufferHeight / BackBufferWidth);
    area.x = (width - area.width) / 2;
    area.y = (height - area.height) / 2;
    area.sharp = area.width % BackBufferWidth == 0 && area.height % BackBufferHeight == 0;
    return area;
}
