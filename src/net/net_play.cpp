#include "net/net_play.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "content/content_error.h"
#include "net/hex_text.h"

namespace ib::net {

namespace {

// Inputs go out at least this often, with steps run or not.
constexpr std::uint32_t kSendEveryMs = 16;
// A fight's clock starts here plus the seed's share, well clear of wrapping.
constexpr std::uint32_t kStartClockBase = 1000;
constexpr std::uint32_t kStartClockSpread = 1u << 20;
// A joining side that has not met the host this long after asking gives up.
constexpr std::uint32_t kJoinTimeoutMs = 5000;
// A stamp echoed back may be this much ahead of the clock by rounding.
constexpr std::uint32_t kEchoSlackMs = 2;

// Another machine's words as the screen shows them: non-printing bytes as
// \xNN; its backslashes are its own escapes and stay.
std::string readable(const std::string& text)
{
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find('\\', from)) != std::string::npos; from = at + 1)
        out += printableName(std::string_view(text).substr(from, at - from)) + "\\";
    return out + printableName(std::string_view(text).substr(from));
}

}  // namespace

NetPlay::NetPlay(const NetPlayConfig& config, const FightState& made, const FightRules& rules)
    : config_(config), made_(made), rules_(rules)
{
}

bool NetPlay::open()
{
    std::string error;
    if (config_.hosting)
        link_ = NetLink::host(config_.bindAddress, config_.port, config_.line, error);
    else
        link_ = NetLink::join(config_.address, config_.port, config_.line, error);
    if (!link_) {
        end(error, true);
        return false;
    }
    status_ = config_.hosting ? "waiting for a player on port " + std::to_string(link_->port())
                              : "connecting to " + config_.address;
    return true;
}

void NetPlay::close()
{
    if (link_) link_->close();
}

bool NetPlay::finished() const
{
    return session_ && config_.maxSteps >= 0 && session_->nextStep() >= config_.maxSteps &&
           session_->confirmedStep() >= config_.maxSteps - 1;
}

void NetPlay::end(const std::string& why, bool failed)
{
    phase_ = NetPhase::Over;
    status_ = why;
    failed_ = failed;
    close();
}

void NetPlay::update(std::uint32_t nowMs, StepBits local, SoundEvents* sounds)
{
    if (!link_ || (phase_ == NetPhase::Over && reportUntil_ == 0)) return;
    if (reportUntil_ != 0 && static_cast<std::int32_t>(nowMs - reportUntil_) > 0) {
        reportUntil_ = 0;  // the other side's fight never came
        close();
        return;
    }
    if (!openedAt_) openedAt_ = nowMs;
    std::vector<Received> in;
    link_->poll(nowMs, in);
    for (const Received& r : in) {
        if (phase_ == NetPhase::Over && reportUntil_ == 0) break;
        std::optional<Packet> p = decodePacket(r.bytes);
        if (!r.fromPlayer) {
            // A stranger at the host's door becomes the player by greeting;
            // the choice it sent before is kept until then.
            if (!p || phase_ != NetPhase::Waiting) continue;
            if (const auto* choice = std::get_if<Choice>(&*p)) {
                strangerChoices_[r.stranger] = *choice;
            } else if (std::holds_alternative<Hello>(*p) && link_->accept(r.stranger)) {
                if (const auto c = strangerChoices_.find(r.stranger); c != strangerChoices_.end())
                    theirChoice_ = c->second;
                strangerChoices_.clear();
                receive(*p, nowMs);
            }
            continue;
        }
        if (!p) {
            ++rejected_;
            continue;
        }
        lastHeardMs_ = nowMs;
        receive(*p, nowMs);
    }
    if (phase_ == NetPhase::Over) return;
    if (phase_ == NetPhase::Waiting) {
        if (!config_.hosting && link_->connected() && !greeted_) {
            // The choice first: a host that does not know it drops it.
            if (!config_.choice.fighter.empty()) sendPacket(kReliableChannel, Packet(config_.choice), nowMs);
            sendPacket(kReliableChannel, Packet(Hello{config_.gameVersion, config_.content, 0}), nowMs);
            greeted_ = true;  // said hello; the host answers with its own
            lastHeardMs_ = nowMs;
        }
        if (!config_.hosting && (link_->disconnected() || nowMs - *openedAt_ > kJoinTimeoutMs))
            end("no answer from " + config_.address, true);
        return;
    }
    // Once every step asked for is settled, the other side may go.
    if (link_->disconnected()) return end(finished() ? "" : "connection lost", !finished());
    runDueSteps(nowMs, local, sounds);
    exchangeHashes(nowMs);
    if (phase_ == NetPhase::Over) return;
    if (nowMs - lastSendMs_ >= kSendEveryMs) sendInputs(nowMs);
    const std::uint32_t silent = nowMs - lastHeardMs_;
    if (silent > kLostMs) return end(finished() ? "" : "connection lost", !finished());
    status_ = silent > kUnstableMs ? "connection is unstable" : "";
}

