#include "graphics/hit_mask.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "graphics/tga_file.h"

namespace ib {

namespace {

// Bit i set where values[i] is not 0, for i below n (at most 64).
std::uint64_t nonZeroBits(const std::uint8_t* values, std::size_t n)
{
    std::uint64_t bits = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + i));
        const auto isZero = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, zero)));
        bits |= std::uint64_t{static_cast<std::uint16_t>(~isZero)} << i;
    }
#endif
    for (; i < n; ++i) bits |= std::uint64_t{values[i] != 0} << i;
    return bits;
}

// Packs one byte plane into `bits` (forward) and `mirrored`, and returns the
// box of its non-zero values.
PlaneBox packPlane(const HitMask::Plane& plane, std::size_t width, std::size_t height,
                   std::size_t wordsPerRow, std::vector<std::uint64_t>& bits,
                   std::vector<std::uint64_t>& mirrored)
{
    bits.assign(height * wordsPerRow, 0);
    mirrored.assign(height * wordsPerRow, 0);
    const std::size_t used = wordsPerRow - 1;  // words that hold columns
    // The mirrored row is the whole row of words reversed, moved down by
    // the columns the last word does not hold.
    const unsigned spare = static_cast<unsigned>(64 * used - width);
    std::size_t top = height, bottom = 0, left = width, right = 0;
    for (std::size_t r = 0; r < height; ++r) {
        const std::size_t start = r * width;
        // Values a short plane does not hold count as 0.
        const std::size_t held = plane.size() > start ? std::min(width, plane.size() - start) : 0;
        std::uint64_t* row = bits.data() + r * wordsPerRow;
        std::uint64_t* back = mirrored.data() + r * wordsPerRow;
        for (std::size_t w = 0; w * 64 < held; ++w) {
            row[w] = nonZeroBits(plane.data() + start + w * 64,
                                 std::min<std::size_t>(64, held - w * 64));
        }
        for (std::size_t w = 0; w < used; ++w) {
            const std::uint64_t lo = reverseBits(row[used - 1 - w]);
            const std::uint64_t hi = w + 1 < used ? reverseBits(row[used - 2 - w]) : 0;
            back[w] = (lo >> spare) | ((hi << 1) << (63 - spare));
        }
        for (std::size_t w = 0; w < used; ++w) {
            if (row[w] == 0) continue;
            top = std::min(top, r);
            bottom = r + 1;
            left = std::min(left, 64 * w + std::countr_zero(row[w]));
            break;
        }
        for (std::size_t w = used; w-- > 0;) {
            if (row[w] == 0) continue;
            right = std::max(right, 64 * w + 64 - std::countl_zero(row[w]));
            break;
        }
    }
    if (bottom == 0) return PlaneBox{};
    return PlaneBox{static_cast<std::int32_t>(top), static_cast<std::int32_t>(bottom),
                    static_cast<std::int32_t>(left), static_cast<std::int32_t>(right)};
}

}  // namespace

void packHitMask(HitMask& mask)
{
    PackedPlanes p;
    p.width = mask.width;
    p.height = mask.height;
    const std::size_t width = static_cast<std::size_t>(std::max(mask.width, 0));
    const std::size_t height = static_cast<std::size_t>(std::max(mask.height, 0));
    const std::size_t words = (width + 63) / 64 + 1;  // one spare word a row
    p.wordsPerRow = static_cast<std::int32_t>(words);
    p.bodyBox = packPlane(mask.body, width, height, words, p.body, p.bodyMirrored);
    p.strikeBox = packPlane(mask.strike, width, height, words, p.strike, p.strikeMirrored);
    // Which strike values there are, looked for inside the strike box only.
    const auto top = static_cast<std::size_t>(p.strikeBox.top);
    const auto bottom = static_cast<std::size_t>(p.strikeBox.bottom);
    const auto left = static_cast<std::size_t>(p.strikeBox.left);
    const auto right = static_cast<std::size_t>(p.strikeBox.right);
    bool seen[256] = {};
    for (std::size_t r = top; r < bottom; ++r) {
        const std::size_t from = std::min(mask.strike.size(), r * width + left);
        const std::size_t to = std::min(mask.strike.size(), r * width + right);
        for (std::size_t i = from; i < to; ++i) seen[mask.strike[i]] = true;
    }
    for (int v = 1; v < 256; ++v)
        if (seen[v]) p.strikeValues.set(static_cast<std::size_t>(v));
    if (p.strikeValues.none()) {
        // Most poses strike nowhere: keep no empty planes for them.
        p.strike = std::vector<std::uint64_t>();
        p.strikeMirrored = std::vector<std::uint64_t>();
    }
    mask.packed = std::move(p);
}

HitMask hitMaskFromTga(const TgaFile& file, const std::string& name)
{
    HitMask mask;
    mask.name = name;
    mask.width = file.width;
    mask.height = file.height;
    const std::size_t width = static_cast<std::size_t>(file.width);
    const std::size_t height = static_cast<std::size_t>(file.height);
    const std::size_t held = file.pixelCount();
    // Every value is written once; those a short file does not give are 0.
    mask.body.resize(width * height);
    mask.strike.resize(width * height);
    for (std::size_t fileRow = 0; fileRow < height; ++fileRow) {
        const std::size_t start = fileRow * width;
        const std::size_t inFile = start >= held ? 0 : std::min(width, held - start);
        std::uint8_t* body = mask.body.data() + (height - 1 - fileRow) * width;
        std::uint8_t* strike = mask.strike.data() + (height - 1 - fileRow) * width;
        std::size_t x = 0;
#if defined(__SSE2__)
        const __m128i five = _mm_set1_epi16(31);
        // Only rows the file holds point into its bytes (there may be none).
        const std::uint8_t* bytes = inFile > 0 ? file.bytes + 2 * start : nullptr;
        for (; x + 16 <= inFile; x += 16) {
            const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 2 * x));
            const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 2 * x + 16));
            const __m128i b = _mm_packus_epi16(_mm_and_si128(_mm_srli_epi16(lo, 10), five),
                                               _mm_and_si128(_mm_srli_epi16(hi, 10), five));
            const __m128i s = _mm_packus_epi16(_mm_and_si128(_mm_srli_epi16(lo, 5), five),
                                               _mm_and_si128(_mm_srli_epi16(hi, 5), five));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(body + x), b);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(strike + x), s);
        }
#endif
        for (; x < inFile; ++x) {
            const std::uint16_t p = file.pixel(start + x);
            body[x] = static_cast<std::uint8_t>((p >> 10) & 31);
            strike[x] = static_cast<std::uint8_t>((p >> 5) & 31);
        }
        std::fill(body + inFile, body + width, std::uint8_t{0});
        std::fill(strike + inFile, strike + width, std::uint8_t{0});
    }
    packHitMask(mask);
    return mask;
}

}  // namespace ib
