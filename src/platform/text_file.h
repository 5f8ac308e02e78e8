// A text file read whole, and a file replaced whole without ever leaving
// half of one: how the game reads and writes the player's own files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ib {

// The file's bytes; nothing when it does not exist. A file that exists but
// cannot be read (a folder, no permission) gives nothing and *error says
// why.
std::optional<std::string> readTextFile(const std::filesystem::path& path, std::string* error);

// Writes a temporary file beside path and renames it over path, so that a
// reader sees the old file or the new one, never half of one, and a failed
// write leaves the old file as it was. Keeps the old file's mode; makes
// the folder when missing. Empty on success, else what went wrong.
std::string replaceFile(const std::filesystem::path& path, std::string_view text);

}  // namespace ib
