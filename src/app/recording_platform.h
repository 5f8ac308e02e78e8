// Records a replay of the session while it plays, wrapped around the
// machine's platform, so the main loop never knows: every message the game
// takes from the machine, the clock reading of every pass, and the fight's
// hash every kReplayHashEvery passes and after the last one.
#pragma once

#include <iosfwd>

#include "app/replay_recorder.h"
#include "platform/platform.h"

namespace ib {

struct Game;

class RecordingPlatform : public Platform {
public:
    RecordingPlatform(Platform& machine, std::ostream& out) : machine_(machine), recorder_(out) {}

    // The game recorded; set before it runs.
    void watch(const Game& game) { game_ = &game; }
    // The session is over: the last pass's hash and the end line.
    void finish();

    bool createWindow(const char* title) override { return machine_.createWindow(title); }
    void showWindow() override { machine_.showWindow(); }
    void destroyWindow() override { machine_.destroyWindow(); }
    HRESULT directDrawCreate(std::shared_ptr<DisplayDevice>& out) override { return machine_.directDrawCreate(out); }
    HRESULT setCooperativeLevel() override { return machine_.setCooperativeLevel(); }
    HRESULT setDisplayMode(int w, int h, int bits) override { return machine_.setDisplayMode(w, h, bits); }
    HRESULT createPrimarySurface(DisplayDevice& device, std::shared_ptr<Surface>& out) override
    {
        return machine_.createPrimarySurface(device, out);
    }
    HRESULT getAttachedSurface(Surface& primary, std::shared_ptr<Surface>& out) override
    {
        return machine_.getAttachedSurface(primary, out);
    }
    void releaseDisplay() override { machine_.releaseDisplay(); }
    void presentFrame(const Surface& front) override { machine_.presentFrame(front); }
    void messageBox(const std::string& text, const char* caption) override { machine_.messageBox(text, caption); }
    Sound& sound() override { return machine_.sound(); }
    void setPadSetup(const PadSetup& setup) override { machine_.setPadSetup(setup); }
    std::string padName(int pad) const override { return machine_.padName(pad); }
    std::uint32_t timeGetTime() override { return machine_.timeGetTime(); }
    void sleep(std::uint32_t ms) override { machine_.sleep(ms); }

    bool peekMessage() override;
    void waitMessage() override;
    void beginPass() override;
    bool endPass() override;

protected:
    void taken(const Message& m, bool own) override;

private:
    // Moves the machine's waiting messages behind those already here, in
    // the order it gave them: the queue is the one the game would have had.
    void takeMachineMessages();

    Platform& machine_;
    ReplayRecorder recorder_;
    const Game* game_ = nullptr;
    // The pass running: whether it is a fight pass, and the clock when it
    // began.
    bool fightPass_ = false;
    std::uint32_t began_ = 0;
};

}  // namespace ib
