// Scripted new players, to try the computer's levels as a beginner would:
// a masher walks in and presses attack; a mixed beginner walks, punches,
// kicks, jumps in, sweeps, tries specials clumsily and blocks now and then;
// a turtle holds block, then steps in and punches twice. They see what a
// person sees (where the fighters stand, which moves they play) and press
// buttons into the step's input record, never anything else.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "fight/fight_state.h"
#include "fight/step_input.h"

namespace ib::beginners {

enum class Style { Masher, Mixed, Turtle };

std::optional<Style> styleNamed(std::string_view name);
const char* styleName(Style s);

class Beginner {
public:
    Beginner(Style style, int player, std::uint32_t seed);
    // This pass's presses and releases, from the fight as it is on screen.
    void play(const FightState& fight, StepInput& in);

private:
    enum Step : int { Think, Walk, Backoff, Guard, Press, Release, Tap };
    struct Plan {
        Step step = Think;
        std::uint32_t want = 0;  // the PlayerButtons to hold, as bits
        std::uint32_t until = 0;
    };

    void think(const Fighter& me, const Fighter& opp, std::uint32_t t);
    void queue(Step step, std::uint32_t want, std::uint32_t ms);
    void hold(std::uint32_t want, StepInput& in);
    int roll(int n) { return random_.below(n); }

    Style style_;
    int player_;
    ComputerRandom random_;
    std::uint32_t held_ = 0;
    Plan plans_[8];
    int planCount_ = 0;
    int planAt_ = 0;
    std::uint32_t planEnd_ = 0;
    bool started_ = false;
};

}  // namespace ib::beginners
