// Looks for a data image in a screenshot of the game, where the game draws it unscaled and
// centred on a point. Prints the mean colour difference over the image's opaque texels, or, with
// `digit`, which of the ten digit images fits best there.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/core/image_file.h"

namespace {

// Mean absolute RGB difference between `sprite` centred at (cx, cy) and the screen, over the
// sprite's opaque texels; 255 when the sprite lies outside.
double Difference(const Image& screen, const Image& sprite, double cx, double cy) {
    int left = static_cast<int>(std::floor(cx - sprite.width * 0.5 + 0.5));
    int top = static_cast<int>(std::floor(cy - sprite.height * 0.5 + 0.5));
    double sum = 0;
    long count = 0;
    for (int y = 0; y < sprite.height; ++y) {
        for (int x = 0; x < sprite.width; ++x) {
            const uint8_t* s = &sprite.rgba[(static_cast<size_t>(y) * sprite.width + x) * 4];
            if (s[3] < 255) continue;
            int sx = left + x, sy = top + y;
            if (sx < 0 || sy < 0 || sx >= screen.width || sy >= screen.height) return 255;
            const uint8_t* p = &screen.rgba[(static_cast<size_t>(sy) * screen.width + sx) * 4];
            for (int c = 0; c < 3; ++c) sum += std::abs(int(s[c]) - int(p[c]));
            count += 3;
        }
    }
    return count == 0 ? 255 : sum / count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: screen_probe SCREENSHOT DATA_DIR IMAGE|digit X Y\n");
        return 2;
    }
    auto screen = LoadImageFile(argv[1]);
    if (!screen) return 2;
    std::string dataDir = argv[2], what = argv[3];
    double x = std::atof(argv[4]), y = std::atof(argv[5]);
    if (what != "digit") {
        auto sprite = LoadImageFile(dataDir + "/" + what);
        if (!sprite) return 2;
        std::printf("%.1f\n", Difference(*screen, *sprite, x, y));
        return 0;
    }
    int best = -1;
    double bestDifference = 1e9;
    for (int d = 0; d <= 9; ++d) {
        auto digit = LoadImageFile(dataDir + "/" + std::to_string(d) + ".png");
        if (!digit) return 2;
        double difference = Difference(*screen, *digit, x, y);
        if (difference < bestDifference) {
            bestDifference = difference;
            best = d;
        }
    }
    // A poor fit means no digit is drawn there.
    if (bestDifference > 40) best = -1;
    std::printf("%d\n", best);
    return 0;
}