void NetPlay::receive(const Packet& p, std::uint32_t nowMs)
{
    if (phase_ == NetPhase::Over && !std::holds_alternative<StateText>(p)) return;
    if (const auto* hello = std::get_if<Hello>(&p)) {
        if (phase_ == NetPhase::Waiting) greet(*hello, nowMs);
    } else if (const auto* choice = std::get_if<Choice>(&p)) {
        if (phase_ == NetPhase::Waiting) theirChoice_ = *choice;
    } else if (const auto* no = std::get_if<Refusal>(&p)) {
        end(readable(no->reason), true);
    } else if (const auto* in = std::get_if<Inputs>(&p)) {
        if (phase_ != NetPhase::Fighting) return;
        if (!possible(*in, nowMs)) {
            ++rejected_;
            return;
        }
        remoteAck_ = std::max<std::int64_t>(remoteAck_, in->ack);
        remoteStep_ = in->step;
        remoteStepAt_ = nowMs;
        lastStamp_ = in->stamp;
        lastStampAt_ = nowMs;
        // Smoothed over about eight packets.
        if (in->echo != 0) {
            const std::uint32_t sample =
                static_cast<std::int32_t>(nowMs - in->echo) > 0 ? nowMs - in->echo : 0;
            rttMs_ = rttMs_ == 0 ? sample : (rttMs_ * 7 + sample) / 8;
            rttMin_ = std::min(rttMin_, sample);
            rttMax_ = std::max(rttMax_, sample);
        }
        for (std::size_t i = 0; i < in->inputs.size(); ++i)
            session_->addRemoteInput(static_cast<std::int64_t>(in->first) + static_cast<std::int64_t>(i),
                                     in->inputs[i]);
    } else if (const auto* h = std::get_if<StepHash>(&p)) {
        if (phase_ != NetPhase::Fighting) return;
        if (!hashableStep(h->step) || h->step <= hashesSettled_) {
            ++rejected_;
            return;
        }
        theirHashes_[h->step] = h->hash;
        compareHash(h->step, nowMs);
    } else if (const auto* t = std::get_if<StateText>(&p)) {
        if (!hashableStep(t->step)) {
            ++rejected_;
            return;
        }
        theirState_ = "state there (player " + std::to_string(config_.hosting ? 2 : 1) + ") at step " +
                      std::to_string(t->step) + ":\n" + t->text;
        appendTheirState();
    }
}

bool NetPlay::possible(const Inputs& in, std::uint32_t nowMs) const
{
    // What the other side can have reached: it runs no further than
    // kMaxPrediction steps past the inputs of ours it has, and takes its
    // own inputs at most kSessionRing - 2 steps past that.
    const auto ours = static_cast<std::int64_t>(localLog_.size());
    const std::int64_t theirLast = ours + kSessionRing - 2;
    if (in.ack > ours || in.step > ours + kMaxPrediction) return false;
    if (static_cast<std::int64_t>(in.first) + static_cast<std::int64_t>(in.inputs.size()) > theirLast) return false;
    if (in.echo != 0) {
        // The echo is a stamp of ours sent back: never from before the
        // first one, never from the future.
        if (firstStamp_ == 0 || static_cast<std::int32_t>(in.echo - firstStamp_) < 0 ||
            static_cast<std::int32_t>(nowMs + kEchoSlackMs - in.echo) < 0)
            return false;
    }
    return true;
}

bool NetPlay::hashableStep(std::uint32_t step) const
{
    // Only steps both sides have run with both inputs are hashed.
    return (static_cast<std::int64_t>(step) + 1) % kHashEvery == 0 &&
           static_cast<std::int64_t>(step) < static_cast<std::int64_t>(localLog_.size());
}

void NetPlay::sendPacket(std::uint8_t channel, Packet p, std::uint32_t nowMs)
{
    if (config_.beforeSend) config_.beforeSend(p);
    link_->send(channel, encodePacket(p), nowMs);
}

void NetPlay::refuse(const std::string& why, bool tell)
{
    if (tell) sendPacket(kReliableChannel, Packet(Refusal{why}), 0);
    end(why, true);
}

