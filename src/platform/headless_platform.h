// The platform with no window: the display lives in memory and is shown to
// nobody, the clock is virtual, messages come from a script, and the display
// can be told to fail a start-up step or to lose its surfaces.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/recording_sound.h"

namespace ib {

struct ScriptEvent {
    enum class Kind {
        KeyDown, KeyUp, Minimize, Restore, Close, LoseSurfaces, StillDrawing,
        PadAdded, PadRemoved, PadDown, PadUp, PadAxis,
    };
    std::uint32_t time = 0;
    Kind kind = Kind::KeyDown;
    // Virtual-key code, the still-drawing count, or for a pad the message's
    // wParam (padParam).
    int value = 0;
    friend bool operator==(const ScriptEvent&, const ScriptEvent&) = default;
};

class HeadlessPlatform : public Platform {
public:
    explicit HeadlessPlatform(std::uint32_t startMs = 1000, std::uint32_t stepMs = 16);

    // Events in file order; each becomes a waiting message before the first
    // pass that starts with the clock at its time or later.
    void setScript(std::vector<ScriptEvent> events);
    void failStep(DisplayStep step) { failing_ = step; }
    // The run ends after this many passes (endPass answers false).
    void setMaxPasses(long long n) { maxPasses_ = n; }
    // Called after every pass, before the clock moves on; false ends the run.
    std::function<bool()> onPassEnd;

    std::uint32_t clock() const { return clock_; }
    void setClock(std::uint32_t ms) { clock_ = ms; }
    std::uint32_t passStartClock() const { return passStart_; }
    long long passes() const { return passes_; }
    bool windowShown() const { return windowShown_; }
    bool displayHeld() const { return displayHeld_; }
    int framesPresented() const { return framesPresented_; }
    const std::vector<std::string>& messageBoxes() const { return messageBoxes_; }

    bool createWindow(const char* title) override;
    void showWindow() override { windowShown_ = true; }
    void destroyWindow() override { windowShown_ = false; }

    HRESULT directDrawCreate(std::shared_ptr<DisplayDevice>& out) override;
    HRESULT setCooperativeLevel() override;
    HRESULT setDisplayMode(int width, int height, int bitsPerPixel) override;
    HRESULT createPrimarySurface(DisplayDevice& device, std::shared_ptr<Surface>& out) override;
    HRESULT getAttachedSurface(Surface& primary, std::shared_ptr<Surface>& out) override;
    void releaseDisplay() override { displayHeld_ = false; }
    void presentFrame(const Surface&) override { ++framesPresented_; }

    bool peekMessage() override;
    void waitMessage() override;

    std::uint32_t timeGetTime() override { return clock_; }
    void sleep(std::uint32_t ms) override { clock_ += ms; }

    Sound& sound() override { return sound_; }
    RecordingSound& recordingSound() { return sound_; }
    const RecordingSound& recordingSound() const { return sound_; }

    void messageBox(const std::string& text, const char* caption) override;

    void beginPass() override { passStart_ = clock_; }
    bool endPass() override;

private:
    void takeDueEvents();
    void apply(const ScriptEvent& e);
    bool fails(DisplayStep step) const { return failing_ && *failing_ == step; }

    std::uint32_t clock_;
    std::uint32_t step_;
    std::uint32_t passStart_;
    long long passes_ = 0;
    long long maxPasses_ = 100000;
    std::vector<ScriptEvent> script_;
    size_t nextEvent_ = 0;
    std::optional<DisplayStep> failing_;
    std::weak_ptr<DisplayDevice> device_;
    bool windowShown_ = false;
    bool displayHeld_ = false;
    int framesPresented_ = 0;
    std::vector<std::string> messageBoxes_;
    RecordingSound sound_;
};

}  // namespace ib
