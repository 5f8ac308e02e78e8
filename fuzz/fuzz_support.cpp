#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "app/display.h"
#include "app/game.h"
#include "content/content_error.h"
#include "input/key_bindings.h"
#include "platform/headless_platform.h"

namespace ib::fuzz {

namespace fs = std::filesystem;

namespace {

fs::path& workDir()
{
    static fs::path dir;
    return dir;
}

fs::path& startDir()
{
    static fs::path dir;
    return dir;
}

void removeWorkDir()
{
    std::error_code ec;
    if (!workDir().empty()) fs::remove_all(workDir(), ec);
}

void fail(const std::string& what)
{
    std::fprintf(stderr, "fuzz set-up: %s\n", what.c_str());
    std::abort();
}

void writeText(const std::string& path, std::string_view text)
{
    writeInput(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// A 16-bit picture as the game reads it: rows bottom-up, pixel(x, y) with
// y = 0 the top row.
void writeTga(const std::string& path, int width, int height,
              const std::function<std::uint16_t(int, int)>& pixel)
{
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = 2;
    bytes[12] = static_cast<std::uint8_t>(width & 0xFF);
    bytes[13] = static_cast<std::uint8_t>(width >> 8);
    bytes[14] = static_cast<std::uint8_t>(height & 0xFF);
    bytes[15] = static_cast<std::uint8_t>(height >> 8);
    bytes[16] = 16;
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            const std::uint16_t p = pixel(x, row);
            bytes.push_back(static_cast<std::uint8_t>(p & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(p >> 8));
        }
    }
    writeInput(path, bytes.data(), bytes.size());
}

constexpr std::uint16_t tgaRgb(int r, int g, int b)
{
    return static_cast<std::uint16_t>((r << 10) | (g << 5) | b);
}
constexpr std::uint16_t kMagentaPixel = tgaRgb(31, 0, 31);

void writeValidSet()
{
    // Pictures: a body in the middle columns, a strike (value 3) reaching
    // out on row 2.
    writeTga("pic.tga", 8, 8, [](int x, int) { return x >= 2 && x < 6 ? tgaRgb(0, 0, 20) : kMagentaPixel; });
    writeTga("pic.mask.tga", 8, 8, [](int x, int y) {
        const int body = x >= 2 && x < 6 ? 31 : 0;
        const int strike = y == 2 && x < 2 ? 3 : 0;
        return tgaRgb(body, strike, 0);
    });
    writeTga("wide.tga", 16, 4, [](int x, int) { return tgaRgb(x, 0, 0); });
    writeTga("wide.mask.tga", 4, 4, [](int x, int y) { return tgaRgb(31, y == x ? 5 : 0, 0); });
    // The Mask target writes its input as this picture's mask.
    writeTga("masked.tga", 8, 8, [](int x, int) { return x >= 2 && x < 6 ? tgaRgb(20, 0, 0) : kMagentaPixel; });
    writeTga("nomask.tga", 4, 4, [](int, int) { return tgaRgb(1, 1, 1); });
    // The two levels' pictures: "arena" for the fights, "fuzz" for the
    // Level target's input.
    for (const char* level : {"arena", "fuzz"}) {
        writeTga(std::string(level) + ".background.tga", 16, 12, [](int x, int y) { return tgaRgb(x, y, 3); });
        writeTga(std::string(level) + ".foreground.tga", 16, 12,
                 [](int, int y) { return y > 9 ? tgaRgb(2, 2, 2) : kMagentaPixel; });
    }
    writeTga("panel.tga", 16, 4, [](int, int) { return tgaRgb(4, 4, 4); });
    writeTga("bar.tga", 8, 2, [](int, int) { return tgaRgb(0, 31, 0); });

    const std::pair<const char*, const char*> texts[] = {
        {"f.Frame", "pic\n100\n4,7\n2,0\n2,6\n"},
        {"g.Frame", "pic\n40\n4,7\n-3,-1\n1,7\n"},
        {"w.Frame", "wide\n60\n8,3\n0,1\n4,12\n"},
        {"still.Frame", "pic\n0\n4,7\n"},
        {"nomask-f.Frame", "nomask\n10\n"},
        {"loop.Animation", "1\nf\ng\n"},
        {"once.Animation", "0\nf\nw\ng\n"},
        {"zero.Animation", "1\nstill\n"},
        {"empty.Animation", "0\n"},
        {"jab.Move", "once\n5\n12.5\nf\nfa\n"},
        {"kick.Move", "once\n3\n-2.5\nd\nda\n"},
        {"walk.Move", "loop\n1\n0\nf*\n"},
        {"stand.Move", "loop\n0\n0\n"},
        {"broken.Move", "zero\n1\n0\n"},
        {"both.Character", "loop\njab\nkick\nwalk\nstand\n"},
        {"arena.level", "10\n0,15\npanel\nbar\n1,1\n20,1\n"},
        // Wrappers that play each target's input in a fight.
        {"fuzz-frame.Animation", "1\nfuzz\n"},
        {"fuzz-frame.Move", "fuzz-frame\n0\n0\n"},
        {"fuzz-frame.Character", "loop\njab\nfuzz-frame\n"},
        {"fuzz-anim.Move", "fuzz\n2\n10\n"},
        {"fuzz-anim.Character", "loop\njab\nfuzz-anim\n"},
        {"fuzz-move.Character", "loop\nfuzz\nwalk\nstand\n"},
        {"masked-f.Frame", "masked\n100\n4,7\n1,0\n2,6\n"},
        {"masked.Animation", "1\nmasked-f\nf\n"},
        {"masked.Move", "masked\n0\n0\n"},
        {"fuzz-mask.Character", "masked\njab\nmasked\n"},
    };
    for (const auto& [name, text] : texts) writeText(name, text);
}

ImageRegistry& pictures()
{
    static ImageRegistry registry;
    return registry;
}

void loadValidPictures()
{
    static auto device = std::make_shared<DisplayDevice>();
    for (const char* name : {"pic", "wide", "nomask", "masked", "arena.background", "arena.foreground",
                             "fuzz.background", "fuzz.foreground", "panel", "bar"}) {
        if (!loadTgaSurface(*device, pictures(), name + std::string(".tga"))) fail(name);
    }
    for (const char* name : {"pic", "wide"})
        if (!loadHitMask(pictures(), name + std::string(".mask.tga"))) fail(name);
}

}  // namespace

const ImageRegistry& validPictures() { return pictures(); }

void setUp()
{
    if (!workDir().empty()) return;
    startDir() = fs::current_path();
    // In memory where there is such a place: a file written again and again
    // on a disk file system is flushed on every close.
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                              ? fs::path("/dev/shm")
                              : fs::temp_directory_path();
    std::string pattern = (base / "inkblot-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) fail("cannot make a temporary directory");
    workDir() = pattern;
    std::atexit(removeWorkDir);
    InWorkDir in;
    writeValidSet();
    loadValidPictures();
}

InWorkDir::InWorkDir()
{
    if (::chdir(workDir().c_str()) != 0) fail("cannot change into " + workDir().string());
}

InWorkDir::~InWorkDir()
{
    if (::chdir(startDir().c_str()) != 0) fail("cannot change back into " + startDir().string());
}

void writeInput(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) fail("cannot write " + path);
    if (size && std::fwrite(data, 1, size, f) != size) fail("cannot write " + path);
    std::fclose(f);
}

bool asksForTooManyPixels(const std::uint8_t* data, std::size_t size)
{
    // Header bytes a short file lacks read as 0.
    auto byte = [&](std::size_t i) -> long { return i < size ? data[i] : 0; };
    return (byte(12) | byte(13) << 8) * (byte(14) | byte(15) << 8) > kMaxFuzzPixels;
}

void checkMessage(const ContentError& error)
{
    const std::string_view text = error.what();
    const std::size_t open = text.find('<');
    if (open == 0 || open == std::string_view::npos || text.back() != '>') {
        std::fprintf(stderr, "unclear message: %.*s\n", static_cast<int>(text.size()), text.data());
        std::abort();
    }
}

namespace {

constexpr int kFightPasses = 16;

// The two pages of the screen, made once: making them for every input
// would cost more than the rest of the run.
struct Screen {
    std::shared_ptr<DisplayDevice> device = std::make_shared<DisplayDevice>();
    std::shared_ptr<Surface> primary;
    std::shared_ptr<Surface> back;
    Screen()
    {
        if (device->createSurface(800, 600, primary) != DD_OK ||
            device->createSurface(800, 600, back) != DD_OK)
            fail("no screen");
        primary->attachBackBuffer(back);
    }
};

// What the fights take from the valid set, loaded once (in the working
// directory): the arena and the Character "both" are the same for every
// input.
struct ValidSide {
    Loader loader;
    std::unique_ptr<Level> arena;
    std::unique_ptr<Character> both;
    ValidSide()
    {
        arena = loadLevel(loader.ctx, "arena");
        both = loadCharacter(loader.ctx, "both");
    }
};

void playFight(const Level& level, const Character& left, const Character& right)
{
    static Screen screen;
    HeadlessPlatform platform(1000, 16);
    Game game(platform);
    game.screen.directDraw = screen.device;
    game.screen.primarySurface = screen.primary;
    game.screen.backBuffer = screen.back;
    game.screen.clearPending = false;
    game.appActive = true;
    game.fight.gameState = GameState::Fight;
    game.content.level = std::make_unique<Level>(level);
    game.fight.fighter1.emplace(left, *game.content.level, Side::Left);
    game.fight.fighter2.emplace(right, *game.content.level, Side::Right);

    // Both players' keys, pressed and released in a fixed pseudo-random order.
    const auto keys = keyBindings();
    std::uint32_t random = 12345;
    for (int pass = 0; pass < kFightPasses; ++pass) {
        platform.beginPass();
        random = random * 214013u + 2531011u;
        const auto key = static_cast<std::uint32_t>(keys[(random >> 16) % keys.size()].virtualKey);
        windowProc(game, (random >> 28) & 1 ? WM_KEYDOWN : WM_KEYUP, key);
        fightPass(game);
        platform.endPass();
    }

    // Then the computer on both sides, knowing both Characters from their
    // files alone.
    game.content.knowledge.clear();
    game.content.knowledge.push_back(learnMoves(left));
    game.content.knowledge.push_back(learnMoves(right));
    game.fight = FightState{};
    game.fight.gameState = GameState::Fight;
    game.fight.mode = PlayMode::VersusComputer;
    game.fight.computer[0].level = 5;
    game.fight.computer[1].level = 2;
    game.fight.computerRandom.seed(7);
    game.fight.fighter1.emplace(left, *game.content.level, Side::Left);
    game.fight.fighter2.emplace(right, *game.content.level, Side::Right);
    for (int pass = 0; pass < kFightPasses; ++pass) {
        platform.beginPass();
        fightPass(game);
        platform.endPass();
    }
}

}  // namespace

ValidSide& validSide()
{
    static ValidSide valid;
    return valid;
}

const Character& validCharacter() { return *validSide().both; }

void fight(const Character& character, const Level* level)
{
    playFight(level ? *level : *validSide().arena, character, *validSide().both);
}

void fight(Loader& loader, const std::string& name)
{
    try {
        fight(*loadCharacter(loader.ctx, name));
    } catch (const ContentError& e) {
        checkMessage(e);
    }
}

}  // namespace ib::fuzz
