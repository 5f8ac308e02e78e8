// Writing what the screen shows to a PNG file.
#pragma once

#include <string>

#include "platform/surface.h"

namespace ib::sim {

// RGB565 expanded to 8 bits a channel. False (with a message on standard
// error) when the file cannot be written.
bool writePng(const Surface& surface, const std::string& path);

}  // namespace ib::sim
