// Files that tests make and read for themselves: a temporary folder to work in (with its own
// data/), PNG images of known colours, text files such as small meshes, and any file's bytes.
#pragma once

#include <stb_image_write.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/image_file.h"

// Makes a fresh folder with an empty data/ inside and works in it until destroyed.
struct ScratchFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path root;

    ScratchFolder() {
        // A name already taken is not created again, so another one is drawn.
        std::random_device random;
        do
            root = std::filesystem::temp_directory_path() /
                   ("marvaze-render-" + std::to_string(random()));
        while (!std::filesystem::create_directory(root));
        std::filesystem::create_directory(root / "data");
        std::filesystem::current_path(root);
        ForgetFailedImages();  // a fresh folder: what failed in the last one is not this one's
    }
    ~ScratchFolder() {
        std::filesystem::current_path(previous);
        std::error_code ignored;  // a file Windows still holds is left, not thrown from here
        std::filesystem::remove_all(root, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
};

// RGBA pixels, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    Picture(int w, int h, uint32_t rgbaColour) : width(w), height(h), rgba(size_t(w) * h * 4) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Set(x, y, rgbaColour);
    }
    void Set(int x, int y, uint32_t rgbaColour) {
        uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
        p[0] = uint8_t(rgbaColour >> 24);
        p[1] = uint8_t(rgbaColour >> 16);
        p[2] = uint8_t(rgbaColour >> 8);
        p[3] = uint8_t(rgbaColour);
    }
};

inline void WritePicture(const std::string& path, const Picture& picture) {
    stbi_write_png(path.c_str(), picture.width, picture.height, 4, picture.rgba.data(),
                   picture.width * 4);
}

inline void WritePng(const std::string& path, int width, int height, uint32_t rgbaColour) {
    WritePicture(path, Picture(width, height, rgbaColour));
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A file's bytes; empty when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
    std::ostringstream all;
    all << std::ifstream(path, std::ios::binary).rdbuf();
    return all.str();
}

// The image as decoded from the file's bytes, without the prefetch or the failed-image list.
inline std::optional<Image> DecodeFile(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    return LoadImageMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}
