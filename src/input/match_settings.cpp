#include "input/match_settings.h"

#include <string>

#include "content/whole_number.h"

namespace ib {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::optional<std::uint32_t> upTo(std::string_view s, std::uint32_t most)
{
    const std::optional<std::uint32_t> v = wholeNumber<std::uint32_t>(s);
    if (!v || *v > most) return std::nullopt;
    return v;
}

}  // namespace

MatchSettings readMatchSettings(std::string_view text)
{
    MatchSettings out;
    bool inMatch = false, inOnline = false;
    int lineNo = 0;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        ++lineNo;
        if (const std::size_t c = line.find_first_of(";#"); c != std::string_view::npos) line = line.substr(0, c);
        line = trim(line);
        if (line.empty()) continue;
        if (line.front() == '[') {
            inMatch = line == "[match]";
            inOnline = line == "[online]";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!(inMatch || inOnline) || eq == std::string_view::npos) continue;  // the controls reader's business
        const std::string_view name = trim(line.substr(0, eq)), value = trim(line.substr(eq + 1));
        const std::string shown(value);
        if (inOnline) {
            if (name != "delay")
                out.problems.push_back({lineNo, "unknown entry \"" + std::string(name) + "\" in [online]; it is left alone"});
            else if (const auto n = upTo(value, 4))
                out.inputDelay = static_cast<int>(*n);
            else
                out.problems.push_back({lineNo, "delay \"" + shown + "\" is not a number of steps from 0 to 4"});
        } else if (name == "rounds") {
            const auto n = upTo(value, 9);
            if (n && *n >= 1) out.rounds = static_cast<std::int32_t>(*n);
            else out.problems.push_back({lineNo, "rounds \"" + shown + "\" is not a number of rounds from 1 to 9"});
        } else if (name == "timer") {
            if (const auto n = upTo(value, 99)) out.timerSeconds = *n;
            else out.problems.push_back({lineNo, "timer \"" + shown + "\" is not seconds from 0 (no timer) to 99"});
        } else {
            out.problems.push_back({lineNo, "unknown entry \"" + std::string(name) + "\" in [match]; it is left alone"});
        }
    }
    return out;
}

}  // namespace ib
