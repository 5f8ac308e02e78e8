#include "input/controls_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include <ini.h>

#include "content/whole_number.h"
#include "platform/input_names.h"
#include "platform/platform.h"

namespace ib {

namespace {

constexpr std::string_view kPlayerSections[2] = {"player1", "player2"};
constexpr std::string_view kPadsSection = "pads";
constexpr std::string_view kPadEntry = "pad";
constexpr std::string_view kDeadZoneEntry = "deadzone";
constexpr int kMaxDeadZone = 32767;

struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;  // before the line's "\r\n" or "\n"
};

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        const std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > pos && text[end - 1] == '\r') --end;
        lines.push_back({pos, end});
        pos = next;
    }
    return lines;
}

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

// One `name = value` as the ini reader gave it.
struct Entry {
    int line = 0;
    std::string section;
    std::string name;
    std::string value;
};

struct Parse {
    std::string_view text;
    std::vector<Line> lines;
    std::size_t next = 0;
    std::vector<bool> taken;  // per line: the reader made an entry of it
    std::vector<Entry> entries;
    std::vector<ControlsProblem> problems;
};

char* readLine(char* str, int num, void* stream)
{
    Parse& p = *static_cast<Parse*>(stream);
    if (p.next >= p.lines.size()) return nullptr;
    const Line& l = p.lines[p.next++];
    std::string_view body = p.text.substr(l.begin, l.end - l.begin);
    if (body.find('\0') != std::string_view::npos) {
        p.problems.push_back({static_cast<int>(p.next), "holds a NUL byte; the line is left out"});
        body = {};
        p.taken[p.next - 1] = true;
    } else if (static_cast<int>(body.size()) + 2 > num) {
        p.problems.push_back({static_cast<int>(p.next), "is longer than " + std::to_string(num - 2) +
                                                            " characters; the line is left out"});
        body = {};
        p.taken[p.next - 1] = true;
    }
    if (!body.empty()) std::memcpy(str, body.data(), body.size());
    str[body.size()] = '\n';
    str[body.size() + 1] = '\0';
    return str;
}

int takeEntry(void* user, const char* section, const char* name, const char* value)
{
    Parse& p = *static_cast<Parse*>(user);
    const int line = static_cast<int>(p.next);
    p.entries.push_back({line, section, name, value ? value : ""});
    p.taken[p.next - 1] = true;
    return 1;
}

Parse parse(std::string_view text)
{
    Parse p;
    p.text = text;
    p.lines = splitLines(text);
    p.taken.assign(p.lines.size(), false);
    // An indented line is a line of its own, not more of the value above.
    ini_allow_multiline = false;
    ini_parse_stream(readLine, &p, takeEntry, &p);
    for (std::size_t i = 0; i < p.lines.size(); ++i) {
        if (p.taken[i]) continue;
        std::string_view body = text.substr(p.lines[i].begin, p.lines[i].end - p.lines[i].begin);
        if (i == 0 && body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
        body = trim(body);
        if (body.empty() || body[0] == ';' || body[0] == '#') continue;
        const int line = static_cast<int>(i + 1);
        if (body[0] == '[') {
            if (body.find(']') == std::string_view::npos)
                p.problems.push_back({line, "a [section] without its closing \"]\""});
        } else {
            p.problems.push_back({line, "is not \"name = value\", a [section] or a comment"});
        }
    }
    return p;
}

enum class Kind { Key, PadButton, PadGuid, DeadZone };

// Where an entry's value lies in its line (the value may be empty).
struct ValueSpan {
    std::size_t afterSeparator = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
    bool needsSpace = false;     // before the value: it is right after "="
    bool needsSpaceAfter = false;  // after it: a comment follows the empty value
};

ValueSpan valueSpan(std::string_view text, const Line& l)
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
    std::size_t vb = start, ve = end;
    while (vb < ve && isSpace(body[vb])) ++vb;
    while (ve > vb && isSpace(body[ve - 1])) --ve;
    return {l.begin + start, l.begin + vb, l.begin + ve, vb == ve && vb == start, vb == ve && ve < body.size()};
}

