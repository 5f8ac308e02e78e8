#include "content/ini_edit.h"

#include "content/ini_text.h"

namespace ib {

namespace {

// Past the end of the line that ends at `at`, with its own line ending.
std::size_t nextLine(std::string_view text, std::size_t at)
{
    while (at < text.size() && text[at] != '\n') ++at;
    return at < text.size() ? at + 1 : at;
}

}  // namespace

std::string setIniEntry(std::string_view text, std::string_view section, std::string_view name,
                        std::string_view value)
{
    const IniText ini = readIni(text);
    const IniEntry* entry = nullptr;  // the last one is the one read
    const IniEntry* lastInSection = nullptr;
    for (const IniEntry& e : ini.entries) {
        if (e.section != section) continue;
        lastInSection = &e;
        if (e.name == name) entry = &e;
    }
    const bool crlf = !ini.lines.empty() && ini.lines[0].end < text.size() && text[ini.lines[0].end] == '\r';
    const std::string eol = crlf ? "\r\n" : "\n";
    const std::string line = std::string(name) + " = " + std::string(value);
    std::string out(text);
    if (entry) {
        const IniLine& l = ini.lines[static_cast<std::size_t>(entry->line - 1)];
        const std::string_view body = text.substr(l.begin, l.end - l.begin);
        // Up to a comment after a blank, which stays.
        std::size_t end = body.size();
        for (std::size_t i = body.find_first_of("=:") + 1; i < body.size(); ++i)
            if (body[i] == ';' && (body[i - 1] == ' ' || body[i - 1] == '\t')) {
                end = i - 1;
                break;
            }
        out.replace(l.begin, end, line);
        return out;
    }
    if (lastInSection) {
        const IniLine& l = ini.lines[static_cast<std::size_t>(lastInSection->line - 1)];
        const std::size_t at = nextLine(text, l.end);
        out.insert(at, (at == text.size() && !text.empty() && text.back() != '\n' ? eol : "") + line + eol);
        return out;
    }
    if (!out.empty() && out.back() != '\n') out += eol;
    if (!out.empty()) out += eol;
    out += "[" + std::string(section) + "]" + eol + line + eol;
    return out;
}

}  // namespace ib
