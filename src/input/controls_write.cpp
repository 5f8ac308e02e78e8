#include <algorithm>

#include "content/trim.h"
#include "input/controls_entry.h"
#include "input/controls_file.h"

namespace ib {

namespace {

using namespace controls_file;

// Where an entry's value lies in its line (the value may be empty).
struct ValueSpan {
    std::size_t afterSeparator = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
    bool needsSpace = false;       // before the value: it is right after "="
    bool needsSpaceAfter = false;  // after it: a comment follows the empty value
};

ValueSpan valueSpan(std::string_view text, const IniLine& l)
{
    const std::string_view body = text.substr(l.begin, l.end - l.begin);
    std::size_t sep = body.find_first_of("=:");
    if (sep == std::string_view::npos) sep = body.size() - 1;  // never: the reader found one
    std::size_t start = sep + 1, end = body.size();
    for (std::size_t i = start; i < body.size(); ++i)
        if (body[i] == ';' && i > start && isSpace(body[i - 1])) {
            end = i;
            break;
        }
    const std::string_view value = trim(body.substr(start, end - start));
    // An empty value stands where the blanks after the separator end.
    const std::size_t vb = value.empty() ? end : static_cast<std::size_t>(value.data() - body.data());
    const std::size_t ve = vb + value.size();
    return {l.begin + start, l.begin + vb, l.begin + ve, value.empty() && vb == start,
            value.empty() && ve < body.size()};
}

// ";" (the key) is read as a value only right after the "=": after a
// space it would start a comment.
bool startsComment(std::string_view value) { return value.starts_with(';'); }

bool isDefault(const Meaning& m, const Controls& controls, const Controls& defaults)
{
    const auto pi = static_cast<std::size_t>(std::max(m.player, 1) - 1);
    const auto ai = static_cast<std::size_t>(m.action);
    switch (m.kind) {
    case Kind::Key: return controls.keys[pi][ai] == defaults.keys[pi][ai];
    case Kind::PadButton: return controls.padButtons[pi][ai] == defaults.padButtons[pi][ai];
    case Kind::PadGuid: return controls.padGuid[pi].empty();
    case Kind::DeadZone: return controls.deadZone == defaults.deadZone;
    }
    return false;
}

struct Wanted {
    std::string section, name, value;
    Meaning meaning;  // which value it is
};

// Every entry the file may hold, with what the controls give it.
std::vector<Wanted> wantedEntries(const Controls& controls)
{
    std::vector<Wanted> wanted;
    for (int player = 1; player <= 2; ++player) {
        const std::string section(kPlayerSections[player - 1]);
        for (Action a : kActions) {
            for (Kind k : {Kind::Key, Kind::PadButton}) {
                Meaning m{k, player, a, 0, {}, {}};
                std::string name = std::string(k == Kind::Key ? "" : "pad-") + std::string(actionName(a));
                wanted.push_back({section, name, valueText(k, controls, player, a), m});
            }
        }
        Meaning m{Kind::PadGuid, player, Action::Toward, 0, {}, {}};
        wanted.push_back({section, std::string(kPadEntry), valueText(Kind::PadGuid, controls, player, Action::Toward), m});
    }
    wanted.push_back({std::string(kPadsSection), std::string(kDeadZoneEntry), std::to_string(controls.deadZone),
                      Meaning{Kind::DeadZone, 0, Action::Toward, 0, {}, {}}});
    return wanted;
}

}  // namespace

std::string writeControls(std::string_view text, const Controls& controls)
{
    const IniText p = readIni(text);
    const Controls defaults = defaultControls();
    struct Edit {
        std::size_t at, length;
        std::string text;
        bool appends = false;  // new lines, after a value ending at the same place
    };
    std::vector<Edit> edits;
    std::vector<std::pair<std::string, std::string>> appended;  // section, "name = value"
    for (const Wanted& w : wantedEntries(controls)) {
        const IniEntry* last = nullptr;
        for (const IniEntry& e : p.entries)
            if (e.section == w.section && e.name == w.name) last = &e;
        if (last) {
            auto m = meaningOf(*last);
            if (m && sameValue(*m, controls)) continue;
            if (w.value.empty() && w.meaning.kind != Kind::PadGuid) continue;
            const ValueSpan span = valueSpan(text, p.lines[static_cast<std::size_t>(last->line - 1)]);
            if (startsComment(w.value))
                edits.push_back({span.afterSeparator, span.end - span.afterSeparator,
                                 w.value + (span.needsSpaceAfter ? " " : "")});
            else
                edits.push_back({span.begin, span.end - span.begin,
                                 (span.needsSpace ? " " : "") + w.value + (span.needsSpaceAfter ? " " : "")});
            continue;
        }
        // A missing entry is written only when it differs from the default.
        if (isDefault(w.meaning, controls, defaults) || w.value.empty()) continue;
        appended.push_back({w.section, w.name + (startsComment(w.value) ? " =" : " = ") + w.value});
    }

    const bool crlf = !p.lines.empty() && p.lines[0].end < text.size() && text[p.lines[0].end] == '\r';
    const std::string eol = crlf ? "\r\n" : "\n";
    std::string tail;  // new sections at the end of the file
    for (std::string_view section : {kPlayerSections[0], kPlayerSections[1], kPadsSection}) {
        std::string lines;
        for (const auto& [s, line] : appended)
            if (s == section) lines += line + eol;
        if (lines.empty()) continue;
        // Right after the section's last entry as the reader saw it, so the
        // new lines are read in that section; else in a new one at the end.
        const IniEntry* last = nullptr;
        for (const IniEntry& e : p.entries)
            if (e.section == section) last = &e;
        if (!last) {
            tail += eol + "[" + std::string(section) + "]" + eol + lines;
            continue;
        }
        const IniLine& l = p.lines[static_cast<std::size_t>(last->line - 1)];
        std::size_t at = l.end;
        // Past the line's own ending, if it has one.
        while (at < text.size() && text[at] != '\n') ++at;
        if (at < text.size()) ++at;
        edits.push_back({at, 0, (at == text.size() && (at == 0 || text[at - 1] != '\n') ? eol : "") + lines, true});
    }
    // From the end backwards, so each edit's place is still where it was.
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        return a.at != b.at ? a.at > b.at : a.appends > b.appends;
    });
    std::string out(text);
    for (const Edit& e : edits) out.replace(e.at, e.length, e.text);
    if (!tail.empty()) {
        if (out.empty())
            tail = "# Inkblot Fighter's controls: key names as SDL names keys, pad buttons as" + eol +
                   "# SDL names game controller buttons (a, b, x, y, dpleft, leftshoulder...)." + eol + tail;
        else if (out.back() != '\n')
            out += eol;
        out += tail;
    }
    return out;
}

}  // namespace ib