bool isGuid(std::string_view s)
{
    return s.size() == 32 &&
           std::all_of(s.begin(), s.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<int> deadZoneOf(std::string_view s)
{
    const std::optional<int> v = wholeNumber<int>(s);
    if (!v || *v < 0 || *v > kMaxDeadZone) return std::nullopt;
    return v;
}

// An entry's meaning, or why it has none.
struct Meaning {
    Kind kind = Kind::Key;
    int player = 0;  // 1 or 2; 0 for [pads]
    Action action = Action::Toward;
    int value = 0;
    std::string guid;
    std::string problem;
};

std::optional<Meaning> meaningOf(const Entry& e)
{
    Meaning m;
    if (e.section == kPadsSection) {
        if (e.name != kDeadZoneEntry) {
            m.problem = "unknown entry \"" + e.name + "\" in [pads]; it is left alone";
            return m;
        }
        m.kind = Kind::DeadZone;
        if (auto v = deadZoneOf(e.value)) m.value = *v;
        else m.problem = "the dead zone \"" + e.value + "\" is not a whole number from 0 to 32767";
        return m;
    }
    for (int p = 1; p <= 2; ++p) {
        if (e.section != kPlayerSections[p - 1]) continue;
        m.player = p;
        if (e.name == kPadEntry) {
            m.kind = Kind::PadGuid;
            m.guid = lower(e.value);
            if (!m.guid.empty() && !isGuid(m.guid))
                m.problem = "\"" + e.value + "\" is not a pad's GUID (32 hexadecimal digits)";
            return m;
        }
        for (Action a : kActions) {
            const std::string name(actionName(a));
            if (e.name == name) {
                m.kind = Kind::Key;
                m.action = a;
                const auto vk = virtualKeyFromKeyName(e.value);
                if (!vk) m.problem = "unknown key \"" + e.value + "\"";
                else if (*vk == VK_ESCAPE || *vk == VK_F12)
                    m.problem = "\"" + e.value + "\" closes the game and cannot be bound";
                else if (*vk == VK_F10)
                    m.problem = "\"" + e.value + "\" switches the sound and cannot be bound";
                else m.value = *vk;
                return m;
            }
            if (e.name == "pad-" + name) {
                m.kind = Kind::PadButton;
                m.action = a;
                const auto b = padButtonFromName(e.value);
                if (!b) m.problem = "unknown pad button \"" + e.value + "\"";
                else m.value = *b;
                return m;
            }
        }
        m.problem = "unknown entry \"" + e.name + "\" in [" + e.section + "]; it is left alone";
        return m;
    }
    return std::nullopt;  // a section of someone else's: kept, not read
}

// A binding and the line it came from (0: the default).
struct Choice {
    int value = 0;
    int line = 0;
};

// Refuses bindings that clash, the one read last first, until none do;
// each refused one goes back to its default, which may clash in turn.
template <class Owner>
void refuseClashes(std::vector<Choice*> slots, const std::vector<int>& defaults, const Owner& owner,
                   std::vector<ControlsProblem>& problems)
{
    for (;;) {
        std::size_t refuse = slots.size(), other = 0;
        for (std::size_t i = 0; i < slots.size(); ++i)
            for (std::size_t j = 0; j < slots.size(); ++j) {
                if (i == j || slots[i]->value != slots[j]->value || slots[i]->line == 0) continue;
                if (slots[j]->line > slots[i]->line) continue;
                if (refuse == slots.size() || slots[i]->line > slots[refuse]->line) {
                    refuse = i;
                    other = j;
                }
            }
        if (refuse == slots.size()) return;
        problems.push_back({slots[refuse]->line, "refused: that is already " + owner(other)});
        *slots[refuse] = {defaults[refuse], 0};
    }
}

// The text for a value, or empty when a name would not read back as it.
std::string valueText(Kind kind, const Controls& c, int player, Action a)
{
    const auto p = static_cast<std::size_t>(player - 1);
    const auto i = static_cast<std::size_t>(a);
    switch (kind) {
    case Kind::Key: return keyNameOf(c.keys[p][i]);
    case Kind::PadButton: return padButtonName(c.padButtons[p][i]);
    case Kind::PadGuid: return c.padGuid[p];
    case Kind::DeadZone: return std::to_string(c.deadZone);
    }
    return {};
}

// ";" (the key) is read as a value only right after the "=": after a
// space it would start a comment.
bool startsComment(std::string_view value) { return value.starts_with(';'); }

bool sameValue(const Meaning& m, const Controls& c)
{
    if (!m.problem.empty()) return false;
    const auto p = static_cast<std::size_t>(m.player - 1);
    const auto i = static_cast<std::size_t>(m.action);
    switch (m.kind) {
    case Kind::Key: return c.keys[p][i] == m.value;
    case Kind::PadButton: return c.padButtons[p][i] == m.value;
    case Kind::PadGuid: return c.padGuid[p] == m.guid;
    case Kind::DeadZone: return c.deadZone == m.value;
    }
    return false;
}

}  // namespace

ReadControls readControls(std::string_view text)
{
    Parse parsed = parse(text);
    ReadControls out;
    out.controls = defaultControls();
    const Controls defaults = out.controls;
    Controls& c = out.controls;

    Choice keys[2][kActionCount], pads[2][kActionCount], guids[2];
    for (int p = 0; p < 2; ++p)
        for (int a = 0; a < kActionCount; ++a) {
            keys[p][a] = {c.keys[p][a], 0};
            pads[p][a] = {c.padButtons[p][a], 0};
        }
    std::string guidText[2];
    for (const Entry& e : parsed.entries) {
        auto m = meaningOf(e);
        if (!m) continue;
        if (!m->problem.empty()) {
            parsed.problems.push_back({e.line, m->problem});
            continue;
        }
        const auto pi = static_cast<std::size_t>(m->player - 1);
        const auto ai = static_cast<std::size_t>(m->action);
        switch (m->kind) {
        case Kind::Key: keys[pi][ai] = {m->value, e.line}; break;
        case Kind::PadButton: pads[pi][ai] = {m->value, e.line}; break;
        case Kind::PadGuid:
            guidText[pi] = m->guid;
            guids[pi].line = e.line;
            break;
        case Kind::DeadZone: c.deadZone = m->value; break;
        }
    }

    std::vector<Choice*> keySlots;
    std::vector<int> keyDefaults;
    for (int p = 0; p < 2; ++p)
        for (int a = 0; a < kActionCount; ++a) {
            keySlots.push_back(&keys[p][a]);
            keyDefaults.push_back(defaults.keys[static_cast<size_t>(p)][static_cast<size_t>(a)]);
        }
    auto slotOwner = [](std::size_t i) {
        return "player " + std::to_string(i / kActionCount + 1) + "'s " +
               std::string(actionName(kActions[i % kActionCount]));
    };
    refuseClashes(keySlots, keyDefaults, slotOwner, parsed.problems);
    for (int p = 0; p < 2; ++p) {
        std::vector<Choice*> slots;
        std::vector<int> padDefaults;
        for (int a = 0; a < kActionCount; ++a) {
            slots.push_back(&pads[p][a]);
            padDefaults.push_back(defaults.padButtons[static_cast<size_t>(p)][static_cast<size_t>(a)]);
        }
        refuseClashes(slots, padDefaults,
                      [&](std::size_t i) { return slotOwner(static_cast<std::size_t>(p) * kActionCount + i); },
                      parsed.problems);
    }
    // Both players naming one pad: the later entry is refused.
    if (guids[0].line && guids[1].line && !guidText[0].empty() && guidText[0] == guidText[1]) {
        const int later = guids[0].line > guids[1].line ? 0 : 1;
        parsed.problems.push_back({guids[later].line,
                              "refused: that pad is already player " + std::to_string(2 - later) + "'s"});
        guidText[later].clear();
    }
    for (int p = 0; p < 2; ++p) {
        for (int a = 0; a < kActionCount; ++a) {
            c.keys[static_cast<size_t>(p)][static_cast<size_t>(a)] = keys[p][a].value;
            c.padButtons[static_cast<size_t>(p)][static_cast<size_t>(a)] = pads[p][a].value;
        }
        c.padGuid[static_cast<size_t>(p)] = guidText[p];
    }
    std::stable_sort(parsed.problems.begin(), parsed.problems.end(),
                     [](const ControlsProblem& a, const ControlsProblem& b) { return a.line < b.line; });
    out.problems = std::move(parsed.problems);
    return out;
}

std::string writeControls(std::string_view text, const Controls& controls)
{
    Parse p = parse(text);
    const Controls defaults = defaultControls();
    struct Wanted {
        std::string section, name, value;
        Meaning meaning;  // which value it is
    };
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
    wanted.push_back({std::string(kPadsSection), std::string(kDeadZoneEntry),
                      std::to_string(controls.deadZone), Meaning{Kind::DeadZone, 0, Action::Toward, 0, {}, {}}});

    struct Edit {
        std::size_t at, length;
        std::string text;
        bool appends = false;  // new lines, after a value ending at the same place
    };
    std::vector<Edit> edits;
    std::vector<std::pair<std::string, std::string>> appended;  // section, "name = value"
    for (Wanted& w : wanted) {
        const Entry* last = nullptr;
        for (const Entry& e : p.entries)
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
        Meaning m = w.meaning;
        const auto pi = static_cast<std::size_t>(std::max(m.player, 1) - 1);
        const auto ai = static_cast<std::size_t>(m.action);
        bool isDefault = false;
        switch (m.kind) {
        case Kind::Key: isDefault = controls.keys[pi][ai] == defaults.keys[pi][ai]; break;
        case Kind::PadButton: isDefault = controls.padButtons[pi][ai] == defaults.padButtons[pi][ai]; break;
        case Kind::PadGuid: isDefault = controls.padGuid[pi].empty(); break;
        case Kind::DeadZone: isDefault = controls.deadZone == defaults.deadZone; break;
        }
        if (isDefault || w.value.empty()) continue;
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
        const Entry* last = nullptr;
        for (const Entry& e : p.entries)
            if (e.section == section) last = &e;
        if (!last) {
            tail += eol + "[" + std::string(section) + "]" + eol + lines;
            continue;
        }
        const Line& l = p.lines[static_cast<std::size_t>(last->line - 1)];
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

std::filesystem::path defaultControlsPath()
{
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) base = std::filesystem::path(home) / ".config";
    else return {};
    return base / "inkblot-fighter" / "controls.ini";
}

std::optional<std::string> readTextFile(const std::filesystem::path& path, std::string* error)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    if (in) text << in.rdbuf();
    if (!in || in.bad() || std::filesystem::is_directory(path, ec)) {
        if (error) *error = "cannot be read";
        return std::nullopt;
    }
    return text.str();
}

std::string replaceFile(const std::filesystem::path& path, std::string_view text)
{
    std::error_code ec;
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    std::filesystem::create_directories(folder, ec);
    if (ec) return "cannot make the folder " + folder.string() + ": " + ec.message();
    std::string temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temp.data());
    if (fd < 0) return "cannot write in " + folder.string() + ": " + std::strerror(errno);
    struct stat old {};
    fchmod(fd, stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    const bool ok = done == text.size() && fsync(fd) == 0;
    const int closed = ::close(fd);
    if (!ok || closed != 0 || std::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        std::remove(temp.c_str());
        return "cannot write " + path.string() + ": " + why;
    }
    return {};
}

}  // namespace ib
