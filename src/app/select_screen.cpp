#include "app/select_screen.h"

#include <vector>

#include "app/controls_io.h"
#include "app/game.h"
#include "app/lobby_screen.h"
#include "app/matchup.h"
#include "app/roster.h"
#include "fight/cpu_player.h"

namespace ib {

namespace {

int fighterCount(const Game& game) { return static_cast<int>(game.content.roster.fighters.size()); }
int stageCount(const Game& game) { return static_cast<int>(game.content.roster.stages.size()); }

// A whole number from the seed (or the passes) and what is being drawn.
std::uint32_t randomNumber(const Game& game, std::uint32_t salt)
{
    const SelectScreen& s = *game.selectScreen;
    std::uint64_t z = (game.playOptions.seed ? *game.playOptions.seed : s.passes) + 0x9E3779B97F4A7C15ull * (salt + 1);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}

// One of those that can be chosen, drawn at random; -1 when none can be.
template <class Usable>
int randomPlace(const Game& game, int count, std::uint32_t salt, Usable usable)
{
    std::vector<int> places;
    for (int i = 0; i < count; ++i)
        if (usable(i)) places.push_back(i);
    if (places.empty()) return -1;
    return places[randomNumber(game, salt) % places.size()];
}

// The choices, for the next time the screen opens and in the controls file.
void remember(Game& game, const std::string& p1, const std::string& p2, const std::string& stage, int level)
{
    PlayOptions& o = game.playOptions;
    o.lastFighter[0] = p1;
    o.lastFighter[1] = p2;
    o.lastStage = stage;
    if (level) o.lastLevel = level;
    std::vector<std::pair<std::string, std::string>> entries{{"p1", p1}, {"p2", p2}, {"stage", stage}};
    if (level) entries.emplace_back("level", std::to_string(level));
    rememberPlayChoices(game, entries, "the choices are");
}

void begin(Game& game)
{
    SelectScreen s = *game.selectScreen;
    Roster& r = game.content.roster;
    int stage = s.stage;
    if (stage >= stageCount(game))
        stage = randomPlace(game, stageCount(game), 2, [&](int i) { return r.stages[static_cast<std::size_t>(i)].level != nullptr; });
    const Character* c1 = rosterFighter(game, static_cast<std::size_t>(s.taken[0]));
    const Level* level = stage >= 0 ? rosterStage(game, static_cast<std::size_t>(stage)) : nullptr;
    if (s.online) {
        // The other player's fighter is theirs to choose: this one is kept
        // for the fight the lobby arranges.
        if (!c1 || !level) return;
        remember(game, c1->name, game.playOptions.lastFighter[1], r.stages[static_cast<std::size_t>(stage)].name, 0);
        game.selectScreen.reset();
        openLobby(game);
        return;
    }
    const Character* c2 = rosterFighter(game, static_cast<std::size_t>(s.taken[1]));
    if (!c1 || !c2 || !level) return;
    const bool computer = s.mode == PlayMode::VersusComputer;
    remember(game, c1->name, c2->name, r.stages[static_cast<std::size_t>(stage)].name, computer ? s.level : 0);
    game.selectScreen.reset();
    useMatchup(game, *c1, *c2, *level);
    if (computer) {
        game.playOptions.computerLevel[0] = 0;
        game.playOptions.computerLevel[1] = s.level;
    }
    startFight(game, s.mode, s.match || computer);
    playSound(game, {SoundKind::Splash});
}

void take(Game& game, int seat)
{
    SelectScreen& s = *game.selectScreen;
    const Roster& r = game.content.roster;
    int place = s.cursor[seat];
    if (place >= fighterCount(game))
        place = randomPlace(game, fighterCount(game), static_cast<std::uint32_t>(seat),
                            [&](int i) { return r.fighters[static_cast<std::size_t>(i)].character != nullptr; });
    // One that cannot be loaded cannot be chosen.
    if (place < 0 || !r.fighters[static_cast<std::size_t>(place)].character) return;
    s.taken[seat] = place;
    if (s.taken[0] >= 0 && (s.online || s.taken[1] >= 0)) s.step = SelectStep::Stage;
}

int wrap(int v, int count) { return count > 0 ? ((v % count) + count) % count : 0; }

void move(int& cursor, int count, PlayerButton b, int columns)
{
    const int step = b == PlayerButton::Left ? -1 : b == PlayerButton::Right ? 1
                   : b == PlayerButton::Up  ? -columns : b == PlayerButton::Down ? columns : 0;
    cursor = wrap(cursor + step, count);
}

}  // namespace

void openSelectScreen(Game& game, PlayMode mode, bool match, bool online)
{
    loadRoster(game);
    const Roster& r = game.content.roster;
    const PlayOptions& o = game.playOptions;
    SelectScreen s;
    s.mode = mode;
    s.match = match;
    s.online = online;
    s.cursor[0] = static_cast<int>(fighterNamed(r, o.lastFighter[0].empty() ? "rook" : o.lastFighter[0]).value_or(0));
    s.cursor[1] = static_cast<int>(fighterNamed(r, o.lastFighter[1].empty() ? "quill" : o.lastFighter[1]).value_or(0));
    if (const auto stage = stageNamed(r, o.lastStage.empty() ? "desert" : o.lastStage))
        s.stage = static_cast<int>(*stage);
    s.level = o.lastLevel >= 1 && o.lastLevel <= kMaxComputerLevel ? o.lastLevel : kDefaultComputerLevel;
    game.selectScreen = std::make_unique<SelectScreen>(s);
}

int selectSeat(const SelectScreen& s, int player)
{
    if (s.step != SelectStep::Fighters) return -1;
    if (s.online) return s.taken[0] < 0 ? 0 : -1;
    // Alone, player 1 (or either player's keys) chooses both seats in turn.
    if (s.mode != PlayMode::TwoPlayers) return s.taken[0] < 0 ? 0 : 1;
    return player == 1 || player == 2 ? player - 1 : -1;
}

void selectPress(Game& game, int player, PlayerButton b)
{
    if (!game.selectScreen) return;
    SelectScreen& s = *game.selectScreen;
    switch (s.step) {
    case SelectStep::Fighters: {
        const int seat = selectSeat(s, player);
        if (seat < 0) return;
        if (b == PlayerButton::Attack) {
            if (s.taken[seat] < 0) take(game, seat);
        } else if (b == PlayerButton::Block) {
            // Block takes back the seat's choice; with none, the one before
            // it alone, else it leaves the screen.
            if (s.taken[seat] >= 0) s.taken[seat] = -1;
            else if (seat == 1 && s.mode != PlayMode::TwoPlayers) s.taken[0] = -1;
            else game.selectScreen.reset();
        } else if (s.taken[seat] < 0) {
            move(s.cursor[seat], fighterCount(game) + 1, b, kSelectColumns);
        }
        break;
    }
    case SelectStep::Stage:
        if (player != 1 && s.mode == PlayMode::TwoPlayers && !s.online) return;
        if (b == PlayerButton::Block) {
            s.step = SelectStep::Fighters;
            s.taken[s.mode == PlayMode::TwoPlayers || s.online ? 0 : 1] = -1;
        } else if (b == PlayerButton::Attack) {
            const int n = stageCount(game);
            if (s.stage < n && !game.content.roster.stages[static_cast<std::size_t>(s.stage)].level) return;
            if (s.mode == PlayMode::VersusComputer) s.step = SelectStep::Level;
            else begin(game);
        } else {
            move(s.stage, stageCount(game) + 1, b, kSelectColumns);
        }
        break;
    case SelectStep::Level:
        if (player != 1 && s.mode == PlayMode::TwoPlayers) return;
        if (b == PlayerButton::Block) s.step = SelectStep::Stage;
        else if (b == PlayerButton::Attack) begin(game);
        else if (b == PlayerButton::Left || b == PlayerButton::Up) s.level = wrap(s.level - 2, kMaxComputerLevel) + 1;
        else s.level = wrap(s.level, kMaxComputerLevel) + 1;
        break;
    }
}

}  // namespace ib
