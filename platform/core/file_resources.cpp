#include "platform/core/file_resources.h"

#include "platform/core/image_file.h"
#include "platform/core/xfile.h"

Texture* FileResources::LoadTexture(const std::string& path) {
    std::optional<Image> image = LoadImageFile(path);
    if (!image) return nullptr;
    auto texture = std::make_unique<Texture>();
    texture->width = static_cast<uint32_t>(image->width);
    texture->height = static_cast<uint32_t>(image->height);
    texture->path = path;
    texture->handle = static_cast<uint32_t>(textures.size() + 1);
    textures.push_back(std::move(texture));
    return textures.back().get();
}

Mesh* FileResources::LoadMesh(const std::string& path, std::vector<XMaterial>& materials,
                              std::string& error, std::unique_ptr<Mesh> mesh) {
    XMeshData data;
    if (!ReadXFile(path, data, error)) return nullptr;
    materials = data.materials;
    meshes.push_back(std::move(mesh));
    return meshes.back().get();
}

Sprite* FileResources::Keep(std::unique_ptr<Sprite> sprite) {
    sprites.push_back(std::move(sprite));
    return sprites.back().get();
}
