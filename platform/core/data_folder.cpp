#include "platform/core/data_folder.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/report.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> Candidates(const fs::path& executableFolder) {
    std::vector<fs::path> folders;
    std::error_code error;
    folders.push_back(fs::current_path(error));
    if (!executableFolder.empty()) {
        folders.push_back(executableFolder);
#ifdef MARVAZE_INSTALLED_DATA_PARENT
        // An installed tree moved as a whole: games/marvaze beside share/games/marvaze/data.
        folders.push_back(executableFolder.parent_path() / "share" / "games" / "marvaze");
#endif
    }
#ifdef MARVAZE_INSTALLED_DATA_PARENT
    folders.push_back(MARVAZE_INSTALLED_DATA_PARENT);
#endif
    return folders;
}

}  // namespace

bool EnterDataFolder(const fs::path& executableFolder) {
    std::vector<fs::path> folders = Candidates(executableFolder);
    for (const fs::path& folder : folders) {
        std::error_code error;
        if (!fs::is_directory(folder / "data", error)) continue;
        fs::current_path(folder, error);
        if (!error) return true;
    }
    std::string message = "no data folder found; looked for data/ in:";
    for (const fs::path& folder : folders) {
        message += ' ';
        message += folder.string();
    }
    Report(message);
    return false;
}
