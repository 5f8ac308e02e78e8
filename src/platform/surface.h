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

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/display_types.h"

namespace ib {

class Surface;

class DisplayDevice : public std::enable_shared_from_this<DisplayDevice> {
public:
    // Always held by shared_ptr: surfaces keep their device alive.
    DisplayDevice() = default;
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    // Makes an off-screen surface; sides must be 1..kMaxSurfaceSide.
    HRESULT createSurface(int width, int height, std::shared_ptr<Surface>& out);

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
    Surface(std::shared_ptr<DisplayDevice> device, int width, int height);

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
    std::uint16_t* data() { return pixels_.data(); }
    const std::uint16_t* data() const { return pixels_.data(); }
    std::uint16_t pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    DisplayDevice& device() const { return *device_; }

private:
    // Shared checks of blt and bltFast: injected answers, lost surfaces.
    HRESULT preflight(Surface& src);

    std::shared_ptr<DisplayDevice> device_;
    int width_;
    int height_;
    std::uint64_t generation_;
    std::vector<std::uint16_t> pixels_;
    bool locked_ = false;
    bool hasColorKey_ = false;
    std::uint16_t colorKey_ = 0;
    std::shared_ptr<Surface> backBuffer_;
};

}  // namespace ib
