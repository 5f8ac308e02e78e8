#include "net/online_replay.h"

#include "input/key_bindings.h"

namespace ib::net {

namespace {

int keyOf(int player, int button)
{
    for (const KeyBinding& k : keyBindings())
        if (k.player == player && static_cast<int>(k.button) == button) return k.virtualKey;
    return 0;
}

}  // namespace

void writeOnlineReplay(std::ostream& out, const ReplayHeader& header, std::uint32_t startClock,
                       const std::vector<StepBitsPair>& inputs,
                       const std::vector<std::pair<std::int64_t, std::uint64_t>>& hashes)
{
    ReplayWriter w(out);
    w.header(header);
    w.message({WM_ACTIVATE, 1});
    w.message({WM_KEYDOWN, VK_SPACE});  // leaves the splash screen
    w.message({WM_KEYUP, VK_SPACE});
    std::uint32_t clock = 0;
    auto hash = hashes.begin();
    StepBitsPair before{};
    for (std::size_t s = 0; s < inputs.size(); ++s) {
        for (int player = 1; player <= 2; ++player) {
            const StepBits was = before[player - 1], is = inputs[s][player - 1];
            for (int b = 0; b < kStepButtons; ++b)
                if (((was ^ is) >> b) & 1)
                    w.message({(is >> b) & 1 ? WM_KEYDOWN : WM_KEYUP,
                               static_cast<std::uint32_t>(keyOf(player, b))});
        }
        before = inputs[s];
        const std::uint32_t next = stepClock(startClock, static_cast<std::int64_t>(s));
        w.passes(next - clock);
        clock = next;
        for (; hash != hashes.end() && hash->first <= static_cast<std::int64_t>(s); ++hash)
            if (hash->first == static_cast<std::int64_t>(s)) w.hash(static_cast<std::uint32_t>(s + 1), hash->second);
    }
    w.end(static_cast<std::uint32_t>(inputs.size()));
}

}  // namespace ib::net
