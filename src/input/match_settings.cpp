#include "input/match_settings.h"

#include <string>

#include "content/ini_text.h"
#include "content/whole_number.h"

namespace ib {

namespace {

std::optional<std::uint32_t> upTo(std::string_view s, std::uint32_t most)
{
    const std::optional<std::uint32_t> v = wholeNumber<std::uint32_t>(s);
    if (!v || *v > most) return std::nullopt;
    return v;
}

// A name for the lobby: what its room takes as a nickname.
bool printableName(const std::string& s)
{
    if (s.empty() || s.size() > 24) return false;
    for (unsigned char c : s)
        if (c < 0x20 || c > 0x7e) return false;
    return true;
}

}  // namespace

MatchSettings readMatchSettings(std::string_view text)
{
    MatchSettings out;
    // Lines that cannot be read at all are the controls reader's to name.
    for (const IniEntry& e : readIni(text).entries) {
        const std::string& name = e.name;
        const std::string& value = e.value;
        if (e.section == "play") {
            const auto n = upTo(value, 5);
            if (name == "p1" || name == "p2" || name == "stage") {
                if (!value.empty()) (name == "stage" ? out.lastStage : out.lastFighter[name == "p2"]) = value;
            } else if (name != "level")
                out.problems.push_back({e.line, "unknown entry \"" + name + "\" in [play]; it is left alone"});
            else if (n && *n >= 1)
                out.computerLevel = static_cast<int>(*n);
            else
                out.problems.push_back({e.line, "level \"" + value + "\" is not a computer level from 1 to 5"});
        } else if (e.section == "online") {
            if (name == "lobby" && !value.empty() && value.find_first_of(" \t/@") == std::string::npos)
                out.lobby = value;
            else if (name == "lobby")
                out.problems.push_back({e.line, "lobby \"" + value + "\" is not HOST or HOST:PORT"});
            else if (name == "name" && printableName(value))
                out.playerName = value;
            else if (name == "name")
                out.problems.push_back({e.line, "name \"" + value + "\" is not 1 to 24 printable ASCII characters"});
            else if (name != "delay")
                out.problems.push_back({e.line, "unknown entry \"" + name + "\" in [online]; it is left alone"});
            else if (const auto n = upTo(value, 4))
                out.inputDelay = static_cast<int>(*n);
            else
                out.problems.push_back({e.line, "delay \"" + value + "\" is not a number of steps from 0 to 4"});
        } else if (e.section != "match") {
            continue;  // the controls reader's business
        } else if (name == "rounds") {
            const auto n = upTo(value, 9);
            if (n && *n >= 1) out.rounds = static_cast<std::int32_t>(*n);
            else out.problems.push_back({e.line, "rounds \"" + value + "\" is not a number of rounds from 1 to 9"});
        } else if (name == "timer") {
            if (const auto n = upTo(value, 99)) out.timerSeconds = *n;
            else out.problems.push_back({e.line, "timer \"" + value + "\" is not seconds from 0 (no timer) to 99"});
        } else {
            out.problems.push_back({e.line, "unknown entry \"" + name + "\" in [match]; it is left alone"});
        }
    }
    return out;
}

}  // namespace ib
