// What the devices that draw nothing still make: images and meshes read from their files, so that
// they load or fail as a real device's would, kept as long as the device.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/device.h"

struct FileResources {
    // Null when the file is missing or unreadable; handles count from 1.
    Texture* LoadTexture(const std::string& path);
    // Keeps `mesh` and returns it when the mesh file reads; null (with `error` set) otherwise.
    Mesh* LoadMesh(const std::string& path, std::vector<XMaterial>& materials, std::string& error,
                   std::unique_ptr<Mesh> mesh);
    Sprite* Keep(std::unique_ptr<Sprite> sprite);

    std::vector<std::unique_ptr<Texture>> textures;
    std::vector<std::unique_ptr<Sprite>> sprites;
    std::vector<std::unique_ptr<Mesh>> meshes;
};
