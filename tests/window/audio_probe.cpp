// How loud a stretch of the game's sound is, from the raw 16-bit stereo that SDL's disk audio
// driver writes: prints the RMS and the peak of the samples between two byte offsets.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: audio_probe RAW_FILE FROM_BYTE TO_BYTE\n");
        return 2;
    }
    const long from = std::atol(argv[2]) / 4 * 4, to = std::atol(argv[3]) / 4 * 4;
    std::ifstream in(argv[1], std::ios::binary);
    if (!in || to <= from) return 1;
    in.seekg(from);
    std::vector<int16_t> samples(static_cast<size_t>(to - from) / 2);
    in.read(reinterpret_cast<char*>(samples.data()), to - from);
    const size_t got = static_cast<size_t>(in.gcount()) / 2;
    if (got == 0) return 1;
    double sum = 0;
    int peak = 0;
    for (size_t i = 0; i < got; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    }
    std::printf("%.0f %d\n", std::sqrt(sum / got), peak);
    return 0;
}
