// The table of what the game made on a device, by file, kept in the device itself.
#include <unordered_map>

#include "platform/device.h"

namespace {

// Names and ids only: no device's resources. The game names a few dozen files.
struct ImageNames {
    std::vector<std::string> paths;
    std::unordered_map<std::string, ImageId> ids;
};

ImageNames& imageNames() {
    static ImageNames names;
    return names;
}

}  // namespace

ImageId ImageIdOf(const std::string& path) {
    ImageNames& names = imageNames();
    auto [found, added] = names.ids.try_emplace(path, static_cast<ImageId>(names.paths.size()));
    if (added) names.paths.push_back(path);
    return found->second;
}

const std::string& ImagePathOf(ImageId id) { return imageNames().paths.at(id); }

Texture* Device::ImageTexture(ImageId id) {
    if (id >= images_.size()) images_.resize(id + 1, nullptr);
    Texture*& image = images_[id];
    if (image == nullptr) image = CreateTextureFromFile(ImagePathOf(id));
    return image;
}

Texture* Device::MadeImage(ImageId id) const { return id < images_.size() ? images_[id] : nullptr; }

Sprite* Device::ScreenSprite() {
    if (sprite_ == nullptr) sprite_ = CreateSprite();
    return sprite_;
}

MeshFile& Device::MeshEntry(const std::string& path, bool& fresh) {
    auto [entry, added] = meshes_.try_emplace(path);
    fresh = added;
    return entry->second;
}
