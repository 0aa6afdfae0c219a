// Writes the PNG of tests/unit/png_bomb.h to the path given: a 4094x1 grey image whose pixel data
// inflates to 4.2 GB of zeros, in a 4 MB file.
#include "tests/unit/png_bomb.h"

#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::ofstream(argv[1], std::ios::binary) << PngBomb(4094, 4'200'000'000);
    return 0;
}
