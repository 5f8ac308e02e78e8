// The controls file: read, written back with what was read, and read
// again. Writing what was read must read back as the same controls, and
// a second writing must change nothing more.
#include <string>

#include "input/controls_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ib;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ReadControls read = readControls(text);
    for (const ControlsProblem& p : read.problems)
        if (p.line < 1 || p.what.empty()) __builtin_trap();
    const std::string written = writeControls(text, read.controls);
    if (readControls(written).controls != read.controls) __builtin_trap();
    if (writeControls(written, read.controls) != written) __builtin_trap();
    // Another player's keys written into whatever the file holds.
    Controls other = read.controls;
    std::swap(other.keys[0], other.keys[1]);
    other.deadZone = 1;
    if (readControls(writeControls(text, other)).controls != other) __builtin_trap();
    return 0;
}
