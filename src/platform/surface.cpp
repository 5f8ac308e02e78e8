#include "platform/surface.h"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ib {

namespace {

bool isEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

bool inside(const Rect& r, int width, int height)
{
    return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;
}

// The row copies below run eight pixels at a time with SSE2 (every x86-64
// has it), then finish the row pixel by pixel. A colour-keyed pixel keeps
// what the destination had: dst = s == key ? dst : s.
#if defined(__SSE2__)
__m128i load8(const std::uint16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
void store8(std::uint16_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
__m128i keyed8(__m128i s, __m128i d, __m128i key)
{
    const __m128i m = _mm_cmpeq_epi16(s, key);
    return _mm_or_si128(_mm_and_si128(m, d), _mm_andnot_si128(m, s));
}
// Eight pixels in reverse order.
__m128i reverse8(__m128i v)
{
    v = _mm_shufflelo_epi16(v, 0x1B);
    v = _mm_shufflehi_epi16(v, 0x1B);
    return _mm_shuffle_epi32(v, 0x4E);
}
#endif

void copyRowKeyed(std::uint16_t* __restrict dst, const std::uint16_t* __restrict src, int n,
                  std::uint16_t key)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi16(static_cast<short>(key));
    for (; i + 8 <= n; i += 8) store8(dst + i, keyed8(load8(src + i), load8(dst + i), k));
#endif
    for (; i < n; ++i) {
        std::uint16_t s = src[i];
        dst[i] = s == key ? dst[i] : s;
    }
}

// One row mirrored: dst[i] = src[n - 1 - i].
void copyRowMirrored(std::uint16_t* __restrict dst, const std::uint16_t* __restrict src, int n)
{
    int i = 0;
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) store8(dst + i, reverse8(load8(src + n - i - 8)));
#endif
    for (; i < n; ++i) dst[i] = src[n - 1 - i];
}

void copyRowMirroredKeyed(std::uint16_t* __restrict dst, const std::uint16_t* __restrict src, int n,
                          std::uint16_t key)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi16(static_cast<short>(key));
    for (; i + 8 <= n; i += 8)
        store8(dst + i, keyed8(reverse8(load8(src + n - i - 8)), load8(dst + i), k));
#endif
    for (; i < n; ++i) {
        std::uint16_t s = src[n - 1 - i];
        dst[i] = s == key ? dst[i] : s;
    }
}

// The first column at or after x (below n) whose pixel is the key when
// `isKey`, or is not the key when not; n when there is none.
int findColumn(const std::uint16_t* row, int x, int n, std::uint16_t key, bool isKey)
{
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi16(static_cast<short>(key));
    const unsigned wanted = isKey ? 0u : 0xFFFFu;  // the mask of eight pixels passed over
    for (; x + 8 <= n; x += 8) {
        const auto m = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(load8(row + x), k)));
        if (m != wanted) return x + std::countr_zero(m ^ wanted) / 2;
    }
#endif
    for (; x < n; ++x)
        if ((row[x] == key) == isKey) return x;
    return n;
}

// Copies row `s` of a keyed picture, columns [left, right), to `d`, only
// where its runs are: forward, d[i] is column left + i; mirrored, d[i] is
// column right - 1 - i.
void copyRuns(std::uint16_t* d, const std::uint16_t* s, const Surface::Run* run,
              const Surface::Run* end, int left, int right, bool mirrored)
{
    for (; run != end && run->begin < right; ++run) {
        if (run->end <= left) continue;
        const int a = std::max<int>(run->begin, left);
        const int b = std::min<int>(run->end, right);
        if (mirrored)
            copyRowMirrored(d + (right - b), s + a, b - a);
        else
            std::memcpy(d + (a - left), s + a, static_cast<size_t>(b - a) * 2);
    }
}

}  // namespace

