// The Level reader, then a fight drawn on the Level: layers, panel, health
// bars and fighters cut to its play area.
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
    fuzz::writeInput("fuzz.level", data, size);
    fuzz::Loader loader;
    std::unique_ptr<Level> level;
    try {
        level = loadLevel(loader.ctx, "fuzz");
        if (!level->background || !level->foreground || !level->panel || !level->healthBar)
            __builtin_trap();
    } catch (const ContentError& e) {
        fuzz::checkMessage(e);
        return 0;
    }
    fuzz::fight(fuzz::validCharacter(), level.get());
    return 0;
}
