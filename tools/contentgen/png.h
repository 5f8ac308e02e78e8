// Pictures for the desktop: RGBA bytes and PNG files, magenta see-through.
#pragma once

#include <string>
#include <vector>

#include "contentgen/raster.h"

namespace contentgen {

// Four bytes a pixel (red, green, blue, alpha), rows from the top; the
// 5-bit channels widened to 8 bits, magenta fully transparent.
std::vector<unsigned char> rgbaBytes(const Raster& picture);

// Throws std::runtime_error when the file cannot be written.
void writePng(const std::string& path, const Raster& picture);

}  // namespace contentgen
