// Writes every sound the game plays into the folder named on the command line.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "synth.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    for (const SoundFile& file : AllSounds()) {
        const std::string path = (dir / file.name).string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << WavBytes(file.samples);
        if (!out) {
            std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