const Surface::OpaqueRuns& Surface::opaqueRuns()
{
    if (runs_.valid) return runs_;
    runs_.rowStart.resize(static_cast<size_t>(height_) + 1);
    runs_.runs.clear();
    for (int y = 0; y < height_; ++y) {
        runs_.rowStart[static_cast<size_t>(y)] = static_cast<std::uint32_t>(runs_.runs.size());
        const std::uint16_t* row = pixels_.data() + static_cast<size_t>(y) * width_;
        int x = findColumn(row, 0, width_, colorKey_, false);
        while (x < width_) {
            const int end = findColumn(row, x, width_, colorKey_, true);
            runs_.runs.push_back(Run{static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(end)});
            x = findColumn(row, end, width_, colorKey_, false);
        }
    }
    runs_.rowStart[static_cast<size_t>(height_)] = static_cast<std::uint32_t>(runs_.runs.size());
    runs_.valid = true;
    return runs_;
}

void* allocateBlock(std::size_t bytes)
{
    void* block = ::operator new(bytes);
    if (bytes >= kPrefaultedBlockBytes) {
        // Every whole page of the block, put in place by one call. Where
        // the system cannot, the pages come one fault at a time as before.
        const auto start = (reinterpret_cast<std::uintptr_t>(block) + 4095) & ~std::uintptr_t{4095};
        const auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~std::uintptr_t{4095};
        if (end > start)
            ::madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
    }
    return block;
}

void freeBlock(void* block, std::size_t) noexcept { ::operator delete(block); }

HRESULT DisplayDevice::createSurface(int width, int height, std::shared_ptr<Surface>& out,
                                     NewPixels pixels)
{
    out.reset();
    if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
        return DDERR_INVALIDPARAMS;
    out = std::make_shared<Surface>(shared_from_this(), width, height, pixels);
    return DD_OK;
}

Surface::Surface(std::shared_ptr<DisplayDevice> device, int width, int height, NewPixels pixels)
    : device_(std::move(device)),
      width_(width),
      height_(height),
      generation_(device_->generation()),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height))
{
    if (pixels == NewPixels::Black) std::fill(pixels_.begin(), pixels_.end(), std::uint16_t{0});
}

HRESULT Surface::restore()
{
    if (!isLost()) return DD_OK;
    generation_ = device_->generation();
    std::fill(pixels_.begin(), pixels_.end(), std::uint16_t{0});
    pixelsChanged();
    if (backBuffer_) backBuffer_->restore();
    return DD_OK;
}

HRESULT Surface::lock(std::uint16_t*& pixels, std::int32_t& pitchBytes)
{
    pixels = nullptr;
    pitchBytes = 0;
    if (isLost()) return DDERR_SURFACELOST;
    if (locked_) return DDERR_SURFACEBUSY;
    locked_ = true;
    pixelsChanged();  // they may be written until unlock
    pixels = pixels_.data();
    pitchBytes = pitch();
    return DD_OK;
}

HRESULT Surface::unlock()
{
    if (!locked_) return DDERR_NOTLOCKED;
    locked_ = false;
    return DD_OK;
}

HRESULT Surface::getPixelFormat(PixelFormat& out) const
{
    out = device_->pixelFormat();
    return DD_OK;
}

HRESULT Surface::preflight(Surface& src)
{
    if (device_->takeStillDrawing()) return DDERR_WASSTILLDRAWING;
    if (isLost() || src.isLost()) return DDERR_SURFACELOST;
    if (locked_ || src.locked_) return DDERR_SURFACEBUSY;
    return DD_OK;
}

