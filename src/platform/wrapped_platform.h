// A platform around another one, passing everything through; the replay's
// recorder and its player derive from it and take over only what they
// change (the messages, the clock, the passes).
#pragma once

#include "platform/platform.h"

namespace ib {

class WrappedPlatform : public Platform {
public:
    explicit WrappedPlatform(Platform& inner) : inner_(inner) {}

    bool createWindow(const char* title) override { return inner_.createWindow(title); }
    void showWindow() override { inner_.showWindow(); }
    void destroyWindow() override { inner_.destroyWindow(); }
    HRESULT directDrawCreate(std::shared_ptr<DisplayDevice>& out) override { return inner_.directDrawCreate(out); }
    HRESULT setCooperativeLevel() override { return inner_.setCooperativeLevel(); }
    HRESULT setDisplayMode(int w, int h, int bits) override { return inner_.setDisplayMode(w, h, bits); }
    HRESULT createPrimarySurface(DisplayDevice& device, std::shared_ptr<Surface>& out) override
    {
        return inner_.createPrimarySurface(device, out);
    }
    HRESULT getAttachedSurface(Surface& primary, std::shared_ptr<Surface>& out) override
    {
        return inner_.getAttachedSurface(primary, out);
    }
    void releaseDisplay() override { inner_.releaseDisplay(); }
    void presentFrame(const Surface& front) override { inner_.presentFrame(front); }
    void messageBox(const std::string& text, const char* caption) override { inner_.messageBox(text, caption); }
    Sound& sound() override { return inner_.sound(); }
    void setPadSetup(const PadSetup& setup) override { inner_.setPadSetup(setup); }
    std::string padName(int pad) const override { return inner_.padName(pad); }
    bool peekMessage() override { return inner_.peekMessage(); }
    void waitMessage() override { inner_.waitMessage(); }
    std::uint32_t timeGetTime() override { return inner_.timeGetTime(); }
    void sleep(std::uint32_t ms) override { inner_.sleep(ms); }
    void beginPass() override { inner_.beginPass(); }
    bool endPass() override { return inner_.endPass(); }

protected:
    Platform& inner_;
};

}  // namespace ib
