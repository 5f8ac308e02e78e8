// Plays a replay back to the game. The replay gives the clock of every pass
// and the messages the machine gave before it; the platform it wraps shows
// the frames (a window, or nothing for inkblot-sim). After every pass that
// has a recorded hash the fight is compared with it. Paced, each pass waits
// until its recorded time has come; Escape or a close request from the
// wrapped platform stops the playback, and its other keys are ignored.
#pragma once

#include <cstdint>
#include <string>

#include "input/replay_file.h"
#include "platform/wrapped_platform.h"

namespace ib {

struct Game;

class ReplayPlatform : public WrappedPlatform {
public:
    ReplayPlatform(Platform& display, const Replay& replay, bool paced);

    // The game played back; its content is checked before the first pass.
    void watch(const Game& game) { game_ = &game; }

    enum class Outcome { Playing, Done, Stopped, Diverged, OtherContent };
    Outcome outcome() const { return outcome_; }
    std::uint32_t passesPlayed() const { return cursor_.passesTaken(); }
    // After the game has run: "replay diverged at pass N", "replay was
    // recorded with other content", or empty when it played as recorded
    // (or was stopped).
    std::string problem() const;

    // Pads are the replay's: the wrapped platform's are not asked.
    void setPadSetup(const PadSetup&) override {}
    std::string padName(int) const override { return {}; }

    bool peekMessage() override;
    void waitMessage() override;
    // The recorded reading of the pass that runs (or ran last).
    std::uint32_t timeGetTime() override { return cursor_.clock(); }
    void sleep(std::uint32_t ms) override;
    void beginPass() override;
    bool endPass() override;

private:
    // Takes the wrapped platform's messages: Escape and close stop the
    // playback, everything else is dropped.
    void takeDisplayMessages();
    // Ends the playback: the game is asked to close.
    void stop(Outcome why, std::uint32_t pass = 0);
    // Paced: waits until the next pass is due. False when stopped meanwhile.
    bool waitForNextPass();

    const Replay& replay_;
    ReplayCursor cursor_;
    const bool paced_;
    const Game* game_ = nullptr;
    bool contentChecked_ = false;
    bool displayEnded_ = false;  // the wrapped platform ended the run
    Outcome outcome_ = Outcome::Playing;
    std::uint32_t divergedAt_ = 0;
    std::size_t nextHash_ = 0;
    std::size_t nextContent_ = 0;
    // Pacing: the wrapped clock when the first pass ran, and the recorded
    // time from the first pass to the next one.
    bool paceStarted_ = false;
    std::uint32_t realStart_ = 0;
    std::uint64_t recordedSinceStart_ = 0;
};

}  // namespace ib
