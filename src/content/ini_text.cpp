#include "content/ini_text.h"

#include <algorithm>
#include <cstring>

#include <ini.h>

#include "content/trim.h"

namespace ib {

namespace {

std::vector<IniLine> splitLines(std::string_view text)
{
    std::vector<IniLine> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > pos && text[end - 1] == '\r') --end;
        lines.push_back({pos, end});
        pos = next;
    }
    return lines;
}

struct Parse {
    std::string_view text;
    IniText out;
    std::size_t next = 0;     // the line inih asks for next
    std::vector<bool> taken;  // per line: an entry, or a problem already named
};

// inih's line source: one line at a time, so that each entry knows its
// line. A line inih could not take whole is handed over empty.
char* readLine(char* str, int num, void* stream)
{
    Parse& p = *static_cast<Parse*>(stream);
    if (p.next >= p.out.lines.size()) return nullptr;
    const IniLine& l = p.out.lines[p.next++];
    const int number = static_cast<int>(p.next);
    std::string_view body = p.text.substr(l.begin, l.end - l.begin);
    if (body.find('\0') != std::string_view::npos) {
        p.out.problems.push_back({number, IniFault::NulByte});
        body = {};
        p.taken[p.next - 1] = true;
    } else if (static_cast<int>(body.size()) > std::min(num - 2, kIniLongestLine)) {
        p.out.problems.push_back({number, IniFault::TooLong});
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
    p.out.entries.push_back({static_cast<int>(p.next), section, name, value ? value : ""});
    p.taken[p.next - 1] = true;
    return 1;
}

}  // namespace

IniText readIni(std::string_view text)
{
    Parse p;
    p.text = text;
    p.out.lines = splitLines(text);
    p.taken.assign(p.out.lines.size(), false);
    // An indented line is a line of its own, not more of the value above.
    ini_allow_multiline = false;
    ini_parse_stream(readLine, &p, takeEntry, &p);
    // inih names only the first line it cannot read; every one is found
    // here among the lines that gave nothing.
    for (std::size_t i = 0; i < p.out.lines.size(); ++i) {
        if (p.taken[i]) continue;
        std::string_view body = text.substr(p.out.lines[i].begin, p.out.lines[i].end - p.out.lines[i].begin);
        if (i == 0 && body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
        body = trim(body);
        if (body.empty() || body[0] == ';' || body[0] == '#') continue;
        const int line = static_cast<int>(i + 1);
        if (body[0] != '[') p.out.problems.push_back({line, IniFault::NotAnEntry});
        else if (body.find(']') == std::string_view::npos) p.out.problems.push_back({line, IniFault::UnclosedSection});
    }
    std::stable_sort(p.out.problems.begin(), p.out.problems.end(),
                     [](const IniProblem& a, const IniProblem& b) { return a.line < b.line; });
    return p.out;
}

}  // namespace ib
