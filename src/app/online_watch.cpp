#include "app/online_watch.h"

#include <cstdio>

#include "app/display.h"
#include "app/fight_screen.h"
#include "app/game.h"
#include "app/matchup.h"
#include "app/notice.h"
#include "app/online_choice.h"
#include "app/replay_recorder.h"

namespace ib {

namespace {

constexpr int kWatchLineY = 80;

// The spectator's side: the host's door at the line's end, and the fight
// as start-up makes it (or as the players chose it).
net::WatchConfig watchConfig(Game& game, const net::Pairing& line)
{
    net::WatchConfig c;
    c.address = "127.0.0.1";
    c.port = line.bridgePort();
    c.gameVersion = replayHeaderOf(game).gameVersion;
    c.content = game.content.contentFiles.startFingerprint();
    c.lookUp = onlineContentLookUp(game);
    c.makeFight = onlineFightMaker(game);
    return c;
}

}  // namespace

OnlineWatch::OnlineWatch(Game& game, std::unique_ptr<net::Pairing> line, const FightState& start)
    : line_(std::move(line)),
      watch_(watchConfig(game, *line_), start, fightRules(game)),
      font_(Font::openQuoteFont(18))
{
    opened_ = watch_.open();
}

OnlineWatch::~OnlineWatch()
{
    watch_.close();
    if (line_) line_->close();
}

void OnlineWatch::message(const Message& m)
{
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) leaving_ = true;
}

void OnlineWatch::pass(Game& game)
{
    const std::uint32_t now = game.platform.timeGetTime();
    std::vector<std::string> notes;
    line_->poll(now, notes);
    if (opened_) watch_.update(now);
    if (watch_.phase() != net::WatchPhase::Over && watch_.stepsRun() > 0) {
        game.fight = watch_.fight();
        if (!composeFight(game.screen, game.content, game.fight)) return;
        if (font_) {
            const long long behind = watch_.stepsReceived() - watch_.stepsRun();
            drawEdgedText(game.screen, *font_, 10, kWatchLineY,
                          "watching " + line_->peer() + "'s fight, step " + std::to_string(watch_.stepsRun()) + ", " +
                              std::to_string(behind) + " steps behind; Escape leaves");
        }
        present(game.screen);
        return;
    }
    if (watch_.phase() == net::WatchPhase::Over && !said_) {
        said_ = true;
        if (watch_.failed()) std::fprintf(stderr, "Inkblot Fighter: watching ended: %s\n", watch_.status().c_str());
        else
            std::fprintf(stderr, "Inkblot Fighter: watched %lld steps, hash %016llx\n",
                         static_cast<long long>(watch_.stepsRun()), static_cast<unsigned long long>(watch_.lastHash()));
    }
    std::vector<std::string> lines;
    if (watch_.phase() == net::WatchPhase::Over)
        lines = {watch_.failed() ? watch_.status() : "the fight is over", "Escape goes back"};
    else
        lines = {"watching the fight of room " + line_->code() + " ...", watch_.status(), "Escape goes back"};
    drawSplash(game.screen, font_.get(), lines);
}

void startLobbyWatch(Game& game, std::unique_ptr<net::Pairing> line)
{
    std::fprintf(stderr, "Inkblot Fighter: watching %s's fight of room %s; the line is %s\n", line->peer().c_str(),
                 line->code().c_str(), line->relayed() ? "relayed" : "direct");
    // As the players begin: from the fight as start-up makes it (the fight
    // and its rules are those of the choice, if the players made one).
    const FightState start = startOfOnlineFight(game);
    game.watch = std::make_unique<OnlineWatch>(game, std::move(line), start);
}

void leaveWatch(Game& game)
{
    game.watch.reset();
    // The next fight at this machine starts from fresh fighters.
    game.fightPlayed = true;
    game.fight.gameState = GameState::Splash;
}

}  // namespace ib
