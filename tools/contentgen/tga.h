// Writes pictures as the game reads them: uncompressed 16-bit TGA, 18-byte
// header, pixels A1R5G5B5 little-endian, the bottom row first.
#pragma once

#include <string>

#include "contentgen/raster.h"

namespace contentgen {

// Throws std::runtime_error when the file cannot be written.
void writeTga(const std::string& path, const Raster& picture);

}  // namespace contentgen
