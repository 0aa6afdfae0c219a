// Images drawn in back-buffer pixels over the scene: menu, life icon and digits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum ScreenSprite : int32_t {
    Title = 0,
    GameStart = 1,
    GameOver = 2,
    GameSelect = 3,
    Life = 4,
    Range = 5,
    Digit0 = 200,
};

// Every image file the game reads at start, screen and world ones: what is decoded ahead.
std::vector<std::string> GameImageFiles();
// Makes the screen sprite and every screen image that is not made yet (a file that fails is tried
// again at every call).
void EnsureScreenImages();
// Draws the image of `code` unscaled with its centre at (x, y); unknown codes draw the title.
void DrawScreenSprite(int32_t code, float x, float y);
// Draws the decimal digits of n from (170, 440) rightwards, 50 pixels apart.
void DrawNumber(int32_t n);