HRESULT Surface::bltFast(int x, int y, Surface& src, const Rect& srcRect, std::uint32_t trans)
{
    HRESULT r = preflight(src);
    if (r != DD_OK) return r;
    if (isEmpty(srcRect) || !inside(srcRect, src.width_, src.height_)) return DDERR_INVALIDRECT;
    const int w = srcRect.right - srcRect.left;
    const int h = srcRect.bottom - srcRect.top;
    // Written with 64-bit sums so that no coordinate can overflow.
    if (x < 0 || y < 0 || static_cast<long long>(x) + w > width_ ||
        static_cast<long long>(y) + h > height_)
        return DDERR_INVALIDRECT;
    const bool keyed = (trans & DDBLTFAST_SRCCOLORKEY) && src.hasColorKey_;
    if (keyed && &src != this) {
        copyKeyed(src, srcRect, x, y, false);
        return DD_OK;
    }
    for (int row = 0; row < h; ++row) {
        const std::uint16_t* s =
            src.pixels_.data() + static_cast<size_t>(srcRect.top + row) * src.width_ + srcRect.left;
        std::uint16_t* d = pixels_.data() + static_cast<size_t>(y + row) * width_ + x;
        if (keyed)
            copyRowKeyed(d, s, w, src.colorKey_);
        else
            std::memmove(d, s, static_cast<size_t>(w) * 2);
    }
    pixelsChanged();
    return DD_OK;
}

HRESULT Surface::blt(const Rect& dstRect, Surface& src, const Rect& srcRect, std::uint32_t flags,
                     const BltFx* fx)
{
    HRESULT r = preflight(src);
    if (r != DD_OK) return r;
    if (isEmpty(srcRect) || isEmpty(dstRect) || !inside(srcRect, src.width_, src.height_) ||
        !inside(dstRect, width_, height_))
        return DDERR_INVALIDRECT;
    const int w = srcRect.right - srcRect.left;
    const int h = srcRect.bottom - srcRect.top;
    if (dstRect.right - dstRect.left != w || dstRect.bottom - dstRect.top != h)
        return DDERR_INVALIDPARAMS;  // nothing is stretched
    const bool keyed = (flags & DDBLT_KEYSRC) && src.hasColorKey_;
    const bool mirrored = (flags & DDBLT_DDFX) && fx && (fx->dwDDFX & DDBLTFX_MIRRORLEFTRIGHT);
    if (keyed && &src != this) {
        copyKeyed(src, srcRect, dstRect.left, dstRect.top, mirrored);
        return DD_OK;
    }
    for (int row = 0; row < h; ++row) {
        const std::uint16_t* s =
            src.pixels_.data() + static_cast<size_t>(srcRect.top + row) * src.width_ + srcRect.left;
        std::uint16_t* d =
            pixels_.data() + static_cast<size_t>(dstRect.top + row) * width_ + dstRect.left;
        if (mirrored && keyed)
            copyRowMirroredKeyed(d, s, w, src.colorKey_);
        else if (mirrored)
            copyRowMirrored(d, s, w);
        else if (keyed)
            copyRowKeyed(d, s, w, src.colorKey_);
        else
            std::memmove(d, s, static_cast<size_t>(w) * 2);
    }
    pixelsChanged();
    return DD_OK;
}

void Surface::copyKeyed(Surface& src, const Rect& srcRect, int x, int y, bool mirrored)
{
    const OpaqueRuns& runs = src.opaqueRuns();
    for (int row = srcRect.top; row < srcRect.bottom; ++row) {
        const std::uint16_t* s = src.pixels_.data() + static_cast<size_t>(row) * src.width_;
        std::uint16_t* d = pixels_.data() + static_cast<size_t>(y + row - srcRect.top) * width_ + x;
        const Run* first = runs.runs.data() + runs.rowStart[static_cast<size_t>(row)];
        const Run* last = runs.runs.data() + runs.rowStart[static_cast<size_t>(row) + 1];
        copyRuns(d, s, first, last, srcRect.left, srcRect.right, mirrored);
    }
    pixelsChanged();
}

HRESULT Surface::flip()
{
    if (device_->takeStillDrawing()) return DDERR_WASSTILLDRAWING;
    if (!backBuffer_) return DDERR_GENERIC;
    if (isLost() || backBuffer_->isLost()) return DDERR_SURFACELOST;
    if (locked_ || backBuffer_->locked_) return DDERR_SURFACEBUSY;
    pixels_.swap(backBuffer_->pixels_);
    pixelsChanged();
    backBuffer_->pixelsChanged();
    return DD_OK;
}

}  // namespace ib
