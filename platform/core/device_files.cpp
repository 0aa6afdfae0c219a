// The table of what the game made on a device, by file, kept in the device itself.

#include "platform/device.h"

namespace {

// Names only: no device's resources. The game names a few dozen files.
std::vector<std::string>& imagePaths() {
    static std::vector<std::string> paths;
    return paths;
}

}  // namespace

ImageIds RegisterImageFiles(const char* const* paths, uint32_t count) {
    std::vector<std::string>& all = imagePaths();
    ImageIds ids{static_cast<ImageId>(all.size()), count};
    all.insert(all.end(), paths, paths + count);
    return ids;
}

const std::string& ImagePathOf(ImageId id) { return imagePaths().at(id); }

void Device::MakeMissing(ImageIds ids) {
    if (ids.first + ids.count > images_.size()) {
        unmade_ += ids.first + ids.count - images_.size();
        images_.resize(ids.first + ids.count, nullptr);
    }
    for (ImageId id = ids.first; id < ids.first + ids.count; ++id) {
        if (images_[id] != nullptr) continue;
        images_[id] = CreateTextureFromFile(ImagePathOf(id));
        if (images_[id] != nullptr) --unmade_;
    }
}

Sprite* Device::ScreenSprite() {
    if (sprite_ == nullptr) sprite_ = CreateSprite();
    return sprite_;
}

MeshFile& Device::MeshEntry(const std::string& path, bool& fresh) {
    auto [entry, added] = meshes_.try_emplace(path);
    fresh = added;
    return entry->second;
}
