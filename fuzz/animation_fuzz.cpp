// The Animation reader and its frame lookup, then a fight in which the
// Animation plays as the default move.
#include <climits>

#include "content/content_error.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ib::fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ib;
    fuzz::InWorkDir in;
    fuzz::writeInput("fuzz.Animation", data, size);
    fuzz::Loader loader;
    try {
        auto animation = loadAnimation(loader.ctx, "fuzz");
        if (animation->frameCount != static_cast<std::int32_t>(animation->frames.size()))
            __builtin_trap();
        const std::int32_t total = animation->totalDuration;
        // From the start on; before it the first Frame stands, whatever its length.
        for (std::int32_t t : {0, 1, 99, total > 0 ? total - 1 : 0, total > 0 ? total : 0, INT_MAX}) {
            const Frame* f = animation->frameAt(t);
            if (f && f->duration <= 0) __builtin_trap();  // a frame of no length is never shown
        }
    } catch (const ContentError& e) {
        fuzz::checkMessage(e);
        return 0;
    }
    fuzz::fight(loader, "fuzz-anim");
    return 0;
}
