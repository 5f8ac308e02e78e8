// The Move reader, then a fight in which the Move is one the keys can pick.
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
    fuzz::writeInput("fuzz.Move", data, size);
    fuzz::Loader loader;
    try {
        auto move = loadMove(loader.ctx, "fuzz");
        const auto steps = static_cast<std::size_t>(move->stepCount);
        if (move->stepCount < 0 || move->steps.size() != steps || move->stepValueA.size() != steps ||
            move->stepValueB.size() != steps || !move->animation)
            __builtin_trap();
    } catch (const ContentError& e) {
        fuzz::checkMessage(e);
        return 0;
    }
    fuzz::fight(loader, "fuzz-move");
    return 0;
}
