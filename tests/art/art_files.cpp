#include "art_files.h"

#include <fstream>
#include <iterator>
#include <sstream>

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

std::vector<std::string> expected_art_files() {
    std::istringstream pictures(
        "team0 rai21_fukahire taku_raiden21 SBD-5 f4u-1d p51h b29 bo0 bo1 bo2 sea gro "
        "Fletcher_1942 title gamestart gameover gameselect life range sky 0 1 2 3 4 5 6 7 8 "
        "9");
    std::vector<std::string> names = {"sky.x", "marvaze.ico"};
    for (std::string name; pictures >> name;) names.push_back(name + ".png");
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        names.push_back("icons/" + std::to_string(size) + ".png");
    return names;
}

std::string data_path(const std::string& name) { return std::string(ART_DATA_DIR) + "/" + name; }

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Picture load_picture(const std::string& path) {
    Picture p;
    unsigned char* data = stbi_load(path.c_str(), &p.width, &p.height, &p.channels, 4);
    if (!data) return {};
    p.rgba.assign(data, data + static_cast<size_t>(p.width) * p.height * 4);
    stbi_image_free(data);
    return p;
}

uint8_t alpha(const Picture& p, int x, int y) {
    return p.rgba[(static_cast<size_t>(y) * p.width + x) * 4 + 3];
}

bool solid(const Picture& p, int x, int y) { return alpha(p, x, y) >= 128; }

double solid_fraction(const Picture& p, double fx0, double fy0, double fx1, double fy1) {
    const int x0 = static_cast<int>(fx0 * p.width), x1 = static_cast<int>(fx1 * p.width);
    const int y0 = static_cast<int>(fy0 * p.height), y1 = static_cast<int>(fy1 * p.height);
    int kept = 0, total = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            kept += solid(p, x, y);
            ++total;
        }
    return total ? static_cast<double>(kept) / total : 0;
}

int top_row(const Picture& p, double fx0, double fx1) {
    const int x0 = static_cast<int>(fx0 * p.width), x1 = static_cast<int>(fx1 * p.width);
    for (int y = 0; y < p.height; ++y)
        for (int x = x0; x < x1; ++x)
            if (solid(p, x, y)) return y;
    return p.height;
}
