// Setting one entry of a settings file the player may also edit: the
// entry's value is replaced where it stands (its comment kept), or the
// entry is added at the end of its section, or the section at the end of
// the file. Every other byte stays.
#pragma once

#include <string>
#include <string_view>

namespace ib {

std::string setIniEntry(std::string_view text, std::string_view section, std::string_view name,
                        std::string_view value);

}  // namespace ib
