#include "app/splash_lettering.h"

#include "app/screen.h"
#include "platform/input_names.h"

namespace ib {

namespace {

constexpr std::uint16_t kVermilion = toRgb565(0x1828D8);
constexpr std::uint16_t kWash = toRgb565(0x606870);
constexpr Rect kWhole{0, 0, kScreenWidth - 1, kScreenHeight - 1};

// Where the picture's key columns are: each player's column, its first
// line and the distance between lines, in the order of the actions.
constexpr int kColumnRight[2] = {118, 503};
constexpr int kFirstKeyY = 210;
constexpr int kKeyLine = 28;

}  // namespace

std::vector<SplashText> splashLettering(const Controls& controls, bool soundOn)
{
    std::vector<SplashText> out;
    for (std::size_t p = 0; p < 2; ++p)
        for (std::size_t a = 0; a < kActions.size(); ++a)
            out.push_back({kColumnRight[p], kFirstKeyY + static_cast<int>(a) * kKeyLine, true, false, 27, kVermilion,
                           keyLabel(controls.keys[p][a])});
    out.push_back({400, 536, false, true, 26, kVermilion,
                   "F2  against the computer     F3  training     F4  a match"});
    out.push_back({400, 566, false, true, 22, kWash,
                   std::string("F1 controls     F5 online     F10 sound: ") + (soundOn ? "on" : "off") + "     Esc quits"});
    return out;
}

void drawSplashLettering(Screen& screen, const std::vector<SplashText>& lettering)
{
    if (!screen.backBuffer) return;
    for (const SplashText& t : lettering) {
        const Font* font = screen.font(t.height);
        if (!font) continue;
        const int width = font->measure(t.text);
        const int x = t.centred ? t.x - width / 2 : t.rightAligned ? t.x - width : t.x;
        font->drawLine(*screen.backBuffer, x, t.y, t.text, t.colour, kWhole);
    }
}

}  // namespace ib
