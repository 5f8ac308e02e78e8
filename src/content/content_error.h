// The one exception the content readers throw: its what() is the exact text
// shown to the player, such as "Frame file read error <jab1>".
#pragma once

#include <stdexcept>
#include <string>

namespace ib {

class ContentError : public std::runtime_error {
public:
    explicit ContentError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ib
