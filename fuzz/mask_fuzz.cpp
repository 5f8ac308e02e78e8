// The hit-mask loader, then a fight in which the mask belongs to an 8 x 8
// stance picture, whatever size the mask itself has.
#include "fuzz_support.h"
#include "fight/hit_scan.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ib::fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ib;
    if (fuzz::asksForTooManyPixels(data, size)) return -1;  // not added to the corpus
    fuzz::InWorkDir in;
    fuzz::writeInput("masked.mask.tga", data, size);
    fuzz::Loader loader;
    const HitMask* mask = loadHitMask(loader.images, "masked.mask.tga");
    if (!mask) return 0;
    const auto cells = static_cast<std::size_t>(mask->width) * static_cast<std::size_t>(mask->height);
    if (mask->body.size() != cells || mask->strike.size() != cells) __builtin_trap();
    const HitMask* other = loadHitMask(loader.images, "pic.mask.tga");
    for (std::int64_t d : {0, 3, 7}) {
        for (std::int64_t dy : {-2, 0, 5}) {
            findStrikes(PoseMask{8, 8, mask}, PoseMask{8, 8, other}, d, dy, 0, 0);
            findStrikes(PoseMask{8, 8, other}, PoseMask{8, 8, mask}, d, dy, 0, 0);
        }
    }
    fuzz::fight(loader, "fuzz-mask");
    return 0;
}
