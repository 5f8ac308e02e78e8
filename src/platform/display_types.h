// Result codes, flags and small records of the game's display layer.
// The names follow the classic full-screen blitter API the game was designed
// around, so the drawing code reads the same as it was planned.
#pragma once

#include <cstdint>

namespace ib {

using HRESULT = std::int32_t;

constexpr HRESULT DD_OK = 0;
constexpr HRESULT DDERR_WASSTILLDRAWING = static_cast<HRESULT>(0x8876021Cu);
constexpr HRESULT DDERR_SURFACELOST = static_cast<HRESULT>(0x887601C2u);
constexpr HRESULT DDERR_INVALIDRECT = static_cast<HRESULT>(0x88760096u);
constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DDERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DDERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DDERR_NOTLOCKED = static_cast<HRESULT>(0x887602E6u);
constexpr HRESULT DDERR_SURFACEBUSY = static_cast<HRESULT>(0x887601B8u);

// bltFast transfer flags
constexpr std::uint32_t DDBLTFAST_NOCOLORKEY = 0;
constexpr std::uint32_t DDBLTFAST_SRCCOLORKEY = 1;

// blt flags
constexpr std::uint32_t DDBLT_DDFX = 0x00000800;
constexpr std::uint32_t DDBLT_KEYSRC = 0x00008000;

// BltFx effects
constexpr std::uint32_t DDBLTFX_MIRRORLEFTRIGHT = 0x00000002;

// The screen the game draws, in pixels.
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// Largest surface side we make; a picture header asking for more is refused.
constexpr int kMaxSurfaceSide = 4096;

// left, top, right, bottom; right and bottom are exclusive.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct BltFx {
    std::uint32_t dwDDFX = 0;
};

// The display's pixel format: 16-bit RGB565.
struct PixelFormat {
    std::uint32_t dwRGBBitCount = 16;
    std::uint32_t dwRBitMask = 0xF800;
    std::uint32_t dwGBitMask = 0x07E0;
    std::uint32_t dwBBitMask = 0x001F;
};

// A colour as the game's content and code write it: 0x00BBGGRR.
using ColorRef = std::uint32_t;
constexpr ColorRef rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr ColorRef kMagenta = 0xFF00FF;

// 8-bit-per-channel colour to the RGB565 value the display stores.
constexpr std::uint16_t toRgb565(ColorRef c)
{
    unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

}  // namespace ib
