#include "platform/headless_platform.h"

#include <cstdio>
#include <utility>

namespace ib {

HeadlessPlatform::HeadlessPlatform(std::uint32_t startMs, std::uint32_t stepMs)
    : clock_(startMs), step_(stepMs), passStart_(startMs)
{
}

void HeadlessPlatform::setScript(std::vector<ScriptEvent> events)
{
    script_ = std::move(events);
    nextEvent_ = 0;
}

bool HeadlessPlatform::createWindow(const char*)
{
    if (fails(DisplayStep::Window)) {
        std::fputs("Inkblot Fighter: the window could not be created\n", stderr);
        return false;
    }
    return true;
}

HRESULT HeadlessPlatform::directDrawCreate(std::shared_ptr<DisplayDevice>& out)
{
    out.reset();
    if (fails(DisplayStep::Create)) return DDERR_GENERIC;
    out = std::make_shared<DisplayDevice>();
    device_ = out;
    displayHeld_ = true;
    return DD_OK;
}

HRESULT HeadlessPlatform::setCooperativeLevel()
{
    return fails(DisplayStep::Cooperative) ? DDERR_GENERIC : DD_OK;
}

HRESULT HeadlessPlatform::setDisplayMode(int, int, int)
{
    return fails(DisplayStep::Mode) ? DDERR_GENERIC : DD_OK;
}

HRESULT HeadlessPlatform::createPrimarySurface(DisplayDevice& device, std::shared_ptr<Surface>& out)
{
    out.reset();
    if (fails(DisplayStep::Surface)) return DDERR_OUTOFMEMORY;
    return device.createSurface(kScreenWidth, kScreenHeight, out);
}

HRESULT HeadlessPlatform::getAttachedSurface(Surface& primary, std::shared_ptr<Surface>& out)
{
    out.reset();
    if (fails(DisplayStep::Attach)) return DDERR_GENERIC;
    HRESULT r = primary.device().createSurface(primary.width(), primary.height(), out);
    if (r == DD_OK) primary.attachBackBuffer(out);
    return r;
}

void HeadlessPlatform::apply(const ScriptEvent& e)
{
    using K = ScriptEvent::Kind;
    switch (e.kind) {
    case K::KeyDown: postMessage({WM_KEYDOWN, static_cast<std::uint32_t>(e.value)}); break;
    case K::KeyUp: postMessage({WM_KEYUP, static_cast<std::uint32_t>(e.value)}); break;
    case K::Minimize: postMessage({WM_ACTIVATE, kActivateMinimized}); break;
    case K::Restore: postMessage({WM_ACTIVATE, 1}); break;
    case K::Close: postMessage({WM_CLOSE, 0}); break;
    case K::LoseSurfaces:
        if (auto d = device_.lock()) d->loseSurfaces();
        break;
    case K::StillDrawing:
        if (auto d = device_.lock()) d->stillDrawing(e.value);
        break;
    case K::PadAdded: postMessage({WM_PADADDED, static_cast<std::uint32_t>(e.value)}); break;
    case K::PadRemoved: postMessage({WM_PADREMOVED, static_cast<std::uint32_t>(e.value)}); break;
    case K::PadDown: postMessage({WM_PADBUTTONDOWN, static_cast<std::uint32_t>(e.value)}); break;
    case K::PadUp: postMessage({WM_PADBUTTONUP, static_cast<std::uint32_t>(e.value)}); break;
    case K::PadAxis: postMessage({WM_PADAXIS, static_cast<std::uint32_t>(e.value)}); break;
    }
}

void HeadlessPlatform::takeDueEvents()
{
    // Times are compared as signed differences so the clock may wrap.
    while (nextEvent_ < script_.size() &&
           static_cast<std::int32_t>(clock_ - script_[nextEvent_].time) >= 0)
        apply(script_[nextEvent_++]);
}

bool HeadlessPlatform::peekMessage()
{
    takeDueEvents();
    return !queue_.empty();
}

void HeadlessPlatform::waitMessage()
{
    takeDueEvents();
    if (!queue_.empty()) return;
    if (nextEvent_ >= script_.size()) {
        // Nothing will ever wake the game again: end the run.
        postQuitMessage(0);
        return;
    }
    // Minimised: time passes until the next scripted event.
    std::uint32_t next = script_[nextEvent_].time;
    if (static_cast<std::int32_t>(next - clock_) > 0) clock_ = next;
    takeDueEvents();
}

void HeadlessPlatform::messageBox(const std::string& text, const char*)
{
    messageBoxes_.push_back(text);
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool HeadlessPlatform::endPass()
{
    ++passes_;
    bool go = onPassEnd ? onPassEnd() : true;
    clock_ += step_;
    return go && passes_ < maxPasses_;
}

}  // namespace ib
