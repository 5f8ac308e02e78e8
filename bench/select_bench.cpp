// From the select screen to the fight on the default content with a third
// fighter (rook's files under another name) in the player's own content
// folder: opening the screen (which loads every fighter and stage not yet
// loaded), then the presses that choose a match and its first frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <memory>

#include "bench_game.h"
#include "app/select_screen.h"
#include "support/fixtures.h"

namespace {

namespace fs = std::filesystem;

// rook's files as "crow" (pictures linked, not copied), in a user content
// folder under a scratch folder.
struct ThirdFighter {
    ib::test::ScratchDir dir;
    ThirdFighter()
    {
        const fs::path content = dir.path() / "xdg" / "inkblot-fighter" / "content";
        fs::create_directories(content);
        for (const auto& e : fs::directory_iterator(INKBLOT_DATA_DIR)) {
            const std::string name = e.path().filename().string();
            if (!name.starts_with("rook")) continue;
            const fs::path copy = content / ("crow" + name.substr(4));
            const std::string ext = e.path().extension().string();
            if (ext == ".tga" || ext == ".wav" || ext == ".ogg") {
                fs::create_symlink(e.path(), copy);
                continue;
            }
            // The text files name crow's own files.
            std::ifstream in(e.path(), std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (std::size_t at = text.find("rook"); at != std::string::npos; at = text.find("rook", at + 4))
                text.replace(at, 4, "crow");
            ib::test::writeFile(copy.string(), text);
        }
        ::setenv("XDG_DATA_HOME", (dir.path() / "xdg").c_str(), 1);
    }
    ~ThirdFighter() { ::unsetenv("XDG_DATA_HOME"); }
};

void press(ib::Game& game, int key)
{
    ib::windowProc(game, ib::WM_KEYDOWN, static_cast<std::uint32_t>(key));
    ib::windowProc(game, ib::WM_KEYUP, static_cast<std::uint32_t>(key));
}

// F4, then player 1 takes crow (two left of rook), player 2 quill, the
// desert, and the first frame of the fight is drawn.
void BM_ChooseFighterToFight(benchmark::State& state)
{
    ThirdFighter third;
    ib::bench::InDataDir in;
    for (auto _ : state) {
        state.PauseTiming();
        auto platform = std::make_unique<ib::HeadlessPlatform>();
        auto game = std::make_unique<ib::Game>(*platform);
        game->playOptions.select = true;
        if (ib::initDisplay(*game) != ib::DD_OK) return state.SkipWithError("the default content did not load");
        state.ResumeTiming();
        press(*game, ib::kKeyMatch);
        press(*game, 'C');
        press(*game, 'C');
        press(*game, 'X');
        press(*game, ib::VK_OEM_2);
        press(*game, 'X');
        if (game->fight.gameState != ib::GameState::Fight) return state.SkipWithError("no fight started");
        platform->beginPass();
        ib::fightPass(*game);
        platform->endPass();
        state.PauseTiming();
        game.reset();
        platform.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ChooseFighterToFight)->Unit(benchmark::kMillisecond);

}  // namespace
