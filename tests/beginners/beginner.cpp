#include "beginners/beginner.h"

#include <bit>
#include <cstdlib>

namespace ib::beginners {

namespace {

constexpr std::uint32_t bit(PlayerButton b) { return 1u << static_cast<int>(b); }
constexpr std::uint32_t kAttack = bit(PlayerButton::Attack);
constexpr std::uint32_t kBlock = bit(PlayerButton::Block);
constexpr std::uint32_t kUp = bit(PlayerButton::Up);
constexpr std::uint32_t kDown = bit(PlayerButton::Down);
// How near the other fighter looks close enough to hit, between the two
// fighters' places.
constexpr std::int32_t kClose = 150;

}  // namespace

std::optional<Style> styleNamed(std::string_view name)
{
    if (name == "masher") return Style::Masher;
    if (name == "mixed") return Style::Mixed;
    if (name == "turtle") return Style::Turtle;
    return std::nullopt;
}

const char* styleName(Style s)
{
    switch (s) {
    case Style::Masher: return "masher";
    case Style::Mixed: return "mixed";
    case Style::Turtle: return "turtle";
    }
    return "?";
}

Beginner::Beginner(Style style, int player, std::uint32_t seed) : style_(style), player_(player)
{
    random_.seed(seed * 2654435761u + static_cast<std::uint32_t>(player));
}

void Beginner::queue(Step step, std::uint32_t want, std::uint32_t ms)
{
    if (planCount_ < 8) plans_[planCount_++] = {step, want, ms};
}

void Beginner::hold(std::uint32_t want, StepInput& in)
{
    for (std::uint32_t b = held_ & ~want; b != 0; b &= b - 1)
        in.release(player_, static_cast<PlayerButton>(std::countr_zero(b)));
    for (std::uint32_t b = want & ~held_; b != 0; b &= b - 1)
        in.press(player_, static_cast<PlayerButton>(std::countr_zero(b)));
    held_ = want;
}

// What to do next, as a few steps of held buttons (each `until` a length
// in ms until it starts).
void Beginner::think(const Fighter& me, const Fighter& opp, std::uint32_t)
{
    planCount_ = 0;
    planAt_ = 0;
    const std::uint32_t fwd = bit(me.facing < 0 ? PlayerButton::Right : PlayerButton::Left);
    const std::uint32_t back = bit(me.facing < 0 ? PlayerButton::Left : PlayerButton::Right);
    const bool close = std::abs(me.x - opp.x) <= kClose;
    const auto pause = [&](int lo, int hi) { queue(Think, 0, static_cast<std::uint32_t>(lo + roll(hi - lo + 1))); };
    const auto tap = [&](std::uint32_t with) {
        queue(Tap, with | kAttack, 40 + static_cast<std::uint32_t>(roll(60)));
    };
    switch (style_) {
    case Style::Masher:
        if (!close) {
            queue(Walk, fwd, 600);
        } else {
            tap(roll(4) == 0 ? fwd : 0);
            pause(40, 120);
        }
        return;
    case Style::Turtle:
        queue(Guard, kBlock, 700 + static_cast<std::uint32_t>(roll(1100)));
        queue(Walk, fwd, 1200);
        tap(0);
        pause(60, 160);
        tap(0);
        pause(80, 200);
        return;
    case Style::Mixed: break;
    }
    const int r = roll(100);
    if (!close) {
        if (r < 55) queue(Walk, fwd, 300 + static_cast<std::uint32_t>(roll(500)));
        else if (r < 70) {  // a jump in, attack pressed somewhere in the air
            queue(Press, fwd | kUp, 60 + static_cast<std::uint32_t>(roll(80)));
            queue(Think, fwd, 100 + static_cast<std::uint32_t>(roll(250)));
            tap(fwd);
        } else if (r < 80) queue(Backoff, back, 200 + static_cast<std::uint32_t>(roll(300)));
        else if (r < 88) queue(Guard, kBlock, 300 + static_cast<std::uint32_t>(roll(600)));
        else pause(150, 500);
        pause(80, 250);
        return;
    }
    if (r < 22) tap(0);                                        // punch
    else if (r < 38) { queue(Press, fwd, 60 + static_cast<std::uint32_t>(roll(120))); tap(fwd); }  // kick
    else if (r < 50) { queue(Press, kDown, 60 + static_cast<std::uint32_t>(roll(120))); tap(kDown); }  // sweep
    else if (r < 58) {                                         // a jump attack
        queue(Press, kUp, 60 + static_cast<std::uint32_t>(roll(80)));
        queue(Think, 0, 100 + static_cast<std::uint32_t>(roll(250)));
        tap(0);
    } else if (r < 68) {  // a special, each step held for a clumsy time
        for (std::uint32_t want : {kDown, kDown | fwd, fwd})
            queue(Press, want, 30 + static_cast<std::uint32_t>(roll(roll(3) == 0 ? 260 : 110)));
        tap(fwd);
    } else if (r < 82) queue(Guard, kBlock, 300 + static_cast<std::uint32_t>(roll(700)));
    else if (r < 92) queue(Backoff, back, 150 + static_cast<std::uint32_t>(roll(350)));
    else pause(100, 400);
    pause(80, 250);
}

void Beginner::play(const FightState& fight, StepInput& in)
{
    const Fighter* me = fight.fighter(player_);
    const Fighter* opp = fight.fighter(3 - player_);
    if (me == nullptr || opp == nullptr || fight.gameState != GameState::Fight) return;
    const std::uint32_t t = fight.currentTime;
    if (!started_) {
        started_ = true;
        planEnd_ = t;
        planCount_ = planAt_ = 0;
    }
    const bool close = std::abs(me->x - opp->x) <= kClose;
    // Walking in stops once close; a step ends when its time is up.
    const bool stepDone = planAt_ >= planCount_ || static_cast<std::int32_t>(t - planEnd_) >= 0 ||
                          (plans_[planAt_].step == Walk && close);
    if (stepDone) {
        if (planAt_ < planCount_) ++planAt_;
        if (planAt_ >= planCount_) think(*me, *opp, t);
        planEnd_ = t + plans_[planAt_].until;
    }
    hold(plans_[planAt_].want, in);
}

}  // namespace ib::beginners
