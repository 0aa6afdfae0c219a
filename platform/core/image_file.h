// PNG (and other stb_image formats) read into RGBA8, top row first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

// The game's largest image is far smaller; a larger file is refused before it is read.
constexpr size_t MaxImageFileBytes = 16u << 20;
// Empty when the file is missing, not a regular file, too large or not an image.
std::optional<Image> LoadImageFile(const std::string& path);
// Starts decoding the files in `paths` (those the game reads, never whatever else lies in the
// folder) on a second thread, once, so that the start-up can make the window meanwhile;
// LoadImageFile then takes a file's image from there (waiting for it if it is being decoded) the
// first time it is asked for.
void PrefetchImages(std::vector<std::string> paths);
// Tests: files that failed are tried again at their next use, not a second later.
void ForgetFailedImages();
// The same for a file's bytes already in memory.
std::optional<Image> LoadImageMemory(const uint8_t* bytes, size_t size);
