// A reader for the text form of the .x mesh format: the subset the sky uses.
#pragma once

#include <cstdint>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device.h"

struct XVertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 uv{0.0f};
};

struct XMeshData {
    std::vector<XVertex> vertices;
    // Triangle indices into `vertices`, one list per material, in the material list's order.
    std::vector<std::vector<uint32_t>> subsets;
    std::vector<XMaterial> materials;
};

// False with `error` naming the line when the text is not a mesh this reader understands.
bool ParseXText(std::string_view text, XMeshData& mesh, std::string& error);
// Far more than any sky needs; a larger file is refused before it is read.
constexpr size_t MaxXFileBytes = 16u << 20;
// Reads only a regular file of at most MaxXFileBytes.
bool ReadXFile(const std::string& path, XMeshData& mesh, std::string& error);
