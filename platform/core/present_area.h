// Where Present puts the 640x480 back buffer in a window's drawable; shared by both rings.
#pragma once

constexpr int BackBufferWidth = 640;
constexpr int BackBufferHeight = 480;

// The largest 4:3 picture that fits width x height, centred, with black bars. `sharp` picks
// nearest-neighbour scaling, kept for whole scales where every back-buffer pixel becomes an equal
// block; other scales are smoothed instead of showing uneven pixel rows.
struct PresentArea {
    int x = 0, y = 0, width = 0, height = 0;
    bool sharp = true;
};
PresentArea FitBackBuffer(int width, int height);
