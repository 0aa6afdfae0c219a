// The game's sound files: RIFF WAVE, PCM, 16-bit, mono, as tools/soundgen writes them. Anything
// else, however close, is refused: the reader may be handed a hostile file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct WavSound {
    int32_t rate = 0;
    std::vector<int16_t> samples;
};

// The game's sounds are a few tens of kilobytes; a larger file is refused before it is read.
constexpr size_t MaxWavFileBytes = 1u << 20;

// Empty when the file is missing, not a regular file, too large or not in our format; says why
// (but not for a missing file).
std::optional<WavSound> LoadWavFile(const std::string& path);
// The same for bytes in memory; `error` says why it was refused.
std::optional<WavSound> ParseWav(const uint8_t* bytes, size_t size, std::string& error);
