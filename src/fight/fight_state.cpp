#include "fight/fight_state.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace ib {

namespace {

class Fnv {
public:
    void bytes(const void* data, std::size_t n)
    {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < n; ++i) {
            hash_ ^= p[i];
            hash_ *= 0x100000001B3ull;
        }
    }
    // Little-endian whatever the machine.
    void u64(std::uint64_t v)
    {
        unsigned char b[8];
        for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
        bytes(b, 8);
    }
    void u32(std::uint32_t v)
    {
        unsigned char b[4];
        for (int i = 0; i < 4; ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
        bytes(b, 4);
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void u32s(std::initializer_list<std::uint32_t> vs)
    {
        for (std::uint32_t v : vs) u32(v);
    }
    void i32s(std::initializer_list<std::int32_t> vs)
    {
        for (std::int32_t v : vs) i32(v);
    }
    void text(std::string_view s)
    {
        u64(s.size());
        bytes(s.data(), s.size());
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

// A Move's place in its Character's list; -1 for none (or one from
// elsewhere).
std::int32_t moveIndex(const Character* c, const Move* m)
{
    if (c == nullptr || m == nullptr) return -1;
    for (std::size_t i = 0; i < c->moves.size(); ++i)
        if (c->moves[i].get() == m) return static_cast<std::int32_t>(i);
    return -2;
}

// A Frame's place among all Frames of its Character's Moves, in file order.
std::int32_t frameIndex(const Character* c, const Frame* f)
{
    if (c == nullptr || f == nullptr) return -1;
    std::int32_t n = 0;
    for (const auto& move : c->moves) {
        if (!move || !move->animation) continue;
        for (const auto& frame : move->animation->frames) {
            if (frame.get() == f) return n;
            ++n;
        }
    }
    return -2;
}

void hashFighter(Fnv& h, const std::optional<Fighter>& fighter)
{
    h.u32(fighter.has_value());
    if (!fighter) return;
    const Fighter& f = *fighter;
    h.text(f.character ? std::string_view(f.character->name) : std::string_view());
    h.i32(f.facing);
    h.i32(f.lastHitRegion);
    h.u64(std::bit_cast<std::uint64_t>(f.health));
    h.i32(f.x);
    h.i32(f.y);
    h.u32(f.moveStart);
    h.u32(f.held.bits());
    h.i32(moveIndex(f.character, f.currentMove));
    h.i32(moveIndex(f.character, f.pendingMove));
    h.u64(f.history.size());
    for (const ButtonSet& s : f.history) h.u32(s.bits());
    h.i32(frameIndex(f.character, f.frame));
    // Only a fight with flights has any: the quick fight hashes as before.
    if (f.inAir || f.flight.move != nullptr) {
        h.u32(f.inAir);
        h.i32(moveIndex(f.character, f.flight.move));
        h.u32(f.flight.start);
        h.i32(f.flight.shown);
    }
}

}  // namespace

const char* gameStateName(GameState s)
{
    switch (s) {
    case GameState::Splash: return "Splash";
    case GameState::Fight: return "Fight";
    case GameState::End: return "End";
    }
    return "?";
}

const char* playModeName(PlayMode m)
{
    switch (m) {
    case PlayMode::TwoPlayers: return "two players";
    case PlayMode::VersusComputer: return "versus computer";
    case PlayMode::Training: return "training";
    }
    return "?";
}

const char* dummyModeName(DummyMode m)
{
    switch (m) {
    case DummyMode::Standing: return "standing";
    case DummyMode::Crouching: return "crouching";
    case DummyMode::Blocking: return "blocking";
    case DummyMode::Computer: return "computer";
    case DummyMode::Playback: return "playback";
    }
    return "?";
}

Fighter* FightState::fighter(int player)
{
    if (player == 1) return fighter1 ? &*fighter1 : nullptr;
    if (player == 2) return fighter2 ? &*fighter2 : nullptr;
    return nullptr;
}

const Fighter* FightState::fighter(int player) const
{
    return const_cast<FightState*>(this)->fighter(player);
}

std::uint64_t hashFight(const FightState& s)
{
    Fnv h;
    h.i32(static_cast<std::int32_t>(s.gameState));
    hashFighter(h, s.fighter1);
    hashFighter(h, s.fighter2);
    h.u32(s.currentTime);
    h.u32(s.decisionTime);
    h.u32(s.activeQuote.startTime);
    h.i32(s.activeQuote.text);
    h.i32(s.activeQuote.speaker);
    h.u32(s.lastQuoteCheck);
    h.u32(s.quoteRandom.state);
    h.u32(s.quoteFirstCall);
    h.i32(static_cast<std::int32_t>(s.mode));
    for (const ComputerMind& m : s.computer) {
        h.i32(m.level);
        h.i32(m.plan);
        h.u32(m.planUntil);
        h.u32(m.nextThink);
        h.u32(m.watchedStart);
        h.i32(m.watchedMove);
        h.u32(m.willBlock);
        if (m.form != 0) h.i32(m.form);
        // Hashed once there are any, so a fight without the computer
        // hashes as it always did.
        if (m.recentAttacks[0] != 0 || m.recentAttacks[1] != 0) {
            h.i32(m.recentAttacks[0]);
            h.i32(m.recentAttacks[1]);
        }
    }
    h.u32(s.computerRandom.state);
    h.u32(s.seedFromClock);
    const TrainingState& t = s.training;
    h.i32(static_cast<std::int32_t>(t.dummy));
    h.u32(t.lastHitTime);
    h.u32(t.refillDue);
    h.i32(t.hitX);
    h.i32(t.hitY);
    h.u32(t.recording);
    h.u32(t.recordStart);
    h.u32(t.recordLength);
    h.u64(t.recorded.size());
    for (const RecordedButton& b : t.recorded) {
        h.u32(b.at);
        h.i32(b.code);
        h.u32(b.down);
    }
    h.u32(t.playStart);
    h.u32(t.playNext);
    // The single fight hashes as it always did.
    if (const MatchState& m = s.match; m.on) {
        h.i32s({m.rounds, m.round, m.roundsWon[0], m.roundsWon[1], m.roundWinner, m.matchWinner,
                static_cast<std::int32_t>(m.banner), static_cast<std::int32_t>(m.menu), m.menuChoice});
        h.u32s({m.timerSeconds, m.roundStart, m.roundEnd, m.bannerStart, m.lastClock, m.pausedTotal,
                static_cast<std::uint32_t>(m.paused)});
    }
    // Hashed once anything was felt, so a fight without it hashes as before.
    if (const HitFeel& e = s.feel; e != HitFeel{}) {
        h.u32s({e.freezeLeft, e.frozenTotal, e.sparkAt, static_cast<std::uint32_t>(e.sparkBlocked),
                static_cast<std::uint32_t>(e.shaking), e.shakeAt});
        h.i32s({e.sparkX, e.sparkY, e.sparkBy, e.flash[0], e.flash[1]});
        h.u64(e.frozenButtons.size());
        for (const FrozenButton& b : e.frozenButtons) {
            h.i32(b.player);
            h.i32(b.button);
            h.u32(b.down);
            h.u32(b.onlyAfterTaken);
        }
        for (int p = 0; p < 2; ++p) {
            const Combo& c = e.combo[p];
            const Fighter* victim = s.fighter(2 - p);
            h.i32(c.count);
            h.u64(std::bit_cast<std::uint64_t>(c.damage));
            h.i32(victim ? moveIndex(victim->character, c.reaction) : -1);
            h.u32(c.reactionStart);
            h.u32(c.ended);
            h.u32(c.endedAt);
            const Fighter* own = s.fighter(p + 1);
            h.i32(own ? moveIndex(own->character, e.lastAttack[p]) : -1);
        }
        h.i32(e.advantageOf);
        h.i32(e.advantage);
    }
    return h.value();
}

}  // namespace ib
