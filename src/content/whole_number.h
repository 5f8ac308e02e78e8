// A whole number written in full: a command-line argument, or a value in a
// settings file.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace ib {

// The number `s` holds, all of it; nothing for any other text.
template <class T>
std::optional<T> wholeNumber(std::string_view s)
{
    T value{};
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

}  // namespace ib
