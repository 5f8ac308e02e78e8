#include "net/watch_session.h"

#include <algorithm>

#include "content/content_error.h"
#include "net/hex_text.h"
#include "net/net_play.h"

namespace ib::net {

namespace {

// A spectator that has not met the host this long after asking gives up.
constexpr std::uint32_t kMeetTimeoutMs = 5000;
// The steps it has are acknowledged this often.
constexpr std::uint32_t kAckEveryMs = 50;

}  // namespace

WatchSession::WatchSession(const WatchConfig& config, const FightState& made, const FightRules& rules)
    : config_(config), made_(made), rules_(rules), fight_(made)
{
}

bool WatchSession::open()
{
    std::string error;
    link_ = NetLink::join(config_.address, config_.port, config_.line, error);
    if (!link_) {
        end(error, true);
        return false;
    }
    status_ = "connecting to " + config_.address + ":" + std::to_string(config_.port);
    return true;
}

void WatchSession::close()
{
    if (link_) link_->close();
}

void WatchSession::end(const std::string& why, bool failed)
{
    phase_ = WatchPhase::Over;
    status_ = why;
    failed_ = failed;
    close();
}

std::uint64_t WatchSession::lastHash() const { return hashFight(fight_); }

void WatchSession::update(std::uint32_t nowMs)
{
    if (!link_ || phase_ == WatchPhase::Over) return;
    if (!opened_) {
        opened_ = true;
        openedAt_ = nowMs;
    }
    std::vector<Received> in;
    link_->poll(nowMs, in);
    for (const Received& r : in) {
        std::string why;
        const std::optional<WatchPacket> p = decodeWatchPacket(r.bytes, why);
        if (!p) return end("the host sent " + why, true);
        heardAt_ = nowMs;
        receive(*p);
        if (phase_ == WatchPhase::Over) return;
    }
    const std::string where = config_.address + ":" + std::to_string(config_.port);
    if (!greeted_ && link_->connected()) {
        link_->send(kReliableChannel, encodeWatchPacket(WatchHello{config_.gameVersion, config_.content}), nowMs);
        greeted_ = true;
        heardAt_ = nowMs;
    }
    if (link_->disconnected() && endSteps_ < 0)
        return end(started_ ? "the host is gone" : "no answer from " + where, true);
    if (!greeted_ && nowMs - openedAt_ > kMeetTimeoutMs) return end("no answer from " + where, true);
    // Steps come every few milliseconds during the fight; before it, the
    // host has nothing to say.
    if (started_ && endSteps_ < 0 && nowMs - heardAt_ > kLostMs) return end("the host fell silent", true);
    runSteps(nowMs);
    if (phase_ == WatchPhase::Over) return;
    if (greeted_ && nowMs - ackedAt_ >= kAckEveryMs) {
        link_->send(kInputChannel, encodeWatchPacket(WatchAck{static_cast<std::uint32_t>(inputs_.size())}), nowMs);
        ackedAt_ = nowMs;
    }
}

void WatchSession::receive(const WatchPacket& p)
{
    if (const auto* no = std::get_if<Refusal>(&p)) return end(printableName(no->reason), true);
    if (const auto* start = std::get_if<WatchStart>(&p)) {
        if (started_) return end("the host started the fight twice", true);
        started_ = true;
        if (const auto& chosen = start->fight) {
            if (!config_.makeFight) return end("the players chose their fighters, which this spectator cannot set up", true);
            if (std::string why = agreedFault(*chosen, config_.lookUp); !why.empty()) return end(why, true);
            made_ = config_.makeFight(*chosen, rules_);
            agreed_ = chosen;
        }
        startClock_ = start->startClock;
        joinedAt_ = start->steps;
        fight_ = made_;
        fight_.gameState = GameState::Fight;
        // As on the players' machines: the fight's first pass is at clock 0.
        fight_.currentTime = 0;
        phase_ = WatchPhase::Watching;
        status_.clear();
        return;
    }
    if (const auto* steps = std::get_if<WatchSteps>(&p)) {
        if (!started_) return end("the host sent steps before the fight's start", true);
        if (endSteps_ >= 0) return end("the host sent steps after the fight's end", true);
        if (steps->first != inputs_.size())
            return end("the host's steps jump from " + std::to_string(inputs_.size()) + " to " +
                           std::to_string(steps->first),
                       true);
        inputs_.insert(inputs_.end(), steps->inputs.begin(), steps->inputs.end());
        return;
    }
    if (const auto* e = std::get_if<WatchEnd>(&p)) {
        if (!started_ || e->steps != inputs_.size())
            return end("the host ended the fight at step " + std::to_string(e->steps) + " having sent " +
                           std::to_string(inputs_.size()),
                       true);
        endSteps_ = e->steps;
        endHash_ = e->hash;
        return;
    }
    end("the host sent a packet only a spectator or a player sends", true);
}

void WatchSession::runStep()
{
    const StepBitsPair before = run_ > 0 ? inputs_[run_ - 1] : StepBitsPair{};
    const StepMark mark = beginFightStep(fight_, rules_, stepClock(startClock_, static_cast<std::int64_t>(run_)),
                                         stepInputOf(before, inputs_[run_]), nullptr);
    finishFightStep(fight_, rules_, mark, true, nullptr);
    if ((static_cast<std::int64_t>(run_) + 1) % kOnlineHashEvery == 0)
        replayHashes_.push_back({static_cast<std::int64_t>(run_), hashFight(fight_)});
    ++run_;
}

void WatchSession::runSteps(std::uint32_t nowMs)
{
    if (!started_) return;
    const auto have = static_cast<std::int64_t>(inputs_.size());
    auto ran = static_cast<std::int64_t>(run_);
    if (!caughtUp_) {
        // Until a second's steps wait ahead (or the fight has ended), what
        // is behind that is run at once.
        const std::int64_t target = endSteps_ >= 0 ? have : have - kWatchBehindSteps;
        const std::int64_t stop = std::min(target, ran + kFastForwardPerUpdate);
        for (; ran < stop; ++ran, ++fastForwarded_) runStep();
        if (ran >= target && (endSteps_ >= 0 || have - ran >= kWatchBehindSteps)) {
            caughtUp_ = true;
            anchorStep_ = ran;
            anchorMs_ = nowMs;
        }
    } else {
        const std::int64_t due = anchorStep_ + static_cast<std::int64_t>(nowMs - anchorMs_) * 60 / 1000;
        if (endSteps_ < 0 && have - ran > 3 * kWatchBehindSteps) {
            caughtUp_ = false;  // far behind: catch up again
        } else if (due > have && endSteps_ < 0) {
            while (static_cast<std::int64_t>(run_) < have) runStep();
            caughtUp_ = false;  // nothing left to play: wait for a second's steps
        } else {
            while (static_cast<std::int64_t>(run_) < std::min(due, have)) runStep();
        }
    }
    if (endSteps_ >= 0 && static_cast<std::int64_t>(run_) == endSteps_) {
        if (lastHash() != endHash_)
            return end("out of sync: the fight here ends on hash " + hexText(lastHash()) + ", the host's on " +
                           hexText(endHash_),
                       true);
        end("", false);
    }
}

}  // namespace ib::net
