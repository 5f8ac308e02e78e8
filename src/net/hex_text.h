// A 64-bit number as 16 hexadecimal digits, as hashes and fingerprints
// are shown.
#pragma once

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>

namespace ib::net {

inline std::string hexText(std::uint64_t v)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, v);
    return text;
}

}  // namespace ib::net
