#include "content/content_error.h"

#include <cstdint>
#include <cstdio>

namespace ib {

namespace {

constexpr int kMaxShownCharacters = 200;

// The length of the well-formed UTF-8 letter at the front of s (a code
// point from U+00A0 on, neither a surrogate nor past U+10FFFF); 0 if none.
std::size_t utf8Letter(std::string_view s)
{
    const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t lead = b(0);
    std::size_t length = 0;
    std::uint32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((b(i) & 0xC0u) != 0x80u) return 0;
        cp = (cp << 6) | (b(i) & 0x3Fu);
    }
    const std::uint32_t smallest[] = {0, 0, 0xA0, 0x800, 0x10000};
    if (cp < smallest[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
    return length;
}

}  // namespace

std::string printableName(std::string_view name)
{
    std::string out;
    int shown = 0;
    std::size_t i = 0;
    while (i < name.size()) {
        if (shown == kMaxShownCharacters) {
            out += "...";
            break;
        }
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t n = c >= 0x80 ? utf8Letter(name.substr(i)) : 0) {
            out.append(name.substr(i, n));
            i += n;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
            ++i;
        }
        ++shown;
    }
    return out;
}

}  // namespace ib
