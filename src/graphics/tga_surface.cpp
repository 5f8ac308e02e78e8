#include "graphics/tga_surface.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "graphics/tga_file.h"

namespace ib {

namespace {

int lowestBit(std::uint32_t mask) { return mask ? std::countr_zero(mask) : 0; }

// Writes the file's pixels into the surface, bottom row first, keeping to
// the part both have; file pixels a short file lacks are written as 0.
// False when the surface's format cannot be read or it cannot be locked.
bool writePixels(Surface& surface, const TgaFile& file)
{
    PixelFormat format;
    if (surface.getPixelFormat(format) != DD_OK) return false;
    const PixelShifts shifts = pixelShifts(format);

    std::uint16_t* pixels = nullptr;
    std::int32_t pitchBytes = 0;
    if (surface.lock(pixels, pitchBytes) != DD_OK) return false;

    const int columns = std::min(file.width, surface.width());
    const std::size_t held = file.pixelCount();
    for (int fileRow = 0; fileRow < file.height; ++fileRow) {
        const int row = file.height - 1 - fileRow;
        if (row >= surface.height()) continue;
        std::uint16_t* dst = pixels + static_cast<std::size_t>(row) * (pitchBytes / 2);
        const std::size_t start = static_cast<std::size_t>(fileRow) * file.width;
        const int inFile =
            start >= held ? 0 : static_cast<int>(std::min<std::size_t>(columns, held - start));
        int x = 0;
#if defined(__SSE2__)
        // Eight pixels at a time: the file's bytes are little-endian 16-bit
        // values, as x86 stores them.
        const __m128i five = _mm_set1_epi16(31);
        const __m128i red = _mm_cvtsi32_si128(shifts.red);
        const __m128i green = _mm_cvtsi32_si128(shifts.green);
        const __m128i blue = _mm_cvtsi32_si128(shifts.blue);
        // Only rows the file holds point into its bytes (there may be none).
        const std::uint8_t* bytes = inFile > 0 ? file.bytes + 2 * start : nullptr;
        for (; x + 8 <= inFile; x += 8) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 2 * x));
            const __m128i r = _mm_sll_epi16(_mm_and_si128(_mm_srli_epi16(p, 10), five), red);
            const __m128i g = _mm_sll_epi16(_mm_and_si128(_mm_srli_epi16(p, 5), five), green);
            const __m128i b = _mm_sll_epi16(_mm_and_si128(p, five), blue);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x),
                             _mm_or_si128(_mm_or_si128(r, g), b));
        }
#endif
        for (; x < inFile; ++x) {
            const std::uint32_t p = file.pixel(start + x);
            dst[x] = static_cast<std::uint16_t>((((p >> 10) & 31) << shifts.red) |
                                                (((p >> 5) & 31) << shifts.green) |
                                                ((p & 31) << shifts.blue));
        }
        std::fill(dst + inFile, dst + columns, std::uint16_t{0});
    }
    surface.unlock();
    return true;
}

}  // namespace

PixelShifts pixelShifts(const PixelFormat& format)
{
    PixelShifts s;
    s.red = lowestBit(format.dwRBitMask);
    s.green = lowestBit(format.dwGBitMask);
    // A six-bit green field: the five-bit value fills its upper bits.
    if (s.green + 5 < 32 && (format.dwGBitMask >> (s.green + 5)) & 1u) s.green += 1;
    s.blue = lowestBit(format.dwBBitMask);
    return s;
}

std::shared_ptr<Surface> makeTgaSurface(DisplayDevice& directDraw, const TgaFile& file)
{
    std::shared_ptr<Surface> surface;
    // writePixels sets every pixel of a surface the file's size.
    if (directDraw.createSurface(file.width, file.height, surface, NewPixels::Unset) != DD_OK)
        return nullptr;
    if (!writePixels(*surface, file)) return nullptr;
    return surface;
}

HRESULT reloadTgaSurface(Surface& surface, const std::string& path)
{
    // A file that is gone or now unreadable leaves the surface as it is.
    TgaFile file;
    if (readTgaFile(path, file) == TgaRead::Ok) writePixels(surface, file);
    return DD_OK;
}

std::uint32_t matchColor(Surface& surface, ColorRef rgb)
{
    // The key must equal what the loader makes of the same colour in a
    // picture file, so the colour goes through the loader's conversion:
    // five bits a channel, placed by the surface's shifts.
    PixelFormat format;
    if (surface.getPixelFormat(format) != DD_OK) return 0xFFFFFFFFu;
    const PixelShifts shifts = pixelShifts(format);
    const std::uint32_t r = (rgb & 0xFF) >> 3;
    const std::uint32_t g = ((rgb >> 8) & 0xFF) >> 3;
    const std::uint32_t b = ((rgb >> 16) & 0xFF) >> 3;
    std::uint32_t value = (r << shifts.red) | (g << shifts.green) | (b << shifts.blue);
    if (format.dwRGBBitCount < 32) value &= (1u << format.dwRGBBitCount) - 1;
    return value;
}

void setSourceColorKey(Surface& surface, ColorRef rgb)
{
    surface.setColorKey(static_cast<std::uint16_t>(matchColor(surface, rgb)));
}

}  // namespace ib
