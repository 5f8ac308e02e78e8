#include <algorithm>
#include <limits>

#include "content/content.h"
#include "content/content_error.h"
#include "content/line_reader.h"

namespace ib {

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

std::int32_t addClamped(std::int32_t a, std::int32_t b)
{
    const std::int64_t sum = std::int64_t{a} + b;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::unique_ptr<Level> loadLevel(LoadContext& ctx, const std::string& baseName)
{
    auto level = std::make_unique<Level>();
    level->name = baseName;
    const std::string fileName = baseName + ".level";
    LineReader file;
    if (!file.open(fileName)) throw ContentError("Level file read error <" + baseName + ">");

    const std::string backgroundName = baseName + ".background.tga";
    level->background = loadTgaSurface(ctx.directDraw, ctx.images, backgroundName);
    if (!level->background) throw ContentError("Level background not found <" + backgroundName + ">");
    const std::string foregroundName = baseName + ".foreground.tga";
    level->foreground = loadTgaSurface(ctx.directDraw, ctx.images, foregroundName);
    if (!level->foreground) throw ContentError("Level foreground not found <" + foregroundName + ">");
    setSourceColorKey(*level->foreground, kMagenta);

    const int w = level->background->width();
    const int h = level->background->height();
    level->layerRect = Rect{0, 0, w - 1, h - 1};
    level->layerX = (kScreenWidth - (w - 1)) / 2;
    level->layerY = (kScreenHeight - (h - 1)) / 2;

    level->playHeight = leadingInt(file.nextLine());
    if (readIntPair(file.nextLine(), level->leftBound, level->rightBound) != 2)
        throw ContentError("Level walls not readable <" + fileName + ">");
    level->leftBound = addClamped(level->leftBound, level->layerX);
    level->rightBound = addClamped(level->rightBound, level->layerX);

    const std::string panelName = file.nextLine() + ".tga";
    level->panel = loadTgaSurface(ctx.directDraw, ctx.images, panelName);
    if (!level->panel) throw ContentError("Level panel not found <" + panelName + ">");
    const std::string healthBarName = file.nextLine() + ".tga";
    level->healthBar = loadTgaSurface(ctx.directDraw, ctx.images, healthBarName);
    if (!level->healthBar) throw ContentError("Level health bar not found <" + healthBarName + ">");

    level->panelRect = Rect{0, 0, level->panel->width() - 1, level->panel->height() - 1};
    level->healthBarWidth = level->healthBar->width();
    level->healthBarHeight = level->healthBar->height();

    readIntPair(file.nextLine(), level->bar1X, level->bar1Y);
    readIntPair(file.nextLine(), level->bar2X, level->bar2Y);
    return level;
}

}  // namespace ib
