// The platform on a real desktop, through SDL2: a full-screen window with an
// 800 x 600 logical size, letterboxed and scaled without smoothing; the
// front buffer is shown through one streaming texture.
#pragma once

#include <memory>

#include "platform/platform.h"
#include "platform/sdl_sound.h"

namespace ib {

// The code every key without a virtual-key code of its own is given; the
// fight's key map leaves it alone.
constexpr int kVirtualKeyOther = 0xFF;

// The virtual-key code of an SDL scancode (a physical key position). Every
// scancode has one, so every key press reaches the game.
int virtualKeyFromScancode(int scancode);

class SdlPlatform : public Platform {
public:
    SdlPlatform();
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    bool createWindow(const char* title) override;
    void showWindow() override;
    void destroyWindow() override;

    HRESULT directDrawCreate(std::shared_ptr<DisplayDevice>& out) override;
    HRESULT setCooperativeLevel() override;
    HRESULT setDisplayMode(int width, int height, int bitsPerPixel) override;
    HRESULT createPrimarySurface(DisplayDevice& device, std::shared_ptr<Surface>& out) override;
    HRESULT getAttachedSurface(Surface& primary, std::shared_ptr<Surface>& out) override;
    void releaseDisplay() override;
    void presentFrame(const Surface& front) override;

    bool peekMessage() override;
    void waitMessage() override;

    std::uint32_t timeGetTime() override;
    void sleep(std::uint32_t ms) override;

    Sound& sound() override { return *sound_; }

    void messageBox(const std::string& text, const char* caption) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::unique_ptr<SdlSound> sound_ = std::make_unique<SdlSound>();
};

}  // namespace ib
