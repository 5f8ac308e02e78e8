// The select screen drawn: the fighters' portraits (the content's own
// NAME.portrait.tga, else the top of the fighter's first stance frame) with
// "random" after them, each player's cursor, the stages, the computer's
// level, and the message of a fighter or stage that cannot be loaded.
#include <algorithm>
#include <string>

#include "app/display.h"
#include "app/game.h"
#include "app/level_choice.h"
#include "app/notice.h"
#include "app/roster.h"
#include "app/select_screen.h"
#include "graphics/render.h"

namespace ib {

namespace {

constexpr int kColumns = kSelectColumns;
// Two rows of boxes this high fit above the lines under them; more rows
// share the same height.
constexpr int kBoxW = 110, kBoxH = 140, kGap = 12, kGridHeight = 2 * kBoxH + kGap;
constexpr int kGridLeft = (kScreenWidth - kColumns * kBoxW - (kColumns - 1) * kGap) / 2;
constexpr int kGridTop = 84;
const std::uint16_t kBackColour = toRgb565(rgb(40, 32, 24));
const std::uint16_t kBoxColour = toRgb565(rgb(251, 240, 221));  // the paper of the splash card
const std::uint16_t kGreyColour = toRgb565(rgb(112, 112, 112));
const std::uint16_t kSeatColour[2] = {toRgb565(rgb(224, 48, 32)), toRgb565(rgb(32, 96, 224))};
const std::uint16_t kTextColour = toRgb565(rgb(240, 240, 240));

void fill(Surface& s, Rect r, std::uint16_t colour)
{
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    if (s.lock(pixels, pitch) != DD_OK) return;
    for (int y = std::max(0, r.top); y < std::min(r.bottom, s.height()); ++y)
        for (int x = std::max(0, r.left); x < std::min(r.right, s.width()); ++x)
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch / 2) + static_cast<std::size_t>(x)] = colour;
    s.unlock();
}

void frame(Surface& s, Rect r, int width, std::uint16_t colour)
{
    fill(s, {r.left, r.top, r.right, r.top + width}, colour);
    fill(s, {r.left, r.bottom - width, r.right, r.bottom}, colour);
    fill(s, {r.left, r.top, r.left + width, r.bottom}, colour);
    fill(s, {r.right - width, r.top, r.right, r.bottom}, colour);
}

// The box of a place among `count` (random included).
Rect boxAt(int place, int count)
{
    const int rows = std::max(1, (count + kColumns - 1) / kColumns);
    const int height = rows <= 2 ? kBoxH : std::max(32, (kGridHeight - (rows - 1) * kGap) / rows);
    const int x = kGridLeft + (place % kColumns) * (kBoxW + kGap);
    const int y = kGridTop + (place / kColumns) * (height + kGap);
    return {x, y, x + kBoxW, y + height};
}

void text(Screen& screen, int height, int x, int y, const std::string& line, std::uint16_t colour, bool centred = false)
{
    const Font* font = screen.font(height);
    if (!font || !screen.backBuffer || line.empty()) return;
    if (centred) x -= font->measure(line) / 2;
    font->drawLine(*screen.backBuffer, x, y, line, colour, Rect{0, 0, kScreenWidth, kScreenHeight});
}

// The first row of the picture that is not all colour key: where the
// fighter's head is.
int topOfFigure(Surface& s)
{
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    if (!s.hasColorKey() || s.lock(pixels, pitch) != DD_OK) return 0;
    int top = 0;
    for (int y = 0; y < s.height() && top == 0; ++y)
        for (int x = 0; x < s.width(); ++x)
            if (pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch / 2) + static_cast<std::size_t>(x)] !=
                s.colorKey()) {
                top = y;
                break;
            }
    s.unlock();
    return top;
}

void drawPortrait(Screen& screen, const RosterFighter& f, Rect box)
{
    Surface& back = *screen.backBuffer;
    const Rect inner{box.left + 4, box.top + 4, box.right - 4, box.bottom - 24};
    if (f.portrait) {
        const int w = std::min(f.portrait->width(), inner.right - inner.left);
        const int h = std::min(f.portrait->height(), inner.bottom - inner.top);
        back.bltFast(inner.left, inner.top, *f.portrait, Rect{0, 0, w, h}, DDBLTFAST_SRCCOLORKEY);
        return;
    }
    if (!f.character || !f.character->animation || f.character->animation->frames.empty()) return;
    const Frame* first = f.character->animation->frames.front().get();
    if (!first || !first->image || !first->image->surface) return;
    const Image& image = *first->image;
    const PlayArea area{inner.left, inner.right - 1, inner.top, inner.bottom - inner.top - 1};
    Rect drawn;
    drawClipped(back, area, image, (inner.left + inner.right - image.width) / 2, inner.top + 2 - topOfFigure(*image.surface),
                -1, drawn);
}

