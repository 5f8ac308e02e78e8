// Putting a 16-bit TGA picture's pixels into a surface: the file's five bits
// a channel placed where the surface's pixel format wants them, and colour
// keys matched the same way.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/surface.h"

namespace ib {

struct TgaFile;

struct PixelShifts {
    int red = 0;
    int green = 0;
    int blue = 0;
};

PixelShifts pixelShifts(const PixelFormat& format);

// A surface the file's size holding its pixels; null when it cannot be made.
std::shared_ptr<Surface> makeTgaSurface(DisplayDevice& directDraw, const TgaFile& file);
// Writes the pixels of the file at path into surface again; always DD_OK.
// A file that is gone or unreadable, or a locked surface, leaves it as it is.
HRESULT reloadTgaSurface(Surface& surface, const std::string& path);

std::uint32_t matchColor(Surface& surface, ColorRef rgb);
void setSourceColorKey(Surface& surface, ColorRef rgb);

}  // namespace ib
