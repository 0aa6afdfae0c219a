#include "render/sky.h"

#include <cstdio>
#include <list>
#include <vector>

#include "platform/report.h"
#include "render/camera.h"

using namespace dev;

namespace {

constexpr const char* SkyFile = "data/sky.x";

// The arrays of every sky loaded; like the mesh they last until the process ends.
struct SkyArrays {
    std::vector<D3DMATERIAL9> materials;
    std::vector<Texture*> textures;
};
std::list<SkyArrays> loadedSkies;

}  // namespace

SkyMesh LoadSky() {
    std::vector<XMaterial> read;
    std::string error;
    Mesh* mesh = device->LoadMeshFromX(SkyFile, read, error);
    if (mesh == nullptr) {
        // The box says only which file; the reader's reason (with its line) goes to stderr.
        Report(error, SkyFile, "error");
        return {};
    }
    SkyArrays& arrays = loadedSkies.emplace_back();
    arrays.materials.resize(read.size());
    arrays.textures.assign(read.size(), nullptr);
    for (size_t i = 0; i < read.size(); ++i) {
        arrays.materials[i] = read[i].matD3D;
        arrays.materials[i].ambient = arrays.materials[i].diffuse;
        if (!read[i].textureFilename) continue;
        // A name too long for the path buffer is skipped rather than cut: that subset draws
        // untextured.
        char path[256];
        int length = std::snprintf(path, sizeof path, "data/%s", read[i].textureFilename->c_str());
        if (length > 0 && length < static_cast<int>(sizeof path))
            arrays.textures[i] = device->CreateTextureFromFile(path);
    }
    SkyMesh sky;
    sky.materialCount = static_cast<uint32_t>(read.size());
    sky.materials = arrays.materials.data();
    sky.textures = arrays.textures.data();
    sky.mesh = mesh;
    sky.deviceSerial = device->Serial();
    return sky;
}

void DrawSky(const SkyMesh& sky) {
    if (sky.mesh == nullptr || sky.deviceSerial != device->Serial()) return;
    device->SetTransform(D3DTS_WORLD, D3DXMatrixTranslation(cameraEye.x, cameraEye.y, cameraEye.z));
    for (uint32_t i = 0; i < sky.materialCount; ++i) {
        device->SetMaterial(sky.materials[i]);
        device->SetTexture(0, sky.textures[i]);
        sky.mesh->DrawSubset(i);
    }
}
