#include "app/name_tags.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "app/display.h"
#include "app/game_content.h"
#include "app/screen.h"
#include "graphics/tiny_font.h"
#include "fight/fight_state.h"
#include "platform/display_types.h"

namespace ib {

namespace {

constexpr int kNameHeight = 30;
constexpr int kPad = 6;
// Wide and tall enough to cover a painted name of the panel's own.
constexpr int kMinTagWidth = 150;
constexpr int kTagHeight = 38;
constexpr std::uint16_t kTagInk = toRgb565(0x181010);   // the ink of the panel's lettering
constexpr std::uint16_t kNameInk = toRgb565(0xE0F4FA);  // paper

struct Tag {
    int left = 0, top = 0, width = 0;
    std::string name;
};

std::string upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

void drawNameTags(Screen& screen, const Content& content, const FightState& fight)
{
    if (!content.roster.changed || !content.level || !screen.backBuffer) return;
    const Level& level = *content.level;
    const Font* font = screen.font(kNameHeight);
    Tag tags[2];
    for (int p = 1; p <= 2; ++p) {
        const Fighter* f = fight.fighter(p);
        Tag& tag = tags[p - 1];
        if (!f || !f->character) continue;
        tag.name = upper(f->character->name);
        tag.width = std::max(kMinTagWidth, (font ? font->measure(tag.name) : 0) + 2 * kPad);
        tag.top = std::max(0, (p == 1 ? level.bar1Y : level.bar2Y) - kTagHeight - 4);
        tag.left = p == 1 ? level.bar1X - kPad : level.bar2X + level.healthBarWidth + kPad - tag.width;
    }
    PixelTarget t;
    if (!lockAsTarget(*screen.backBuffer, t)) return;
    for (const Tag& tag : tags) {
        if (tag.name.empty()) continue;
        for (int row = std::max(tag.top, 0); row < std::min(tag.top + kTagHeight, t.height); ++row)
            for (int col = std::max(tag.left, 0); col < std::min(tag.left + tag.width, t.width); ++col)
                t.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(t.pitch) +
                         static_cast<std::size_t>(col)] = kTagInk;
    }
    screen.backBuffer->unlock();
    if (!font) return;
    const Rect whole{0, 0, t.width, t.height};
    for (int p = 0; p < 2; ++p) {
        const Tag& tag = tags[p];
        if (tag.name.empty()) continue;
        const int x = p == 0 ? tag.left + kPad : tag.left + tag.width - kPad - font->measure(tag.name);
        font->drawLine(*screen.backBuffer, x, tag.top + (kTagHeight - font->lineHeight()) / 2, tag.name, kNameInk,
                       whole);
    }
}

}  // namespace ib
