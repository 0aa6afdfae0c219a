// Writes every picture the game loads, and the program's icons, into the folder named on the
// command line.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "art.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const Fonts fonts{load_font(ARTGEN_FONT_DIR "/DejaVuSans-Bold.ttf"),
                      load_font(ARTGEN_FONT_DIR "/DejaVuSans-BoldOblique.ttf")};
    if (!loaded(fonts.bold) || !loaded(fonts.bold_oblique)) {
        std::fprintf(stderr, "artgen: cannot read the DejaVu fonts in %s\n", ARTGEN_FONT_DIR);
        return 1;
    }
    for (const ArtFile& file : all_art(fonts)) {
        const std::string path = (dir / file.name).string();
        std::filesystem::create_directories((dir / file.name).parent_path(), ec);
        bool ok;
        if (file.image.width > 0) {
            ok = write_png(file.image, path);
        } else {
            std::ofstream out(path, std::ios::binary);
            out << file.text;
            ok = static_cast<bool>(out);
        }
        if (!ok) {
            std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
