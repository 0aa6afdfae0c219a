#include "platform/core/data_folder.h"

#include <algorithm>
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
    std::string looked;
    for (auto folder = folders.begin(); folder != folders.end(); ++folder) {
        if (std::find(folders.begin(), folder, *folder) != folder) continue;
        std::u8string name = folder->u8string();
        message += ' ' + std::string(name.begin(), name.end());
        looked += "  " + std::string(name.begin(), name.end()) + '\n';
    }
    // The commonest way to meet this on Windows is a double-click inside the zip, which extracts
    // the executable alone.
#ifdef _WIN32
    const char* remedy =
        "If you opened marvaze.exe inside the zip file, extract the whole zip first, then start "
        "marvaze.exe from the extracted folder: the data folder must stay beside it.";
#else
    const char* remedy =
        "Start marvaze from the folder that holds the data folder, or reinstall the game.";
#endif
    Report(message,
           "Marvaze cannot start: its data folder, which holds its pictures and sounds, is "
           "missing.\n\nIt looked for a folder named \"data\" in:\n" +
               looked + '\n' + remedy,
           "Marvaze cannot start");
    return false;
}
