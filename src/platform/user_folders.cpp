#include "platform/user_folders.h"

#include <cstdlib>

namespace ib {

namespace {

constexpr const char* kGameFolder = "inkblot-fighter";

std::filesystem::path gameFolder(const char* xdgVariable, const char* underHome)
{
    const std::filesystem::path base = userFolderFrom(std::getenv(xdgVariable), std::getenv("HOME"), underHome);
    return base.empty() ? base : base / kGameFolder;
}

}  // namespace

std::filesystem::path userFolderFrom(const char* xdg, const char* home, const char* underHome)
{
    if (xdg && xdg[0] == '/') return xdg;
    if (home && *home) return std::filesystem::path(home) / underHome;
    return {};
}

std::filesystem::path userConfigFolder() { return gameFolder("XDG_CONFIG_HOME", ".config"); }

std::filesystem::path userDataFolder() { return gameFolder("XDG_DATA_HOME", ".local/share"); }

}  // namespace ib
