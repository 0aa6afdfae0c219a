#include "platform/core/wav_file.h"

#include <cstring>

#include "platform/core/regular_file.h"
#include "platform/report.h"

namespace {

constexpr size_t HeaderBytes = 44;  // RIFF, WAVE, a 16-byte fmt chunk and the data chunk's head

uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool Tag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

}  // namespace

std::optional<WavSound> ParseWav(const uint8_t* b, size_t size, std::string& error) {
    if (size < HeaderBytes || size > MaxWavFileBytes) {
        error = "not a sound of ours (size)";
        return std::nullopt;
    }
    if (!Tag(b, "RIFF") || !Tag(b + 8, "WAVE") || U32(b + 4) != size - 8) {
        error = "not a RIFF WAVE file of this length";
        return std::nullopt;
    }
    if (!Tag(b + 12, "fmt ") || U32(b + 16) != 16 || !Tag(b + 36, "data")) {
        error = "not a plain fmt and data layout";
        return std::nullopt;
    }
    const uint32_t rate = U32(b + 24);
    if (U16(b + 20) != 1 || U16(b + 22) != 1 || U16(b + 34) != 16 || U16(b + 32) != 2 ||
        rate < 8000 || rate > 48000 || U32(b + 28) != rate * 2) {
        error = "not 16-bit mono PCM at 8000 to 48000 Hz";
        return std::nullopt;
    }
    const uint32_t dataBytes = U32(b + 40);
    if (dataBytes != size - HeaderBytes || dataBytes == 0 || dataBytes % 2 != 0) {
        error = "the data chunk does not fill the file";
        return std::nullopt;
    }
    WavSound sound;
    sound.rate = static_cast<int32_t>(rate);
    sound.samples.resize(dataBytes / 2);
    for (size_t i = 0; i < sound.samples.size(); ++i)
        sound.samples[i] = static_cast<int16_t>(U16(b + HeaderBytes + 2 * i));
    return sound;
}

std::optional<WavSound> LoadWavFile(const std::string& path) {
    std::string bytes, error;
    if (!ReadRegularFile(path, MaxWavFileBytes, bytes, error)) {
        if (StampOf(path).exists) Report(error);
        return std::nullopt;
    }
    std::optional<WavSound> sound =
        ParseWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), error);
    if (!sound) Report(path + ": " + error);
    return sound;
}
