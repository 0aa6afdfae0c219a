// Placeholder until the mesh reader lands; the rendering work replaces this file.
#include "platform/core/xfile.h"

bool ParseXText(std::string_view, XMeshData&, std::string& error) {
    error = "mesh reading not built yet";
    return false;
}
bool ReadXFile(const std::string& path, XMeshData& mesh, std::string& error) {
    return ParseXText(path, mesh, error);
}
