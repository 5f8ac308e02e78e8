#include "app/data_folder.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <system_error>
#include <utility>

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

bool holdsContent(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_regular_file(folder / kContentMark, ec);
}

}  // namespace

DataFolder chooseDataFolder(const DataFolderClues& clues)
{
    // Each place looked at, with what made the game look there.
    std::vector<std::pair<fs::path, const char*>> tried;
    auto take = [&](const fs::path& folder) {
        DataFolder out{folder.string(), {}};
        if (holdsContent(folder)) return out;
        out.tried = "Content folders tried:";
        const char* comma = " ";
        for (const auto& [place, why] : tried) {
            out.tried += comma + place.string() + " (" + why + ")";
            comma = ", ";
        }
        return out;
    };
    if (!clues.option.empty()) {
        tried.emplace_back(clues.option, "--data");
        return take(clues.option);
    }
    if (!clues.environment.empty()) {
        tried.emplace_back(clues.environment, "INKBLOT_DATA");
        return take(clues.environment);
    }
    std::optional<fs::path> found;
    auto consider = [&](const fs::path& folder, const char* why, bool answers) {
        if (answers && !found) found = folder;
        for (const auto& t : tried)
            if (t.first == folder) return;  // named once
        tried.emplace_back(folder, why);
    };
    if (!clues.workingDirectory.empty())
        consider(clues.workingDirectory, "working directory", holdsContent(clues.workingDirectory));
    if (!clues.executable.empty()) {
        const fs::path dir = clues.executable.parent_path();
        // A build folder is known by CMake's cache; the content is drawn
        // into its data folder.
        std::error_code ec;
        if (fs::exists(dir / "CMakeCache.txt", ec)) consider(dir / "data", "build folder", isFolder(dir / "data"));
        if (!clues.relativeData.empty()) {
            const fs::path installed = (dir / clues.relativeData).lexically_normal();
            consider(installed, "beside the program", isFolder(installed));
        }
    }
    consider(clues.installedData, "install folder", true);
    return take(*found);
}

DataFolder findDataFolder(const std::string& option)
{
    DataFolderClues clues;
    clues.option = option;
    if (const char* env = std::getenv("INKBLOT_DATA")) clues.environment = env;
    std::error_code ec;
    clues.workingDirectory = fs::current_path(ec);
    clues.executable = fs::read_symlink("/proc/self/exe", ec);
    clues.relativeData = INKBLOT_RELATIVE_DATA;
    clues.installedData = INKBLOT_INSTALLED_DATA;
    return chooseDataFolder(clues);
}

void useDataFolder(ContentFiles& files, const std::string& option)
{
    DataFolder found = findDataFolder(option);
    files.setFolder(std::move(found.folder));
    files.setFoldersTried(std::move(found.tried));
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
