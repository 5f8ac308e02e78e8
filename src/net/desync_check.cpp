// The desync check of an online fight: each side sends the hash of every
// kHashEvery-th confirmed step, compares it with the other's, and where
// they differ writes a report of both sides' fights at that step.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "net/hex_text.h"
#include "net/net_play.h"

namespace ib::net {

namespace {

void describe(std::ostream& out, const char* name, const std::optional<Fighter>& f)
{
    if (!f) {
        out << name << " none\n";
        return;
    }
    out << name << " x " << f->x << " y " << f->y << " facing " << f->facing << " moveStart " << f->moveStart
        << " lastHitRegion " << f->lastHitRegion << "\n";
}

// A fight as the desync report shows it.
std::string stateText(const FightState& f)
{
    std::ostringstream out;
    out << "hash " << hexText(hashFight(f)) << " currentTime " << f.currentTime << " decisionTime " << f.decisionTime
        << " quote " << f.activeQuote.text << " random " << f.quoteRandom.state << "\n";
    describe(out, "fighter1", f.fighter1);
    describe(out, "fighter2", f.fighter2);
    return out.str();
}

}  // namespace

void NetPlay::exchangeHashes(std::uint32_t nowMs)
{
    const std::int64_t through = session_->confirmedStep();
    for (std::int64_t s = hashedThrough_ + 1; s <= through; ++s) {
        if ((s + 1) % kHashEvery != 0) continue;
        const std::optional<FightState> state = session_->stateAfter(s);
        if (!state) continue;
        ourHashes_[s] = hashFight(*state);
        ourStates_[s] = *state;
        sendPacket(kReliableChannel, Packet(StepHash{static_cast<std::uint32_t>(s), ourHashes_[s]}), nowMs);
        compareHash(s, nowMs);
        if (phase_ == NetPhase::Over) return;
    }
    hashedThrough_ = std::max(hashedThrough_, through);
}

void NetPlay::compareHash(std::int64_t step, std::uint32_t nowMs)
{
    auto ours = ourHashes_.find(step);
    auto theirs = theirHashes_.find(step);
    if (ours == ourHashes_.end() || theirs == theirHashes_.end()) return;
    if (ours->second != theirs->second) {
        reportFile_ = writeDesyncReport(step, theirs->second);
        // The other side gets this side's fight for its report, and this
        // side listens a second for the other's before it lets go.
        if (auto state = ourStates_.find(step); state != ourStates_.end())
            sendPacket(kReliableChannel, Packet(StateText{static_cast<std::uint32_t>(step), stateText(state->second)}), nowMs);
        phase_ = NetPhase::Over;
        status_ = "out of sync at step " + std::to_string(step) + ": the fight " +
                  (reportWritten_ ? "is written to " : "could not be written to ") + reportFile_;
        failed_ = true;
        reportUntil_ = nowMs + 1000;
        appendTheirState();
        return;
    }
    ++hashesCompared_;
    hashesSettled_ = std::max<std::int64_t>(hashesSettled_, step);
    ourHashes_.erase(ours);
    theirHashes_.erase(theirs);
    ourStates_.erase(step);
}

std::string NetPlay::writeDesyncReport(std::int64_t step, std::uint64_t theirs)
{
    const int player = config_.hosting ? 1 : 2;
    const std::filesystem::path file = std::filesystem::path(config_.desyncFolder) /
                                       ("desync-step-" + std::to_string(step) + "-player" +
                                        std::to_string(player) + ".txt");
    std::ofstream out(file);
    out << "out of sync at step " << step << "\nthis machine plays player " << player << "\nseed " << seed_
        << "\nhash here " << hexText(ourHashes_[step]) << "\nhash there " << hexText(theirs) << "\n";
    out << "inputs of both players, one step a line, from step 0:\n";
    for (const StepBitsPair& i : confirmed_) out << int(i[0]) << ' ' << int(i[1]) << '\n';
    if (auto it = ourStates_.find(step); it != ourStates_.end())
        out << "state here (player " << player << ") at step " << step << ":\n" << stateText(it->second);
    out.flush();
    reportWritten_ = static_cast<bool>(out);
    return file.string();
}

void NetPlay::appendTheirState()
{
    if (reportFile_.empty() || theirState_.empty() || reportUntil_ == 0) return;
    std::ofstream(reportFile_, std::ios::app) << theirState_;
    reportUntil_ = 0;
    close();
}

}  // namespace ib::net