void NetPlay::greet(const Hello& theirs, std::uint32_t nowMs)
{
    const bool tell = true;
    const std::string& hostVersion = config_.hosting ? config_.gameVersion : theirs.gameVersion;
    const std::string& joinVersion = config_.hosting ? theirs.gameVersion : config_.gameVersion;
    if (hostVersion != joinVersion)
        return refuse("refused: the host's game is version " + printableName(hostVersion) +
                          ", the other player's " + printableName(joinVersion),
                      tell);
    if (theirs.content != config_.content) {
        const std::uint64_t hostContent = config_.hosting ? config_.content : theirs.content;
        const std::uint64_t joinContent = config_.hosting ? theirs.content : config_.content;
        return refuse("refused: the content differs (the host's fingerprint is " + hexText(hostContent) +
                          ", the other player's " + hexText(joinContent) + ")",
                      tell);
    }
    FightState start = made_;
    if (std::string why = agree(start); !why.empty()) return refuse(why, tell);
    if (config_.hosting) {
        seed_ = config_.seed;
        if (agreed_) sendPacket(kReliableChannel, Packet(config_.choice), nowMs);
        sendPacket(kReliableChannel, Packet(Hello{config_.gameVersion, config_.content, seed_}), nowMs);
    } else {
        seed_ = theirs.seed;
    }
    startClock_ = kStartClockBase + seed_ % kStartClockSpread;
    const std::uint32_t startClock = startClock_;
    start.gameState = GameState::Fight;
    // The clock of the fight's first pass is that of a fight begun on the
    // splash screen: 0, so that a replay of it plays back as any other.
    start.currentTime = 0;
    session_ = std::make_unique<RollbackSession>(start, rules_, startClock, config_.hosting ? 1 : 2,
                                                 config_.inputDelay);
    session_->clockHook = config_.clockHook;
    localLog_.assign(static_cast<std::size_t>(session_->localSteps()), 0);
    phase_ = NetPhase::Fighting;
    greeted_ = true;
    startMs_ = nowMs;
    lastHeardMs_ = nowMs;
    status_.clear();
}

std::string NetPlay::agree(FightState& start)
{
    // Either side without a choice: the fight as made (rook v quill on the
    // desert), as a game from before choices fights.
    if (config_.choice.fighter.empty() || !theirChoice_ || !config_.makeFight) return {};
    if (std::string why = choiceFault(*theirChoice_, !config_.hosting, config_.lookUp); !why.empty()) return why;
    const Choice& host = config_.hosting ? config_.choice : *theirChoice_;
    const Choice& joined = config_.hosting ? *theirChoice_ : config_.choice;
    AgreedChoice a;
    a.fighter[0] = host.fighter;
    a.fighter[1] = joined.fighter;
    a.stage = host.stage;
    a.content[0] = host.fighterContent, a.content[1] = joined.fighterContent, a.content[2] = host.stageContent;
    start = config_.makeFight(a, rules_);
    agreed_ = std::move(a);
    return {};
}

void NetPlay::runDueSteps(std::uint32_t nowMs, StepBits local, SoundEvents* sounds)
{
    RollbackSession& s = *session_;
    s.settle();
    const std::int64_t due = static_cast<std::int64_t>(nowMs - startMs_) * 60 / 1000 + 1;
    while (s.nextStep() < due && (config_.maxSteps < 0 || s.nextStep() < config_.maxSteps) &&
           s.fight().gameState == GameState::Fight && s.nextStep() < s.remoteSteps() + kMaxPrediction) {
        const std::int64_t step = s.addLocalInput(local);
        if (step < 0) break;
        localLog_.push_back(local);
        s.advance(sounds, config_.keepFrames);
    }
    for (auto c = static_cast<std::int64_t>(confirmed_.size()); c <= s.confirmedStep(); ++c) {
        confirmed_.push_back(s.inputsOf(c));
        if ((c + 1) % kOnlineHashEvery == 0)
            if (std::optional<FightState> after = s.stateAfter(c)) replayHashes_.push_back({c, hashFight(*after)});
    }
    syncTime(nowMs);
    if (s.fight().gameState != GameState::Fight && s.confirmedStep() == s.nextStep() - 1)
        end("", false);  // the fight is over on both machines
}

void NetPlay::syncTime(std::uint32_t nowMs)
{
    // Where the other side is now: where it said it was, plus the time
    // since, plus half the round trip the message took.
    const std::int64_t theirs =
        remoteStep_ + static_cast<std::int64_t>(nowMs - remoteStepAt_ + rttMs_ / 2) * 60 / 1000;
    if (session_->nextStep() - theirs <= 2 || remoteStepAt_ == 0) {
        aheadSince_.reset();
        return;
    }
    if (!aheadSince_) aheadSince_ = nowMs;
    if (nowMs - *aheadSince_ >= 1000) {
        startMs_ += 1000 / 60 + 1;  // wait a step
        ++waits_;
        aheadSince_.reset();
    }
}

void NetPlay::sendInputs(std::uint32_t nowMs)
{
    if (localLog_.empty()) return;
    const auto size = static_cast<std::int64_t>(localLog_.size());
    const std::int64_t first = std::min(remoteAck_, size - 1);
    const std::int64_t last = std::min(size, first + static_cast<std::int64_t>(kMaxPacketInputs));
    Inputs p;
    p.ack = static_cast<std::uint32_t>(session_->remoteSteps());
    p.step = static_cast<std::uint32_t>(session_->nextStep());
    p.first = static_cast<std::uint32_t>(first);
    p.stamp = nowMs == 0 ? 1 : nowMs;
    if (firstStamp_ == 0) firstStamp_ = p.stamp;
    p.echo = lastStampAt_ == 0 ? 0 : lastStamp_ + (nowMs - lastStampAt_);
    p.inputs.assign(localLog_.begin() + first, localLog_.begin() + last);
    sendPacket(kInputChannel, std::move(p), nowMs);
    lastSendMs_ = nowMs;
}

}  // namespace ib::net
