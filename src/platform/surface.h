// Off-screen and on-screen pictures in the display's 16-bit format, held in
// memory, and the blitter that copies between them.
//
// Every surface belongs to a DisplayDevice. The device can "lose" its
// surfaces (the SDL backend does so when the renderer resets, the headless
// backend when a script asks): a lost surface answers DDERR_SURFACELOST to
// blits, flips and locks until restore() is called on it, and restore()
// leaves its pixels black, so the game has to reload what it showed.
// The device can also be told to answer DDERR_WASSTILLDRAWING to the next
// N blits or flips, as a busy display would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/display_types.h"

namespace ib {

class Surface;

// What a new surface holds: black, or nothing in particular, for a caller
// that writes every pixel before anything reads it (a picture being loaded).
enum class NewPixels { Black, Unset };

// Blocks for large buffers that are written before they are read (pixels,
// hit-mask planes): from kPrefaultedBlockBytes on, the system puts all of a
// block's pages in place at once, which costs far less than taking them
// one page fault at a time.
constexpr std::size_t kPrefaultedBlockBytes = 16 * 1024;
void* allocateBlock(std::size_t bytes);
void freeBlock(void* block, std::size_t bytes) noexcept;

// Allocates such blocks and leaves the elements unset: vector(n) and
// resize(n) do not clear them.
template <class T>
struct UnsetAllocator {
    using value_type = T;
    UnsetAllocator() = default;
    template <class U>
    UnsetAllocator(const UnsetAllocator<U>&) noexcept
    {
    }
    T* allocate(std::size_t n) { return static_cast<T*>(allocateBlock(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { freeBlock(p, n * sizeof(T)); }
    template <class U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    friend bool operator==(const UnsetAllocator&, const UnsetAllocator&) { return true; }
};

class DisplayDevice : public std::enable_shared_from_this<DisplayDevice> {
public:
    // Always held by shared_ptr: surfaces keep their device alive.
    DisplayDevice() = default;
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    // Makes an off-screen surface; sides must be 1..kMaxSurfaceSide.
    HRESULT createSurface(int width, int height, std::shared_ptr<Surface>& out,
                          NewPixels pixels = NewPixels::Black);

    // Every surface made so far becomes lost.
    void loseSurfaces() { ++generation_; }
    // The next n blits or flips answer DDERR_WASSTILLDRAWING.
    void stillDrawing(int n) { stillDrawing_ += n; }

    std::uint64_t generation() const { return generation_; }

    // Called by every blit and flip before it does anything: consumes one
    // injected still-drawing answer if there is one.
    bool takeStillDrawing()
    {
        if (stillDrawing_ <= 0) return false;
        --stillDrawing_;
        return true;
    }

    PixelFormat pixelFormat() const { return PixelFormat{}; }

private:
    std::uint64_t generation_ = 1;
    int stillDrawing_ = 0;
};

class Surface {
public:
    // Use DisplayDevice::createSurface; public for make_shared.
    Surface(std::shared_ptr<DisplayDevice> device, int width, int height,
            NewPixels pixels = NewPixels::Black);

    int width() const { return width_; }
    int height() const { return height_; }
    // Row length in bytes.
    std::int32_t pitch() const { return width_ * 2; }

    bool isLost() const { return generation_ != device_->generation(); }
    // Brings a lost surface back; its pixels are black afterwards.
    HRESULT restore();

    // Whole-surface lock. Fails with DDERR_SURFACELOST on a lost surface,
    // DDERR_SURFACEBUSY when already locked.
    HRESULT lock(std::uint16_t*& pixels, std::int32_t& pitchBytes);
    HRESULT unlock();

    HRESULT getPixelFormat(PixelFormat& out) const;

    // Source colour key for DDBLTFAST_SRCCOLORKEY / DDBLT_KEYSRC copies.
    void setColorKey(std::uint16_t key)
    {
        if (!hasColorKey_ || key != colorKey_) runs_.valid = false;
        colorKey_ = key;
        hasColorKey_ = true;
    }
    bool hasColorKey() const { return hasColorKey_; }
    std::uint16_t colorKey() const { return colorKey_; }

    // Copies srcRect of src to (x, y) of this surface, the same size.
    // Refused (DDERR_INVALIDRECT) when a rectangle is empty or does not lie
    // wholly inside its surface.
    HRESULT bltFast(int x, int y, Surface& src, const Rect& srcRect, std::uint32_t trans);

    // Copies srcRect of src to dstRect of this surface. Both must have the
    // same size (nothing is stretched) and lie wholly inside their surfaces.
    // flags: DDBLT_KEYSRC for the source colour key, DDBLT_DDFX with
    // fx->dwDDFX = DDBLTFX_MIRRORLEFTRIGHT for a left-right mirrored copy.
    HRESULT blt(const Rect& dstRect, Surface& src, const Rect& srcRect, std::uint32_t flags,
                const BltFx* fx);

    // The primary surface's flip: swaps the pixels of this surface with its
    // attached back buffer.
    HRESULT flip();
    void attachBackBuffer(std::shared_ptr<Surface> back) { backBuffer_ = std::move(back); }
    const std::shared_ptr<Surface>& attachedBackBuffer() const { return backBuffer_; }

    // Direct access for code that has already checked the surface (drawing
    // text, screenshots, tests). Row y starts at data() + y * width().
    // Writing access: pixels written through it must be written before the
    // next copy from this surface (the copy's record of where the picture is
    // opaque is made again after every call of this one).
    std::uint16_t* data()
    {
        pixelsChanged();
        return pixels_.data();
    }
    const std::uint16_t* data() const { return pixels_.data(); }
    std::uint16_t pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    DisplayDevice& device() const { return *device_; }

    // The columns of each row that are not the colour key, as keyed copies
    // see them: row y's runs are runs()[rowStart[y] .. rowStart[y + 1]).
    // Made on the first keyed copy after the pixels or the key changed.
    struct Run {
        std::uint16_t begin, end;  // columns [begin, end), never empty
    };
    struct OpaqueRuns {
        bool valid = false;
        std::vector<std::uint32_t> rowStart;
        std::vector<Run> runs;
    };
    const OpaqueRuns& opaqueRuns();

    // What the drawing code last drew into this surface, in its own words,
    // so that it need not draw the same again; forgotten as soon as the
    // pixels change in any way (lock, a copy into it, restore, flip, data()).
    void setDrawnTag(std::string tag) { drawnTag_ = std::move(tag); }
    const std::string& drawnTag() const { return drawnTag_; }

private:
    void pixelsChanged()
    {
        runs_.valid = false;
        drawnTag_.clear();
    }
    // Shared checks of blt and bltFast: injected answers, lost surfaces.
    HRESULT preflight(Surface& src);
    // A keyed copy of srcRect of src (another surface) to (x, y), run by run.
    void copyKeyed(Surface& src, const Rect& srcRect, int x, int y, bool mirrored);

    std::shared_ptr<DisplayDevice> device_;
    int width_;
    int height_;
    std::uint64_t generation_;
    std::vector<std::uint16_t, UnsetAllocator<std::uint16_t>> pixels_;
    bool locked_ = false;
    bool hasColorKey_ = false;
    std::uint16_t colorKey_ = 0;
    OpaqueRuns runs_;
    std::string drawnTag_;
    std::shared_ptr<Surface> backBuffer_;
};

}  // namespace ib
