#include "support/tiny_game.h"

#include "support/fixtures.h"

namespace ib::test {

namespace {

// A fighter picture: 60 x 100, body in columns 20..39, magenta around it.
void writePose(const std::string& name, bool fist)
{
    auto body = [](int x, int) { return x >= 20 && x < 40; };
    writeTga(name + ".tga", 60, 100, [&](int x, int y) {
        if (body(x, y)) return tgaRgb(0, 0, 0);
        if (fist && y >= 30 && y < 40 && x < 20) return tgaRgb(10, 0, 0);
        return kTgaMagenta;
    });
    // Body red 31; the fist (columns 0..19, rows 30..39) strikes with value 1.
    writeTga(name + ".mask.tga", 60, 100, [&](int x, int y) {
        int red = body(x, y) ? 31 : 0;
        int green = (fist && y >= 30 && y < 40 && x < 20) ? 1 : 0;
        return tgaRgb(red, green, 0);
    });
}

void writeCharacter(const std::string& who, double damage)
{
    writePose(who + "_pose", false);
    writePose(who + "_fist", true);
    writeFile(who + "_stand.Frame", who + "_pose\n100\n30,99\n0,0\n20,40\n");
    // Stored pictures face toward smaller x: a negative dx steps forward.
    writeFile(who + "_step.Frame", who + "_pose\n50\n30,99\n-20,0\n20,40\n");
    writeFile(who + "_punch.Frame", who + "_fist\n300\n30,99\n0,0\n20,40\n");
    writeFile(who + "_stand.Animation", "1\n" + who + "_stand\n");
    writeFile(who + "_walk.Animation", "1\n" + who + "_step\n" + who + "_step\n");
    writeFile(who + "_punch.Animation", "0\n" + who + "_punch\n");
    writeFile(who + "_stand.Move", who + "_stand\n0\n0\n");
    writeFile(who + "_walk.Move", who + "_walk\n1\n0\nf\n");
    writeFile(who + "_punch.Move", who + "_punch\n5\n" + std::to_string(damage) + "\na\n");
    writeFile(who + ".Character",
              who + "_stand\n" + who + "_walk\n" + who + "_punch\n" + who + "_stand\n");
}

}  // namespace

void writeTinyGame(const TinyGameOptions& options)
{
    writeSolidTga("desert.background.tga", 800, 600, tgaRgb(16, 16, 16));
    // Foreground: a black strip along the bottom, magenta elsewhere.
    writeTga("desert.foreground.tga", 800, 600,
             [](int, int y) { return y >= 560 ? tgaRgb(0, 0, 0) : kTgaMagenta; });
    writeSolidTga("panel.tga", 800, 40, tgaRgb(31, 31, 31));
    writeSolidTga("bar.tga", 201, 10, tgaRgb(31, 0, 0));
    writeFile("desert.level", "500\n0,799\npanel\nbar\n10,10\n500,10\n");
    writeCharacter("rook", options.punchDamage);
    writeCharacter("quill", options.punchDamage);
    if (options.screens) {
        writeSolidTga("splash.tga", 800, 600, tgaRgb(0, 0, 31));
        writeSolidTga("endsplash.tga", 800, 600, tgaRgb(0, 31, 0));
        writeSolidTga("pink.screen.tga", 127, 200, kTgaMagenta);
    }
    if (options.quotes) writeFile("stuff.quotes", "Ink never dries.\n\nBlot out!\n");
}

TinyRun::TinyRun(std::vector<ScriptEvent> script, long long maxPasses)
    : game(std::make_unique<Game>(platform))
{
    platform.setScript(std::move(script));
    platform.setMaxPasses(maxPasses);
}

int TinyRun::run() { return runGame(*game); }

ScriptEvent keyDown(std::uint32_t t, int vk) { return {t, ScriptEvent::Kind::KeyDown, vk}; }
ScriptEvent keyUp(std::uint32_t t, int vk) { return {t, ScriptEvent::Kind::KeyUp, vk}; }
ScriptEvent event(std::uint32_t t, ScriptEvent::Kind kind, int value) { return {t, kind, value}; }

}  // namespace ib::test
