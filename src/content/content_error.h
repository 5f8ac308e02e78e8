// The one exception the content readers throw: its what() is the exact text
// shown to the player, such as "Frame file read error <jab1>".
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace ib {

// A name read from a file as a person can read it in a message: printable
// ASCII and whole UTF-8 letters as they are, every other byte as \xNN (a
// backslash too, so nothing is ambiguous), and at most 200 characters
// followed by "..." when there are more.
std::string printableName(std::string_view name);

class ContentError : public std::runtime_error {
public:
    // what() is the message's own words, a blank and the name in < >.
    ContentError(const std::string& words, std::string_view name)
        : std::runtime_error(words + " <" + printableName(name) + ">")
    {
    }
};

}  // namespace ib
