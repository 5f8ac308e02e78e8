// Small hand-made content for fight tests: frames, animations, moves and
// characters built in memory, masks built in memory, and Images written as
// TGA files (call inside a ScratchDir).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "content/content.h"
#include "fight/fighter.h"
#include "support/fixtures.h"

namespace ib::test {

struct FrameSpec {
    int duration = 100;
    int hotspotX = 0, hotspotY = 0;
    int dx = 0, dy = 0;
    int frontColumn = 0, backColumn = 0;
};

inline std::unique_ptr<Frame> makeFrame(const FrameSpec& s, std::unique_ptr<Image> image = nullptr)
{
    auto f = std::make_unique<Frame>();
    f->image = std::move(image);
    f->duration = s.duration;
    f->hotspotX = s.hotspotX;
    f->hotspotY = s.hotspotY;
    f->dx = s.dx;
    f->dy = s.dy;
    f->frontColumn = s.frontColumn;
    f->backColumn = s.backColumn;
    return f;
}

inline std::unique_ptr<Animation> makeAnimation(bool loops, std::vector<FrameSpec> frames)
{
    auto a = std::make_unique<Animation>();
    a->loops = loops ? 1 : 0;
    for (const FrameSpec& s : frames) {
        a->frames.push_back(makeFrame(s));
        a->totalDuration += s.duration;
    }
    a->frameCount = static_cast<std::int32_t>(a->frames.size());
    return a;
}

// steps: newest first, as Move::steps holds them.
inline std::unique_ptr<Move> makeMove(std::vector<ButtonSet> steps, int priority, double damage,
                                      std::unique_ptr<Animation> animation)
{
    auto m = std::make_unique<Move>();
    m->stepCount = static_cast<std::int32_t>(steps.size());
    m->steps = std::move(steps);
    m->priority = priority;
    m->damage = damage;
    m->animation = std::move(animation);
    return m;
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
    HitMask m;
    m.width = width;
    m.height = height;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            auto [body, strike] = cell(r, c);
            m.body.push_back(static_cast<std::uint8_t>(body));
            m.strike.push_back(static_cast<std::uint8_t>(strike));
        }
    }
    return m;
}

// Pictures with masks, read back through the game's own image loader.
struct PictureMaker {
    std::shared_ptr<DisplayDevice> device = std::make_shared<DisplayDevice>();
    ImageRegistry registry;

    std::unique_ptr<Image> make(const std::string& name, int width, int height, const MaskCell& cell)
    {
        writeSolidTga(name + ".tga", width, height, tgaRgb(0, 0, 31));
        writeTga(name + ".mask.tga", width, height, [&](int x, int y) {
            auto [body, strike] = cell(y, x);
            return tgaRgb(body, strike, 0);
        });
        return std::make_unique<Image>(*device, registry, name);
    }
};

}  // namespace ib::test
