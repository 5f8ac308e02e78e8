// The replay reader: a file it takes is written again the same way and
// read back as the same replay, and walking it stays in bounds however
// large its runs of passes are; a file it refuses names its line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "input/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ib;
    const ReplayRead read = parseReplay(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.error.empty()) {
        if (read.error.rfind("line ", 0) != 0 || !(read.replay == Replay{})) __builtin_trap();
        return 0;
    }
    const ReplayRead again = parseReplay(formatReplay(read.replay));
    if (!again.error.empty() || !(again.replay == read.replay)) __builtin_trap();

    // The first passes and messages, as a playback takes them.
    ReplayCursor cursor(read.replay);
    std::uint32_t passes = 0;
    for (int step = 0; step < 4096 && !cursor.atEnd(); ++step) {
        if (cursor.messageNext()) {
            cursor.takeMessage();
        } else {
            cursor.takePass();
            ++passes;
        }
    }
    if (cursor.passesTaken() != passes || passes > read.replay.passes) __builtin_trap();
    if (cursor.atEnd() && passes != read.replay.passes) __builtin_trap();
    return 0;
}
