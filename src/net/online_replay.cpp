#include "net/online_replay.h"

namespace ib::net {

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
        if (inputs[s] != before)
            w.message({WM_HELDBUTTONS, static_cast<std::uint32_t>(inputs[s][0] | (inputs[s][1] << 8))});
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
