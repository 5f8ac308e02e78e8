// A fight watched from another machine: this side greets the host's door
// for spectators, takes the confirmed inputs of both players from step 0
// on and runs the fight from them about a second (kWatchBehindSteps)
// behind the newest step it has. A spectator that comes late, or falls
// far behind, runs what it lacks at once (fast-forward). At the end the
// fight's last hash must be the host's.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fight/fight_step.h"
#include "net/net_link.h"
#include "net/step_bits.h"
#include "net/watch_packet.h"

namespace ib::net {

constexpr std::int64_t kWatchBehindSteps = 60;
// Steps run at once in one update while catching up, at most.
constexpr std::int64_t kFastForwardPerUpdate = 2000;

struct WatchConfig {
    std::string address;
    std::uint16_t port = 0;
    std::string gameVersion;
    std::uint64_t content = 0;
    LineImpairment line;
    // For a fight of fighters chosen online: this side's fingerprints of
    // them, and the fight set up with them (as the players' NetPlayConfig).
    ContentLookUp lookUp;
    std::function<FightState(const AgreedChoice&, FightRules&)> makeFight;
};

enum class WatchPhase { Connecting, Watching, Over };

class WatchSession {
public:
    // `made` is the fight as the game sets it up, before it begins.
    WatchSession(const WatchConfig& config, const FightState& made, const FightRules& rules);

    bool open();
    // Packets in and out and the steps whose time has come; never waits.
    void update(std::uint32_t nowMs);
    void close();

    WatchPhase phase() const { return phase_; }
    // What went wrong, or what is happening; empty while all is well.
    const std::string& status() const { return status_; }
    bool failed() const { return failed_; }

    const FightState& fight() const { return fight_; }
    std::int64_t stepsRun() const { return static_cast<std::int64_t>(run_); }
    std::int64_t stepsReceived() const { return static_cast<std::int64_t>(inputs_.size()); }
    // The steps the fight had when this side came in.
    std::int64_t joinedAt() const { return joinedAt_; }
    // Steps run at once to catch up.
    std::int64_t fastForwarded() const { return fastForwarded_; }
    std::uint64_t lastHash() const;
    std::uint32_t startClock() const { return startClock_; }
    // The fighters and stage chosen online; none for rook v quill.
    const std::optional<AgreedChoice>& agreed() const { return agreed_; }
    const std::vector<StepBitsPair>& inputs() const { return inputs_; }
    // The hashes of every kOnlineHashEvery-th step, for a replay.
    const std::vector<std::pair<std::int64_t, std::uint64_t>>& replayHashes() const { return replayHashes_; }

private:
    void receive(const WatchPacket& p);
    void runSteps(std::uint32_t nowMs);
    void runStep();
    void end(const std::string& why, bool failed);

    WatchConfig config_;
    FightState made_;
    FightRules rules_;
    FightState fight_;
    std::unique_ptr<NetLink> link_;
    WatchPhase phase_ = WatchPhase::Connecting;
    std::string status_;
    bool failed_ = false;
    bool greeted_ = false;
    bool started_ = false;
    std::uint32_t startClock_ = 0;
    std::optional<AgreedChoice> agreed_;
    std::int64_t joinedAt_ = -1;
    std::vector<StepBitsPair> inputs_;
    std::size_t run_ = 0;
    std::int64_t fastForwarded_ = 0;
    std::vector<std::pair<std::int64_t, std::uint64_t>> replayHashes_;
    std::int64_t endSteps_ = -1;
    std::uint64_t endHash_ = 0;
    bool caughtUp_ = false;
    std::uint32_t anchorMs_ = 0;   // the clock when step anchorStep_ was due
    std::int64_t anchorStep_ = 0;
    std::uint32_t openedAt_ = 0;
    bool opened_ = false;
    std::uint32_t heardAt_ = 0;
    std::uint32_t ackedAt_ = 0;
};

}  // namespace ib::net
