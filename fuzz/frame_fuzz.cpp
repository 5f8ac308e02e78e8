// The Frame reader, then a fight in which the Frame is the stance.
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
    fuzz::writeInput("fuzz.Frame", data, size);
    fuzz::Loader loader;
    try {
        auto frame = loadFrame(loader.ctx, "fuzz");
        // A Frame that loads has its picture and mask.
        if (!frame->image || !frame->image->surface || !frame->image->mask) __builtin_trap();
    } catch (const ContentError& e) {
        fuzz::checkMessage(e);
        return 0;
    }
    fuzz::fight(loader, "fuzz-frame");
    return 0;
}
