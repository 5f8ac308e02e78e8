// The one exception the content readers throw: its what() is the exact text
// shown to the player, such as "Frame file read error <jab1>".
#pragma once

#include <stdexcept>
#include <string>

namespace ib {

class ContentError : public std::runtime_error {
public:
    explicit ContentError(const std::string& message) : std::runtime_error(shown(message)) {}

private:
    // what() is read up to the first NUL byte, and a name read from a file
    // may hold one: it is written as "\0" so the whole name is shown.
    static std::string shown(const std::string& message)
    {
        std::string out;
        for (char c : message) {
            if (c == '\0')
                out += "\\0";
            else
                out += c;
        }
        return out;
    }
};

}  // namespace ib
