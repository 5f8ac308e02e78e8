// An online fight on this machine: the connection, the greeting, the
// rollback session, the steps paced by the machine's clock, time sync,
// the desync check and the connection's health. The game and inkblot-sim
// call update() every turn of their loop; it never waits for a packet.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/choice_check.h"
#include "net/net_link.h"
#include "net/packet.h"
#include "net/rollback_session.h"

namespace ib::net {

// Each side sends the hash of every this many confirmed steps.
constexpr std::int64_t kHashEvery = 30;
constexpr std::uint32_t kUnstableMs = 1000;
constexpr std::uint32_t kLostMs = 3000;
// A replay of the fight holds the hash of every this many steps.
constexpr std::int64_t kOnlineHashEvery = 60;

struct NetPlayConfig {
    bool hosting = true;
    std::string address;        // the host to join
    std::string bindAddress;    // where the host listens ("" for everywhere)
    std::uint16_t port = kDefaultPort;
    int inputDelay = kDefaultInputDelay;
    LineImpairment line;
    std::string gameVersion;
    std::uint64_t content = 0;  // the content's fingerprint
    std::uint32_t seed = 0;     // the host's, for the fight's start
    // This side's choice: its fighter, and the host's stage. With no
    // fighter named none is said, and the fight is the one made.
    Choice choice;
    ContentLookUp lookUp;
    // The fight of the choice both sides agreed on, set up before it
    // begins, and the rules it is fought by.
    std::function<FightState(const AgreedChoice&, FightRules&)> makeFight;
    std::int64_t maxSteps = -1; // stop after this many steps (-1: when the fight ends)
    std::string desyncFolder = ".";  // where a desync's report goes
    bool keepFrames = false;         // the game draws the steps it runs
    // For tests only: the clock a step runs at, from the step and the
    // clock it should have (a way to make one side go out of sync).
    std::function<std::uint32_t(std::int64_t, std::uint32_t)> clockHook;
    // For tests only: changes each packet before it is sent (a way to
    // forge one).
    std::function<void(Packet&)> beforeSend;
};

enum class NetPhase { Waiting, Fighting, Over };

class NetPlay {
public:
    // `made` is the fight as the game sets it up, before it begins.
    NetPlay(const NetPlayConfig& config, const FightState& made, const FightRules& rules);

    // Opens the connection; false with error() set when it cannot.
    bool open();
    // Runs what is due at `nowMs` (the machine's clock): packets in and
    // out, and the steps whose time has come with `local` as the local
    // player's buttons. `sounds` gets their sounds (never those of a step
    // run again); with `keepFrames`, the session's frame() is the last new
    // step's, to be drawn.
    void update(std::uint32_t nowMs, StepBits local, SoundEvents* sounds = nullptr);
    void close();

    NetPhase phase() const { return phase_; }
    // What the screen says now: waiting, connecting, unstable, lost, out of
    // sync, refused; empty while all is well.
    const std::string& status() const { return status_; }
    const std::string& error() const { return status_; }
    // The fight is over but the other side's state for the desync report
    // may still come: keep calling update().
    bool reporting() const { return reportUntil_ != 0; }
    // True when the fight ended because of the line or a mismatch.
    bool failed() const { return failed_; }
    std::uint16_t port() const { return link_ ? link_->port() : 0; }

