// What a fight pass reports for the ears: which sound, for which fighter,
// how loud. The pass only reports; the game plays them once, after the
// pass, so a fight played again (a replay, a re-simulation) plays nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "content/content.h"

namespace ib {

enum class SoundKind : std::int32_t {
    Move,      // a move that strikes, or has a sound file of its own, starts
    Hit,       // a strike lands
    Block,     // a strike lands on a fighter holding Block
    KnockOut,  // a strike leaves its victim's health at 0 or below
    Quote,     // a fighter starts to speak
    Splash,    // the splash screen is left
};

const char* soundKindName(SoundKind kind);

struct SoundEvent {
    SoundKind kind = SoundKind::Hit;
    std::int32_t fighter = 0;  // 1 or 2: the mover, the struck fighter, the speaker; 0: none
    std::int32_t volume = 100; // 0 to 100
    const Move* move = nullptr;  // the move that starts (Move only)
    friend bool operator==(const SoundEvent&, const SoundEvent&) = default;
};

using SoundEvents = std::vector<SoundEvent>;

// How loud a blow of `damage` sounds: 30 for nothing (or a heal), rising
// by 4 a point of damage to 100.
std::int32_t blowVolume(double damage);

}  // namespace ib
