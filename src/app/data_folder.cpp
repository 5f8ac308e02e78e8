#include "app/data_folder.h"

#include <cstdlib>
#include <cstring>
#include <system_error>

#ifndef INKBLOT_RELATIVE_DATA
#define INKBLOT_RELATIVE_DATA "../share/games/inkblot-fighter"
#endif
#ifndef INKBLOT_INSTALLED_DATA
#define INKBLOT_INSTALLED_DATA "/usr/local/share/games/inkblot-fighter"
#endif

namespace ib {

namespace fs = std::filesystem;

namespace {

bool isFolder(const fs::path& p)
{
    std::error_code ec;
    return fs::is_directory(p, ec);
}

}  // namespace

std::string chooseDataFolder(const DataFolderClues& clues)
{
    if (!clues.option.empty()) return clues.option;
    if (!clues.environment.empty()) return clues.environment;
    if (!clues.executable.empty()) {
        const fs::path dir = clues.executable.parent_path();
        // A build folder is known by CMake's cache; the content is drawn
        // into its data folder.
        std::error_code ec;
        if (fs::exists(dir / "CMakeCache.txt", ec) && isFolder(dir / "data")) return (dir / "data").string();
        const fs::path installed = (dir / clues.relativeData).lexically_normal();
        if (!clues.relativeData.empty() && isFolder(installed)) return installed.string();
    }
    return clues.installedData.string();
}

std::string findDataFolder(const std::string& option)
{
    DataFolderClues clues;
    clues.option = option;
    if (const char* env = std::getenv("INKBLOT_DATA")) clues.environment = env;
    std::error_code ec;
    clues.executable = fs::read_symlink("/proc/self/exe", ec);
    clues.relativeData = INKBLOT_RELATIVE_DATA;
    clues.installedData = INKBLOT_INSTALLED_DATA;
    return chooseDataFolder(clues);
}

bool takeDataOption(std::vector<const char*>& args, std::string& folder)
{
    for (std::size_t i = 1; i < args.size();) {
        if (!args[i] || std::strcmp(args[i], "--data") != 0) {
            ++i;
            continue;
        }
        if (i + 1 >= args.size() || !args[i + 1]) return false;
        folder = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    return true;
}

}  // namespace ib