    const RollbackSession* session() const { return session_.get(); }
    std::uint32_t roundTripMs() const { return rttMs_; }
    std::uint32_t roundTripMinMs() const { return rttMin_; }
    std::uint32_t roundTripMaxMs() const { return rttMax_; }
    std::uint64_t bytesSent() const { return link_ ? link_->bytesSent() : 0; }
    std::uint32_t fightStartMs() const { return startMs_; }
    std::uint32_t seed() const { return seed_; }
    // The fighters and stage fought with; nothing when the fight is the
    // one made (a side without a choice).
    const std::optional<AgreedChoice>& agreed() const { return agreed_; }
    // The inputs of both players of every step run with both known.
    const std::vector<StepBitsPair>& confirmedInputs() const { return confirmed_; }
    // All steps asked for are run with both players' inputs known.
    bool finished() const;
    // The hashes of every kOnlineHashEvery-th confirmed step, for a replay.
    const std::vector<std::pair<std::int64_t, std::uint64_t>>& replayHashes() const { return replayHashes_; }
    // The clock the fight's steps count from.
    std::uint32_t startClock() const { return startClock_; }
    std::int64_t hashesCompared() const { return hashesCompared_; }
    std::int64_t waits() const { return waits_; }
    // Packets from the other player dropped whole: unreadable, or holding
    // a number that cannot be true (an acknowledgement of steps never
    // sent, a step out of reach, an echo from the future).
    std::int64_t rejectedPackets() const { return rejected_; }
    // Machines turned away at the host's door.
    std::int64_t strangersDropped() const { return link_ ? link_->strangersDropped() : 0; }

private:
    void receive(const Packet& p, std::uint32_t nowMs);
    void greet(const Hello& theirs, std::uint32_t nowMs);
    void refuse(const std::string& why, bool tell);
    std::string agree(FightState& start);
    void sendPacket(std::uint8_t channel, Packet p, std::uint32_t nowMs);
    void runDueSteps(std::uint32_t nowMs, StepBits local, SoundEvents* sounds);
    void sendInputs(std::uint32_t nowMs);
    void exchangeHashes(std::uint32_t nowMs);
    void compareHash(std::int64_t step, std::uint32_t nowMs);
    void appendTheirState();
    void syncTime(std::uint32_t nowMs);
    bool possible(const Inputs& in, std::uint32_t nowMs) const;
    bool hashableStep(std::uint32_t step) const;
    void end(const std::string& why, bool failed);
    std::string writeDesyncReport(std::int64_t step, std::uint64_t theirs);

    NetPlayConfig config_;
    FightState made_;
    FightRules rules_;
    std::unique_ptr<NetLink> link_;
    std::unique_ptr<RollbackSession> session_;
    NetPhase phase_ = NetPhase::Waiting;
    std::string status_;
    bool failed_ = false;
    bool greeted_ = false;
    std::optional<Choice> theirChoice_;
    std::map<std::size_t, Choice> strangerChoices_;  // by the stranger's place at the door
    std::optional<AgreedChoice> agreed_;
    std::uint32_t seed_ = 0;
    std::uint32_t startMs_ = 0;       // when step 0 began on this machine
    std::uint32_t lastHeardMs_ = 0;
    std::uint32_t rttMs_ = 0;
    std::uint32_t rttMin_ = UINT32_MAX, rttMax_ = 0;
    std::uint32_t lastStamp_ = 0;     // the other side's last stamp
    std::uint32_t lastStampAt_ = 0;   // when it came
    std::int64_t remoteAck_ = 0;      // steps of ours the other side has
    std::int64_t remoteStep_ = 0;     // the other side's next step, as it said
    std::uint32_t remoteStepAt_ = 0;  // when it said it
    std::optional<std::uint32_t> aheadSince_;
    std::int64_t waits_ = 0;
    std::vector<StepBits> localLog_;  // every local input, by step
    std::vector<StepBitsPair> confirmed_;
    std::vector<std::pair<std::int64_t, std::uint64_t>> replayHashes_;
    std::uint32_t startClock_ = 0;
    std::int64_t hashedThrough_ = -1;
    std::map<std::int64_t, std::uint64_t> ourHashes_, theirHashes_;
    std::map<std::int64_t, FightState> ourStates_;  // at the steps hashed
    std::int64_t hashesCompared_ = 0;
    std::int64_t hashesSettled_ = -1;  // the last step whose hashes agreed
    std::int64_t rejected_ = 0;
    std::optional<std::uint32_t> openedAt_;  // the first update's clock
    std::uint32_t firstStamp_ = 0;     // the first stamp sent
    std::uint32_t lastSendMs_ = 0;
    // After a desync: the report, and until when the other side's fight
    // is awaited for it (0: not awaited).
    std::string reportFile_;
    bool reportWritten_ = false;
    std::string theirState_;
    std::uint32_t reportUntil_ = 0;
};

}  // namespace ib::net
