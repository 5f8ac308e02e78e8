// What the game draws with, for the whole run: the display and its pages,
// every picture surface made (restored together after a loss), the screen
// pictures and fonts, training's overlays and the notice line. Drawing
// takes this, the content and a const view of the fight; never the Game.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "content/images.h"
#include "graphics/mask_outline.h"
#include "platform/font.h"
#include "platform/platform.h"

namespace ib {

struct Screen {
    explicit Screen(Platform& p) : platform(p) {}

    // The window, the clock the notice runs on, and where frames are shown.
    Platform& platform;
    bool mainWindow = false;  // the window exists
    // "slow" on the command line: fight frames are drawn without the
    // level's foreground.
    bool slowMode = false;

    // --- display ------------------------------------------------------------
    std::shared_ptr<DisplayDevice> directDraw;
    std::shared_ptr<Surface> primarySurface;
    std::shared_ptr<Surface> backBuffer;
    // Every picture surface made from a file, restored after a loss.
    ImageRegistry images;
    // Both pages are painted black before the next fight frame.
    bool clearPending = true;
    // Where each fighter was last drawn (fighter 1, fighter 2); only traces
    // read it.
    Rect screenRect[2];
    // Pictures named by no content file that were missing, each said once.
    std::vector<std::string> reportedMissing;

    // --- screen pictures and lettering -------------------------------------
    std::shared_ptr<Surface> quoteSurface;
    std::shared_ptr<Surface> splashSurface;
    std::shared_ptr<Surface> endSurface;
    std::unique_ptr<Font> quoteFont;
    // The quote font at a line height, opened when first asked for; null
    // when the machine has no such font.
    const Font* font(int height)
    {
        auto& f = fonts[height];
        if (!f) f = Font::openQuoteFont(height);
        return f.get();
    }
    std::map<int, std::unique_ptr<Font>> fonts;

    // --- overlays -------------------------------------------------------------
    // Training's overlays, drawn over the frame before it is presented.
    bool showHitMasks = false;
    bool showInputs = false;
    bool showFrameData = false;
    std::map<const HitMask*, MaskOutline> maskOutlines;  // made when first shown
    // Player 2's pictures in a fighter's fight against itself, by picture.
    std::map<const Surface*, std::shared_ptr<Surface>> secondColours;
    // A line at the bottom of the screen (a pad came or went) until the
    // platform's clock reaches noticeUntil; drawn over the finished frame.
    std::string notice;
    std::uint32_t noticeUntil = 0;
};

}  // namespace ib
