#include "fight/sound_events.h"

namespace ib {

const char* soundKindName(SoundKind kind)
{
    switch (kind) {
    case SoundKind::Move: return "move";
    case SoundKind::Hit: return "hit";
    case SoundKind::Block: return "block";
    case SoundKind::KnockOut: return "knockout";
    case SoundKind::Quote: return "quote";
    case SoundKind::Splash: return "splash";
    }
    return "?";
}

std::int32_t blowVolume(double damage)
{
    constexpr double kQuietest = 30.0, kPerPoint = 4.0, kLoudest = 100.0;
    // Written so that a damage that is not a number gives the quietest.
    if (!(damage > 0.0)) return static_cast<std::int32_t>(kQuietest);
    const double v = kQuietest + kPerPoint * damage;
    return static_cast<std::int32_t>(v < kLoudest ? v : kLoudest);
}

}  // namespace ib
