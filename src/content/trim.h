// Text without the white space (blanks, tabs, carriage returns...) at its
// two ends.
#pragma once

#include <cctype>
#include <string_view>

namespace ib {

inline bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

inline std::string_view trim(std::string_view s)
{
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace ib
