// Hand-made content for fight tests and benchmarks: frames, animations,
// moves and characters in memory, hit masks in memory, and Images written
// as TGA files and read back by the game (make those inside a ScratchDir).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "content/content.h"
#include "fight/fighter.h"
#include "fight/step_input.h"
#include "input/key_bindings.h"
#include "support/fixtures.h"

namespace ib::test {

struct FrameShape {
    int duration = 100, hotspotX = 0, hotspotY = 0, dx = 0, dy = 0, frontColumn = 0, backColumn = 0;
};

inline std::unique_ptr<Frame> makeFrame(const FrameShape& s, std::unique_ptr<Image> image = nullptr)
{
    return std::make_unique<Frame>(Frame{{}, std::move(image), s.duration, s.hotspotX, s.hotspotY,
                                         s.dx, s.dy, s.frontColumn, s.backColumn});
}

inline std::unique_ptr<Animation> makeAnimation(bool loops, const std::vector<FrameShape>& frames)
{
    auto a = std::make_unique<Animation>();
    a->loops = loops ? 1 : 0;
    a->frameCount = static_cast<std::int32_t>(frames.size());
    for (const FrameShape& s : frames) {
        a->frames.push_back(makeFrame(s));
        a->totalDuration += s.duration;
    }
    return a;
}

// steps: newest first, as Move::steps holds them.
inline std::unique_ptr<Move> makeMove(std::vector<ButtonSet> steps, int priority, double damage,
                                      std::unique_ptr<Animation> animation)
{
    const auto n = static_cast<std::int32_t>(steps.size());
    return std::make_unique<Move>(
        Move{{}, n, priority, std::move(steps), {}, {}, damage, std::move(animation)});
}

// The last move given is the default move.
template <class... M>
std::unique_ptr<Character> makeCharacter(M... moves)
{
    auto c = std::make_unique<Character>();
    (c->moves.push_back(std::move(moves)), ...);
    c->moveCount = static_cast<std::int32_t>(sizeof...(M)) - 1;
    return c;
}

// Ground line at 440.
inline Level makeLevel(int leftBound, int rightBound)
{
    Level level;
    level.leftBound = leftBound;
    level.rightBound = rightBound;
    level.layerY = 40;
    level.playHeight = 400;
    return level;
}

// (body, strike) of one mask cell, row 0 = top.
using MaskCell = std::function<std::pair<int, int>(int row, int col)>;

inline HitMask makeMask(int width, int height, const MaskCell& cell)
{
    HitMask m{{}, width, height, {}, {}};
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            m.body.push_back(static_cast<std::uint8_t>(cell(r, c).first));
            m.strike.push_back(static_cast<std::uint8_t>(cell(r, c).second));
        }
    }
    return m;
}

// Pictures whose masks come from `cell`, through the game's image loader.
struct PictureMaker {
    std::shared_ptr<DisplayDevice> device = std::make_shared<DisplayDevice>();
    ImageRegistry registry;

    std::unique_ptr<Image> make(const std::string& name, int width, int height, const MaskCell& cell)
    {
        writeSolidTga(name + ".tga", width, height, tgaRgb(0, 0, 31));
        writeTga(name + ".mask.tga", width, height, [&](int x, int y) {
            return tgaRgb(cell(y, x).first, cell(y, x).second, 0);
        });
        return std::make_unique<Image>(loadImage(*device, registry, name));
    }
};

// A key of the default table pressed or let go on two fighters at time t,
// as the keyboard's record of a step gives it.
inline void keyDown(Fighter& f1, Fighter& f2, int key, std::uint32_t t)
{
    StepInput in;
    keyToStep(keyBindings(), in, key, true);
    applyButtons(f1, f2, in, t);
}
inline void keyUp(Fighter& f1, Fighter& f2, int key, std::uint32_t t)
{
    StepInput in;
    keyToStep(keyBindings(), in, key, false);
    applyButtons(f1, f2, in, t);
}

}  // namespace ib::test
