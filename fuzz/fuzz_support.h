// What every fuzz target shares: a private working directory holding a small
// set of valid content files, the input written there as the file under
// test, and a short fight that plays whatever loaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "content/content.h"
#include "content/content_error.h"

namespace ib::fuzz {

// Makes the process's private directory (once) and writes the valid set
// into it: pictures "pic" (8 x 8 with its mask), "wide" (16 x 4 with a
// 4 x 4 mask), "nomask" and "masked" (no mask: the Mask target's input); Frames "f", "g", "w", "still" (0 ms)
// and "nomask-f"; Animations "loop", "once", "zero" (loops, 0 ms) and
// "empty" (no Frame); Moves "jab", "kick", "walk", "stand" and "broken";
// the Character "both"; the Levels "arena" and (pictures only) "fuzz",
// with "panel" and "bar"; and the Characters "fuzz-frame", "fuzz-anim",
// "fuzz-move" and "fuzz-mask" that play the input named "fuzz" (or the
// mask of "masked") in a fight. The directory is removed at exit.
void setUp();

// While alive, the working directory is the private one; content names in
// the files resolve there. Changes back on destruction.
class InWorkDir {
public:
    InWorkDir();
    ~InWorkDir();
    InWorkDir(const InWorkDir&) = delete;
    InWorkDir& operator=(const InWorkDir&) = delete;
};

// Writes bytes as a file of the working directory (relative path).
void writeInput(const std::string& path, const std::uint8_t* data, std::size_t size);

// Pictures whose header asks for more than this many pixels are not run:
// the work grows with the pixels asked for, not with the input, and the
// large ones are replayed from the big seeds instead.
constexpr long kMaxFuzzPixels = 128 * 128;
bool asksForTooManyPixels(const std::uint8_t* data, std::size_t size);

// The pictures and masks of the valid set, read once at start-up: they
// never change, so every input may find them loaded already.
const ImageRegistry& validPictures();

// A display device and registries, new for every input so that one input's
// pictures never serve the next; they start out holding the valid set's
// pictures (or nothing, for the targets whose input is a picture).
struct Loader {
    explicit Loader(bool withValidPictures = true)
    {
        if (withValidPictures) images = validPictures();
    }
    std::shared_ptr<DisplayDevice> device = std::make_shared<DisplayDevice>();
    ImageRegistry images;
    LoadContext ctx{*device, images};
};

// A reader's message must name what it could not use: "... <name>".
void checkMessage(const ContentError& error);

// Plays a short fight of the Character against the valid Character "both"
// on `level` (the valid "arena" when null): keys of both players, moves,
// walls, push-apart, drawing and hits. Call inside InWorkDir.
void fight(const Character& character, const Level* level = nullptr);
// The valid Character "both".
const Character& validCharacter();
// The same with the Character loaded from `name`; a load that fails ends
// it with its message checked.
void fight(Loader& loader, const std::string& name);

}  // namespace ib::fuzz
