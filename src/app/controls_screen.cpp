#include "app/controls_screen.h"

#include "app/responder.h"

#include <algorithm>

#include "app/controls_io.h"
#include "app/display.h"
#include "app/game.h"
#include "app/notice.h"
#include "platform/input_names.h"

namespace ib {

namespace {

// The splash screen's paper and inks (colour values are 0x00BBGGRR).
constexpr std::uint16_t kPaper = toRgb565(0xBDE3F7);
constexpr std::uint16_t kInk = toRgb565(0x181010);
constexpr std::uint16_t kGreyInk = toRgb565(0x707070);
constexpr std::uint16_t kRedInk = toRgb565(0x1820D0);
constexpr std::uint16_t kBlueInk = toRgb565(0x842010);
constexpr Rect kWhole{0, 0, kScreenWidth - 1, kScreenHeight - 1};

int playerOf(int step) { return step / kActionCount + 1; }
Action actionOf(int step) { return kActions[static_cast<std::size_t>(step % kActionCount)]; }

void fill(Surface& back, const Rect& r, std::uint16_t colour)
{
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    if (back.lock(pixels, pitch) != DD_OK) return;
    for (int y = std::max(0, r.top); y < std::min(back.height(), r.bottom); ++y) {
        std::uint16_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch / 2);
        std::fill(row + std::max(0, r.left), row + std::min(back.width(), r.right), colour);
    }
    back.unlock();
}

void text(Surface& back, const Font* font, int x, int y, std::string_view s, std::uint16_t colour)
{
    if (font) font->drawLine(back, x, y, s, colour, kWhole);
}

void centred(Surface& back, const Font* font, int y, std::string_view s, std::uint16_t colour)
{
    if (font) text(back, font, (kScreenWidth - font->measure(s)) / 2, y, s, colour);
}

void advance(Game& game)
{
    ControlsScreen& screen = *game.controllers.controlsScreen;
    screen.refusal.clear();
    if (++screen.step < kControlsSteps) return;
    game.controllers.controls = screen.editing;
    game.controllers.keys = keyTable(game.controllers.controls);
    game.controllers.controlsScreen.reset();
    showNotice(game.screen, saveControls(game) ? "Controls saved" : "Controls kept until the game closes");
}

}  // namespace

void openControlsScreen(Game& game)
{
    game.controllers.controlsScreen = std::make_unique<ControlsScreen>();
    game.controllers.controlsScreen->editing = game.controllers.controls;
    game.controllers.controlsScreen->titleFont = Font::openQuoteFont(56);
}

void controlsKey(Game& game, int virtualKey)
{
    ControlsScreen& screen = *game.controllers.controlsScreen;
    if (virtualKey == VK_ESCAPE) return advance(game);
    const int player = playerOf(screen.step);
    const Action action = actionOf(screen.step);
    if (keyNameOf(virtualKey).empty() || virtualKey == VK_F12) {
        screen.refusal = "That key cannot be used";
        return;
    }
    if (std::string owner = keyOwner(screen.editing, virtualKey, player, action); !owner.empty()) {
        screen.refusal = keyLabel(virtualKey) + " is taken: " + owner;
        return;
    }
    screen.editing.keys[static_cast<std::size_t>(player - 1)][static_cast<std::size_t>(action)] = virtualKey;
    advance(game);
}

void controlsPadButton(Game& game, int button)
{
    ControlsScreen& screen = *game.controllers.controlsScreen;
    const int player = playerOf(screen.step);
    const Action action = actionOf(screen.step);
    if (padButtonName(button).empty()) return;
    if (std::string owner = padButtonOwner(screen.editing, button, player, action); !owner.empty()) {
        screen.refusal = "Pad " + padButtonName(button) + " is taken: " + owner;
        return;
    }
    screen.editing.padButtons[static_cast<std::size_t>(player - 1)][static_cast<std::size_t>(action)] = button;
    advance(game);
}

void drawControlsScreen(Screen& screen, const Controllers& controllers)
{
    if (screen.backBuffer && controllers.controlsScreen) {
        Surface& back = *screen.backBuffer;
        const ControlsScreen& editor = *controllers.controlsScreen;
        const Font* font = screen.quoteFont.get();
        const Font* title = editor.titleFont ? editor.titleFont.get() : font;
        fill(back, kWhole, kPaper);
        centred(back, title, 24, "Controls", kInk);
        centred(back, font, 100, "each player in turn: a key or a pad button for each action", kGreyInk);

        const int current = editor.step;
        for (int player = 1; player <= 2; ++player) {
            const int left = player == 1 ? 40 : 420;
            const std::uint16_t colour = player == 1 ? kInk : kBlueInk;
            text(back, font, left, 150, player == 1 ? "PLAYER 1" : "PLAYER 2", colour);
            fill(back, Rect{left, 178, left + 330, 180}, colour);
            text(back, font, left + 150, 188, "key", kGreyInk);
            text(back, font, left + 250, 188, "pad", kGreyInk);
            for (int i = 0; i < kActionCount; ++i) {
                const int step = (player - 1) * kActionCount + i;
                const auto p = static_cast<std::size_t>(player - 1);
                const auto a = static_cast<std::size_t>(i);
                const int y = 222 + i * 34;
                const std::uint16_t ink = step == current ? kRedInk : kInk;
                if (step == current) text(back, font, left, y, ">", kRedInk);
                text(back, font, left + 20, y, actionName(kActions[a]), ink);
                text(back, font, left + 150, y, keyLabel(editor.editing.keys[p][a]), ink);
                text(back, font, left + 250, y, padButtonName(editor.editing.padButtons[p][a]), ink);
            }
        }
        const int player = playerOf(current);
        const Action action = actionOf(current);
        const int oldKey = controllers.controls.keys[static_cast<std::size_t>(player - 1)][static_cast<std::size_t>(action)];
        centred(back, font, 450,
                "Player " + std::to_string(player) + ": press the key or pad button for " +
                    std::string(actionName(action)),
                kInk);
        centred(back, font, 484, "Esc keeps " + keyLabel(oldKey), kGreyInk);
        if (!editor.refusal.empty()) centred(back, font, 524, editor.refusal, kRedInk);
    }
    drawNotice(screen);
    present(screen);
}

namespace {

// Open over the splash screen, it takes every key (but F12) and pad button;
// F1 on the splash screen opens it.
class ControlsKeys : public Responder {
    Response respond(Game& game, const Message& m, bool repeat) override
    {
        if (m.message == WM_PADBUTTONDOWN && game.controllers.controlsScreen) {
            controlsPadButton(game, padCode(m.wParam));
            return Response::Taken;
        }
        if (m.message != WM_KEYDOWN) return Response::Pass;
        const auto key = static_cast<int>(m.wParam);
        if (game.controllers.controlsScreen && key != VK_F12) {
            if (!repeat) controlsKey(game, key);
            return Response::TakenWithKeyUp;
        }
        if (game.fight.gameState == GameState::Splash && key == VK_F1) {
            openControlsScreen(game);
            return Response::TakenWithKeyUp;
        }
        return Response::Pass;
    }
};

}  // namespace

std::unique_ptr<Responder> controlsScreenResponder() { return std::make_unique<ControlsKeys>(); }

}  // namespace ib
