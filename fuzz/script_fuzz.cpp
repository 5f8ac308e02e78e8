// The inkblot-sim script reader, then the events it gives delivered by the
// headless platform, times wrapping as they may.
#include "sim/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ib;
    const auto result =
        sim::parseScript(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!result.error.empty()) {
        // "line N: what is wrong", and no event from a script that has one.
        if (result.error.rfind("line ", 0) != 0 || !result.events.empty()) __builtin_trap();
        return 0;
    }
    HeadlessPlatform platform(1000, 16);
    platform.setScript(result.events);
    for (std::size_t i = 0; i <= result.events.size(); ++i) {
        platform.waitMessage();
        while (platform.peekMessage())
            if (platform.getMessage().message == WM_QUIT) return 0;
    }
    return 0;
}
