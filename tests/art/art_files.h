// Reading the committed art back for the checks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Every file the generator writes into data/: what the game loads, and the desktop's icons.
std::vector<std::string> expected_art_files();
std::string data_path(const std::string& name);
std::string read_bytes(const std::string& path);

struct Picture {
    int width = 0, height = 0, channels = 0;  // channels as stored in the file
    std::vector<uint8_t> rgba;                // always expanded to four channels
};

// A picture with zero width when the file is missing or not an image.
Picture load_picture(const std::string& path);
uint8_t alpha(const Picture& p, int x, int y);
bool solid(const Picture& p, int x, int y);  // kept by the game's alpha test (>= 128)
// Fraction of texels kept by the alpha test inside [x0,x1) x [y0,y1), given as fractions.
double solid_fraction(const Picture& p, double x0, double y0, double x1, double y1);
// Topmost solid row in the columns [x0,x1) (fractions of the width); height when none.
int top_row(const Picture& p, double x0, double x1);
