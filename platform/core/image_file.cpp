#include "platform/core/image_file.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_FAILURE_USERMSG
// The game's images are small; refusing huge ones keeps a bad file from taking all memory.
#define STBI_MAX_DIMENSIONS 8192
#include <stb_image.h>

namespace {

std::optional<Image> Take(stbi_uc* pixels, int width, int height) {
    if (pixels == nullptr) return std::nullopt;
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
    stbi_image_free(pixels);
    return image;
}

}  // namespace

std::optional<Image> LoadImageFile(const std::string& path) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    return Take(pixels, width, height);
}

std::optional<Image> LoadImageMemory(const uint8_t* bytes, size_t size) {
    if (size > static_cast<size_t>(INT32_MAX)) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
    return Take(pixels, width, height);
}
