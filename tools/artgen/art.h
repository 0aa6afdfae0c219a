// Every picture the game loads, each drawn by its own function.
#pragma once

#include <string>
#include <vector>

#include "lettering.h"
#include "raster.h"

struct Fonts {
    Font bold;          // DejaVu Sans Bold: menu entries and digits
    Font bold_oblique;  // DejaVu Sans Bold Oblique: the title
};

// Aircraft and the warship are drawn nose to the left; the game mirrors them.
Image draw_raiden(bool player);  // the player's fighter and its wingmen
// Paints the player's or a wingman's fighter in its own 198 x 78 drawing units.
void paint_raiden(Canvas& canvas, bool player);
Image draw_dauntless();
Image draw_corsair();
Image draw_mustang();
Image draw_superfortress();
Image draw_destroyer();

Image draw_tracer();
Image draw_explosion(int frame);  // 0 flash, 1 growing ball, 2 full fireball
Image draw_sea();
Image draw_ground();

Image draw_title(const Fonts& fonts);
Image draw_entry(const Fonts& fonts, const std::string& text);
Image draw_cursor();
Image draw_life();
Image draw_badge(int size);
// The Windows program's icon file, compiled into marvaze.exe (not read by the game).
std::string draw_windows_icon();
Image draw_digit(const Fonts& fonts, int digit);
Image draw_reticle();

Image draw_sky();
std::string sky_mesh_text();

// One output file: an image, or text when `image` is empty.
struct ArtFile {
    std::string name;
    Image image;
    std::string text;
};

// Everything in data/, in a fixed order.
std::vector<ArtFile> all_art(const Fonts& fonts);