void drawFighters(Screen& screen, const Roster& r, const SelectScreen& s)
{
    Surface& back = *screen.backBuffer;
    const int count = static_cast<int>(r.fighters.size());
    for (int i = 0; i <= count; ++i) {
        const Rect box = boxAt(i, count + 1);
        const bool usable = i == count || r.fighters[static_cast<std::size_t>(i)].character;
        fill(back, box, usable ? kBoxColour : kGreyColour);
        if (i < count) drawPortrait(screen, r.fighters[static_cast<std::size_t>(i)], box);
        else text(screen, 40, (box.left + box.right) / 2, (box.top + box.bottom - 22) / 2 - 22, "?", kSeatColour[0], true);
        const std::string name = i < count ? r.fighters[static_cast<std::size_t>(i)].name : "random";
        fill(back, {box.left, box.bottom - 22, box.right, box.bottom}, usable ? toRgb565(rgb(24, 16, 16)) : toRgb565(rgb(64, 64, 64)));
        text(screen, 16, (box.left + box.right) / 2, box.bottom - 20, name, usable ? kTextColour : kGreyColour, true);
    }
    for (int seat = 0; seat < (s.online ? 1 : 2); ++seat) {
        const int place = s.taken[seat] >= 0 ? s.taken[seat] : s.cursor[seat];
        const bool active = s.taken[seat] < 0 && (s.mode == PlayMode::TwoPlayers || selectSeat(s, 1) == seat);
        if (!active && s.taken[seat] < 0) continue;
        Rect box = boxAt(place, count + 1);
        const int out = 4 + seat * 5;
        box = {box.left - out, box.top - out, box.right + out, box.bottom + out};
        frame(back, box, s.taken[seat] >= 0 ? 5 : 3, kSeatColour[seat]);
        text(screen, 16, box.left + 2 + seat * 60, box.top - 18, seat == 0 ? "P1" : "P2", kSeatColour[seat]);
    }
}

std::string seatLine(const Roster& r, const SelectScreen& s, int seat)
{
    const char* who = s.online ? "You" : seat == 0 ? "Player 1" : s.mode == PlayMode::VersusComputer ? "The computer" : s.mode == PlayMode::Training ? "The dummy" : "Player 2";
    const int place = s.taken[seat] >= 0 ? s.taken[seat] : s.cursor[seat];
    const std::string name = place < static_cast<int>(r.fighters.size()) ? r.fighters[static_cast<std::size_t>(place)].name : "random";
    return std::string(who) + (s.taken[seat] >= 0 ? ": " : " chooses: ") + name;
}

// The message of the fighter or stage under a cursor that cannot be loaded.
std::string faultShown(const Roster& r, const SelectScreen& s)
{
    if (s.step == SelectStep::Fighters) {
        for (int seat = 0; seat < 2; ++seat) {
            const int c = s.cursor[seat];
            if (s.taken[seat] < 0 && c < static_cast<int>(r.fighters.size()) && !r.fighters[static_cast<std::size_t>(c)].error.empty())
                return r.fighters[static_cast<std::size_t>(c)].error;
        }
        return {};
    }
    if (s.stage < static_cast<int>(r.stages.size())) return r.stages[static_cast<std::size_t>(s.stage)].error;
    return {};
}

void drawStages(Screen& screen, const Roster& r, const SelectScreen& s)
{
    Surface& back = *screen.backBuffer;
    const int count = static_cast<int>(r.stages.size());
    for (int i = 0; i <= count; ++i) {
        const Rect box = boxAt(i, count + 1);
        const RosterStage* stage = i < count ? &r.stages[static_cast<std::size_t>(i)] : nullptr;
        fill(back, box, !stage || stage->level ? kBoxColour : kGreyColour);
        if (stage && stage->level && stage->level->background) {
            Surface& bg = *stage->level->background;
            const int w = std::min(bg.width(), kBoxW - 8), h = std::min(bg.height(), box.bottom - box.top - 28);
            const int x = std::max(0, (bg.width() - w) / 2), y = std::max(0, (bg.height() - h) / 2);
            back.bltFast(box.left + 4, box.top + 4, bg, Rect{x, y, x + w, y + h}, DDBLTFAST_NOCOLORKEY);
        }
        fill(back, {box.left, box.bottom - 22, box.right, box.bottom}, toRgb565(rgb(24, 16, 16)));
        text(screen, 16, (box.left + box.right) / 2, box.bottom - 20, stage ? stage->name : "random",
             !stage || stage->level ? kTextColour : kGreyColour, true);
    }
    Rect box = boxAt(s.stage, count + 1);
    frame(back, {box.left - 4, box.top - 4, box.right + 4, box.bottom + 4}, s.step == SelectStep::Stage ? 3 : 5, kSeatColour[0]);
}

}  // namespace

void selectPass(Game& game)
{
    Screen& screen = game.screen;
    if (!game.selectScreen || !screen.backBuffer) return;
    SelectScreen& s = *game.selectScreen;
    ++s.passes;
    const Roster& r = game.content.roster;
    fill(*screen.backBuffer, {0, 0, kScreenWidth, kScreenHeight}, kBackColour);
    static const char* const kTitles[] = {"Choose your fighter", "Choose the stage", "The computer's level"};
    const bool hostsStage = s.online && s.step == SelectStep::Stage;
    text(screen, 30, kScreenWidth / 2, 14, hostsStage ? "Choose the stage (if you host)" : kTitles[static_cast<int>(s.step)],
         kTextColour, true);
    if (s.step == SelectStep::Fighters) drawFighters(screen, r, s);
    else drawStages(screen, r, s);
    int y = 390;
    for (int seat = 0; seat < (s.online ? 1 : 2); ++seat, y += 26) text(screen, 20, 60, y, seatLine(r, s, seat), kSeatColour[seat]);
    if (s.step == SelectStep::Level)
        for (int l = 1; l <= 5; ++l)
            text(screen, 20, 470, 382 + l * 22, std::string(l == s.level ? "> " : "   ") + std::to_string(l) + "  " + computerLevelName(l),
                 l == s.level ? kSeatColour[0] : kTextColour);
    if (const std::string fault = faultShown(r, s); !fault.empty()) text(screen, 16, 60, 450, fault, toRgb565(rgb(240, 160, 64)));
    text(screen, 16, kScreenWidth / 2, 560, "move with your keys or pad, attack takes, block goes back, Escape leaves",
         kTextColour, true);
    drawNotice(screen);
    present(screen);
}

}  // namespace ib
