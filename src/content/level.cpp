#include <algorithm>
#include <limits>
#include <utility>

#include "content/content.h"
#include "content/content_error.h"
#include "content/line_reader.h"
#include "graphics/tga_surface.h"

namespace ib {

namespace {


std::int32_t addClamped(std::int32_t a, std::int32_t b)
{
    const std::int64_t sum = std::int64_t{a} + b;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

// The copy of src to (x, y) is one the screen takes: src is not empty and
// the copy lies wholly on the 800 x 600 screen.
bool fitsScreen(std::int64_t x, std::int64_t y, const Rect& src)
{
    const std::int64_t w = std::int64_t{src.right} - src.left;
    const std::int64_t h = std::int64_t{src.bottom} - src.top;
    return w > 0 && h > 0 && x >= 0 && y >= 0 && x + w <= kScreenWidth && y + h <= kScreenHeight;
}

bool holds(const Surface& picture, const Rect& src)
{
    return src.left >= 0 && src.top >= 0 && src.right <= picture.width() &&
           src.bottom <= picture.height();
}

// Both bars at full length, the longest they are drawn: bar 1 from bar1X,
// bar 2 ending at bar2X + width - 1. A bar too narrow to show is never drawn.
bool healthBarsFit(const Level& level)
{
    const std::int64_t length = std::int64_t{level.healthBarWidth} - 1;
    if (length < 1) return true;
    const Rect bar{0, 0, static_cast<std::int32_t>(length), level.healthBarHeight};
    return fitsScreen(level.bar1X, level.bar1Y, bar) && fitsScreen(level.bar2X, level.bar2Y, bar);
}

}  // namespace

std::unique_ptr<Level> loadLevel(LoadContext& ctx, const std::string& baseName)
{
    auto level = std::make_unique<Level>();
    level->name = baseName;
    const std::string fileName = baseName + ".level";
    LineReader file;
    if (!file.open(fileName, ctx.images.files)) throw ContentError("Level file read error", baseName);

    const std::string backgroundName = baseName + ".background.tga";
    level->background = loadTgaSurface(ctx.directDraw, ctx.images, backgroundName);
    if (!level->background) throw ContentError("Level background not found", backgroundName);
    const std::string foregroundName = baseName + ".foreground.tga";
    level->foreground = loadTgaSurface(ctx.directDraw, ctx.images, foregroundName);
    if (!level->foreground) throw ContentError("Level foreground not found", foregroundName);
    setSourceColorKey(*level->foreground, kMagenta);

    const int w = level->background->width();
    const int h = level->background->height();
    level->layerRect = Rect{0, 0, w - 1, h - 1};
    level->layerX = (kScreenWidth - (w - 1)) / 2;
    level->layerY = (kScreenHeight - (h - 1)) / 2;

    const std::string heightLine = file.nextLine();
    level->playHeight = leadingInt(heightLine);
    warnIfNoInt(ctx.images.warnings, fileName, 1, heightLine, "0");
    if (readIntPair(file.nextLine(), level->leftBound, level->rightBound) != 2)
        throw ContentError("Level walls not readable", fileName);
    level->leftBound = addClamped(level->leftBound, level->layerX);
    level->rightBound = addClamped(level->rightBound, level->layerX);

    const std::string panelBase = file.nextLine();
    const std::string panelName = panelBase + ".tga";
    level->panel = loadTgaSurface(ctx.directDraw, ctx.images, panelName);
    if (!level->panel) throw ContentError("Level panel not found", panelName);
    warnIfTrailingBlanks(ctx.images.warnings, fileName, 3, panelBase, panelName);
    const std::string healthBarBase = file.nextLine();
    const std::string healthBarName = healthBarBase + ".tga";
    level->healthBar = loadTgaSurface(ctx.directDraw, ctx.images, healthBarName);
    if (!level->healthBar) throw ContentError("Level health bar not found", healthBarName);
    warnIfTrailingBlanks(ctx.images.warnings, fileName, 4, healthBarBase, healthBarName);

    level->panelRect = Rect{0, 0, level->panel->width() - 1, level->panel->height() - 1};
    level->healthBarWidth = level->healthBar->width();
    level->healthBarHeight = level->healthBar->height();

    for (auto [x, y] : {std::pair{&level->bar1X, &level->bar1Y}, std::pair{&level->bar2X, &level->bar2Y}}) {
        const std::string line = file.nextLine();
        readIntPair(line, *x, *y);
        warnIfNoInt(ctx.images.warnings, fileName, file.lineNumber(), line, "0,0");
    }

    // Every fight frame copies these to fixed places; one that does not fit
    // the screen would drop every frame and leave the fight in the dark.
    if (!fitsScreen(level->layerX, level->layerY, level->layerRect))
        throw ContentError("Level picture does not fit the screen", backgroundName);
    if (!holds(*level->foreground, level->layerRect))
        throw ContentError("Level picture does not fit the screen", foregroundName);
    if (!fitsScreen(0, 0, level->panelRect))
        throw ContentError("Level picture does not fit the screen", panelName);
    if (!healthBarsFit(*level)) throw ContentError("Level health bars do not fit the screen", fileName);
    return level;
}

}  // namespace ib
