// Reading a 16-bit TGA picture file into memory: the two sides from its
// header and the pixel bytes the file holds. Shared by the picture loader
// and the hit-mask loader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace ib {

struct TgaFile {
    int width = 0;
    int height = 0;
    // The pixel bytes the file holds, at most 2 * width * height; a short
    // file gives fewer. Null when nothing was read.
    const std::uint8_t* bytes = nullptr;
    std::size_t byteCount = 0;
    std::vector<std::uint8_t, UnsetAllocator<std::uint8_t>> storage;  // holds the bytes

    // Pixels the file holds in full (a trailing half pixel does not count).
    std::size_t pixelCount() const { return byteCount / 2; }
    // File pixel i, counted in file order (bottom row first, left to right).
    std::uint16_t pixel(std::size_t i) const
    {
        return static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
};

enum class TgaRead {
    Ok,
    CannotOpen,  // missing, unreadable, or a directory
    TooLarge,    // a side above kMaxSurfaceSide: nothing read past the header
};

// Reads the header, then the pixel block in one read. Header bytes a short file does not hold count as 0. A path
// holding a NUL byte cannot be opened.
TgaRead readTgaFile(const std::string& path, TgaFile& out);

}  // namespace ib
