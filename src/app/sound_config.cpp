#include "app/sound_config.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "content/ini_text.h"
#include "content/whole_number.h"
#include "platform/text_file.h"
#include "platform/user_folders.h"

namespace ib {

namespace {

// What is wrong with an entry; empty when it was taken.
std::string takeEntry(const IniEntry& e, SoundVolumes& volumes)
{
    int* target = e.name == "effects" ? &volumes.effects : e.name == "music" ? &volumes.music : nullptr;
    if (!target) return "unknown setting \"" + e.name + "\" (effects or music)";
    const std::optional<int> n = wholeNumber<int>(e.value);
    if (!n || *n < 0 || *n > 100) return e.name + " takes a whole number from 0 to 100";
    *target = *n;
    return {};
}

// What is wrong with a line the reader could not take; empty for one that
// is passed over.
std::string faultText(IniFault fault)
{
    switch (fault) {
    case IniFault::NotAnEntry: return "not a \"name=value\" line";
    case IniFault::UnclosedSection: return {};
    case IniFault::NulByte: return "holds a NUL byte";
    case IniFault::TooLong: return "longer than " + std::to_string(kIniLongestLine) + " characters";
    }
    return {};
}

}  // namespace

std::string soundConfigPath()
{
    const std::filesystem::path folder = userConfigFolder();
    return folder.empty() ? std::string() : (folder / "sound.ini").string();
}

SoundVolumes parseSoundConfig(std::string_view text, const std::string& path)
{
    SoundVolumes volumes;
    const IniText ini = readIni(text);
    std::vector<std::pair<int, std::string>> bad;
    for (const IniProblem& p : ini.problems) bad.emplace_back(p.line, faultText(p.fault));
    // Any section will do: the names are the game's own.
    for (const IniEntry& e : ini.entries) bad.emplace_back(e.line, takeEntry(e, volumes));
    std::stable_sort(bad.begin(), bad.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [line, why] : bad)
        if (!why.empty())
            std::fprintf(stderr, "Inkblot Fighter: %s line %d: %s; line left out\n", path.c_str(), line, why.c_str());
    return volumes;
}

SoundVolumes readSoundConfig(const std::string& path)
{
    if (path.empty()) return {};
    std::string error;
    const std::optional<std::string> text = readTextFile(path, &error);
    if (!error.empty())
        std::fprintf(stderr, "Inkblot Fighter: %s %s; the default volumes are used\n", path.c_str(), error.c_str());
    return text ? parseSoundConfig(*text, path) : SoundVolumes{};
}

}  // namespace ib
