// The Character reader, then a fight of the Character against a valid one.
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
    fuzz::writeInput("fuzz.Character", data, size);
    fuzz::Loader loader;
    try {
        auto character = loadCharacter(loader.ctx, "fuzz");
        if (character->moveCount < 0 ||
            character->moves.size() != static_cast<std::size_t>(character->moveCount) + 1 ||
            !character->defaultMove() || !character->animation)
            __builtin_trap();
        fuzz::fight(*character);
    } catch (const ContentError& e) {
        fuzz::checkMessage(e);
    }
    return 0;
}
