// The records read from the content files: Frame, Animation, Move (with the
// ButtonSet of its input steps), Character and Level, and their readers.
// Every reader throws ContentError with the exact message the player sees.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "content/buttons.h"
#include "content/images.h"

namespace ib {

// What the readers need to make pictures.
struct LoadContext {
    DisplayDevice& directDraw;
    ImageRegistry& images;  // its warnings also take the readers' warnings
};

struct Frame {
    std::string name;
    std::unique_ptr<Image> image;
    std::int32_t duration = 0;
    std::int32_t hotspotX = 0;
    std::int32_t hotspotY = 0;
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    std::int32_t frontColumn = 0;
    std::int32_t backColumn = 0;
};

struct Animation {
    std::string name;
    std::int32_t frameCount = 0;
    std::vector<std::unique_ptr<Frame>> frames;
    std::int32_t loops = 0;
    std::int32_t totalDuration = 0;

    // The Frame shown elapsed ms after the start; null when a one-shot
    // animation is over or there is nothing to show.
    const Frame* frameAt(std::int32_t elapsed) const;
};

struct Move {
    std::string name;
    std::int32_t stepCount = 0;
    std::int32_t priority = 0;
    std::vector<ButtonSet> steps;  // steps[0] = the newest input (last step line)
    std::vector<std::int32_t> stepValueA;
    std::vector<std::int32_t> stepValueB;
    double damage = 0.0;
    std::unique_ptr<Animation> animation;
    // A frame of the animation can strike (found once, when the Move loads).
    bool strikes = false;
};

struct Character {
    std::string name;
    std::vector<std::unique_ptr<Move>> moves;  // moveCount + 1 entries
    std::int32_t moveCount = 0;
    std::unique_ptr<Animation> animation;
    // The pictures drawn where this fighter's strike lands, and where it
    // is blocked ("<name>.spark.tga", "<name>.block-spark.tga", else the
    // content's "spark.tga" and "block-spark.tga"); null: none given.
    std::shared_ptr<Surface> spark;
    std::shared_ptr<Surface> blockSpark;

    const Move* defaultMove() const { return moves[static_cast<size_t>(moveCount)].get(); }
};

struct Level {
    std::string name;
    Rect layerRect;
    std::shared_ptr<Surface> background;
    std::shared_ptr<Surface> foreground;
    std::shared_ptr<Surface> panel;
    std::shared_ptr<Surface> healthBar;
    std::int32_t bar1X = 0, bar1Y = 0;
    std::int32_t bar2X = 0, bar2Y = 0;
    Rect panelRect;
    std::int32_t healthBarWidth = 0;
    std::int32_t healthBarHeight = 0;
    std::int32_t leftBound = 0;
    std::int32_t rightBound = 0;
    std::int32_t playHeight = 0;
    std::int32_t layerX = 0;
    std::int32_t layerY = 0;
};

std::unique_ptr<Frame> loadFrame(LoadContext& ctx, const std::string& baseName);
std::unique_ptr<Animation> loadAnimation(LoadContext& ctx, const std::string& baseName);
std::unique_ptr<Move> loadMove(LoadContext& ctx, const std::string& baseName);
std::unique_ptr<Character> loadCharacter(LoadContext& ctx, const std::string& baseName);
std::unique_ptr<Level> loadLevel(LoadContext& ctx, const std::string& baseName);

}  // namespace ib
