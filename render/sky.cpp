#include "render/sky.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/report.h"
#include "render/camera.h"

using namespace dev;

namespace {

constexpr const char* SkyFile = "data/sky.x";
constexpr size_t MaxSkyTextures = 8;

// A texture name is a path inside data/: no absolute path, drive letter, backslash (a separator
// on Windows) or ".." part.
bool LeavesDataFolder(const std::string& name) {
    if (name.empty() || name[0] == '/' || name.find('\\') != std::string::npos) return true;
    if (name.size() >= 2 && name[1] == ':') return true;
    for (size_t start = 0; start <= name.size();) {
        size_t end = std::min(name.find('/', start), name.size());
        if (name.compare(start, end - start, "..") == 0) return true;
        start = end + 1;
    }
    return false;
}

// Reads the sky file into the device's entry for it; false (with the box shown) when it fails.
bool ReadSky(MeshFile& entry) {
    std::vector<XMaterial> read;
    std::string error;
    entry.mesh = device->LoadMeshFromX(SkyFile, read, error);
    if (entry.mesh == nullptr) {
        // The box says only which file; the reader's reason (with its line) goes to stderr.
        Report(error, SkyFile, "error");
        return false;
    }
    entry.materials.resize(read.size());
    entry.textures.assign(read.size(), nullptr);
    // Materials naming one file share its texture; a sky naming more files than any sky needs
    // gets textures for the first ones only.
    std::map<std::string, Texture*> byPath;
    for (size_t i = 0; i < read.size(); ++i) {
        entry.materials[i] = read[i].matD3D;
        entry.materials[i].ambient = entry.materials[i].diffuse;
        if (!read[i].textureFilename) continue;
        // A name too long for the path buffer is skipped rather than cut: that subset draws
        // untextured.
        const std::string& name = *read[i].textureFilename;
        if (LeavesDataFolder(name)) {
            Report(std::string(SkyFile) + ": texture " + name + " is refused: it leaves data/");
            continue;
        }
        char path[256];
        int length = std::snprintf(path, sizeof path, "data/%s", name.c_str());
        if (length <= 0 || length >= static_cast<int>(sizeof path)) {
            Report(std::string(SkyFile) + ": texture name longer than " +
                   std::to_string(sizeof path - 6) + " bytes; left out");
            continue;
        }
        auto found = byPath.find(path);
        if (found == byPath.end()) {
            if (byPath.size() == MaxSkyTextures) {
                Report(std::string(SkyFile) + ": more than " + std::to_string(MaxSkyTextures) +
                       " texture files; " + path + " left out");
                continue;
            }
            found = byPath.emplace(path, device->CreateTextureFromFile(path)).first;
        }
        entry.textures[i] = found->second;
    }
    return true;
}

}  // namespace

SkyMesh LoadSky() {
    bool fresh = false;
    MeshFile& entry = device->MeshEntry(SkyFile, fresh);
    if (fresh) ReadSky(entry);
    if (entry.mesh == nullptr) return {};
    SkyMesh sky;
    sky.materialCount = static_cast<uint32_t>(entry.materials.size());
    sky.materials = entry.materials.data();
    sky.textures = entry.textures.data();
    sky.mesh = entry.mesh;
    return sky;
}

void DrawSky(const SkyMesh& sky) {
    if (sky.mesh == nullptr) return;
    device->SetTransform(D3DTS_WORLD, D3DXMatrixTranslation(cameraEye.x, cameraEye.y, cameraEye.z));
    for (uint32_t i = 0; i < sky.materialCount; ++i) {
        device->SetMaterial(sky.materials[i]);
        device->SetTexture(0, sky.textures[i]);
        sky.mesh->DrawSubset(i);
    }
}
