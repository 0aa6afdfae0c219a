#include "platform/sdl/data_folder.h"

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef MARVAZE_INSTALLED_DATA_PARENT
#define MARVAZE_INSTALLED_DATA_PARENT "/usr/local/share/marvaze"
#endif

namespace fs = std::filesystem;

std::vector<std::string> DataFolderCandidates() {
    std::vector<std::string> folders;
    std::error_code error;
    folders.push_back(fs::current_path(error).string());
    if (char* base = SDL_GetBasePath()) {
        fs::path executableFolder = fs::path(base).parent_path();
        SDL_free(base);
        folders.push_back(executableFolder.string());
        // An installed tree moved as a whole: bin/marvaze beside share/marvaze/data.
        folders.push_back((executableFolder.parent_path() / "share" / "marvaze").string());
    }
    folders.push_back(MARVAZE_INSTALLED_DATA_PARENT);
    return folders;
}

bool EnterDataFolder() {
    std::vector<std::string> folders = DataFolderCandidates();
    for (const std::string& folder : folders) {
        std::error_code error;
        if (!fs::is_directory(fs::path(folder) / "data", error)) continue;
        fs::current_path(folder, error);
        if (!error) return true;
    }
    std::fprintf(stderr, "marvaze: no data folder found; looked for data/ in:");
    for (const std::string& folder : folders) std::fprintf(stderr, " %s", folder.c_str());
    std::fprintf(stderr, "\n");
    return false;
}
