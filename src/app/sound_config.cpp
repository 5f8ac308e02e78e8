#include "app/sound_config.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "content/whole_number.h"

namespace ib {

namespace {

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// What is wrong with a line; empty when it was taken.
std::string takeLine(std::string_view line, SoundVolumes& volumes)
{
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return "not a \"name=value\" line";
    const std::string_view key = trimmed(line.substr(0, eq));
    const std::string_view value = trimmed(line.substr(eq + 1));
    int* target = key == "effects" ? &volumes.effects : key == "music" ? &volumes.music : nullptr;
    if (!target) return "unknown setting \"" + std::string(key) + "\" (effects or music)";
    const std::optional<int> n = wholeNumber<int>(value);
    if (!n || *n < 0 || *n > 100) return std::string(key) + " takes a whole number from 0 to 100";
    *target = *n;
    return {};
}

}  // namespace

std::string soundConfigPath()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) return std::string(xdg) + "/inkblot-fighter/sound.ini";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config/inkblot-fighter/sound.ini";
    return {};
}

SoundVolumes parseSoundConfig(std::string_view text, const std::string& path)
{
    SoundVolumes volumes;
    int number = 0;
    while (!text.empty()) {
        const auto feed = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, feed));
        text = feed == std::string_view::npos ? std::string_view() : text.substr(feed + 1);
        ++number;
        if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') continue;
        const std::string why = takeLine(line, volumes);
        if (!why.empty())
            std::fprintf(stderr, "Inkblot Fighter: %s line %d: %s; line left out\n", path.c_str(),
                         number, why.c_str());
    }
    return volumes;
}

SoundVolumes readSoundConfig(const std::string& path)
{
    if (path.empty()) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return parseSoundConfig(text.str(), path);
}

}  // namespace ib
