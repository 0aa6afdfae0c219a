// libFuzzer target: the mesh reader on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/xfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XMeshData mesh;
    std::string error;
    if (ParseXText(std::string_view(reinterpret_cast<const char*>(data), size), mesh, error)) {
        // Whatever it accepts must be safe to draw: every index names a vertex.
        for (const auto& subset : mesh.subsets)
            for (uint32_t index : subset)
                if (index >= mesh.vertices.size()) __builtin_trap();
        if (mesh.subsets.size() != mesh.materials.size()) __builtin_trap();
    }
    return 0;
}
