// The platform on a real desktop, through SDL2: a full-screen window with an
// 800 x 600 logical size, letterboxed and scaled without smoothing; the
// front buffer is shown through one streaming texture. Pads come through
// SDL's game controllers (platform/sdl_pads.h).
#pragma once

#include <memory>

#include "platform/input_names.h"
#include "platform/platform.h"
#include "platform/sdl_sound.h"

namespace ib {

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

    void setPadSetup(const PadSetup& setup) override;
    std::string padName(int pad) const override;

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
