#include "app/online_game.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/controls_io.h"
#include "app/display.h"
#include "app/fight_screen.h"
#include "app/matchup.h"
#include "app/game.h"
#include "app/notice.h"
#include "app/online_choice.h"
#include "app/online_watch.h"
#include "app/play_options.h"
#include "app/replay_recorder.h"
#include "content/content_error.h"
#include "net/online_replay.h"
#include "platform/text_file.h"
#include "platform/user_folders.h"

namespace ib {

namespace {

// While the fight waits for the other side, its last frame is drawn again
// this often, with the line saying why.
constexpr std::uint32_t kStalledRedrawMs = 100;

// Where the online lines are written under the fight's health bars.
constexpr int kFigureLineY = 80;

// The connection's figures, in the top-left corner, and through the
// lobby, the path of the line.
std::string figuresLine(const net::NetPlay& play, const net::Pairing* line)
{
    const net::RollbackSession& s = *play.session();
    return "rtt " + std::to_string(play.roundTripMs()) + " ms  rollback " + std::to_string(s.stats().lastDepth) +
           "  delay " + std::to_string(s.inputDelay()) + (line ? (line->relayed() ? "  relayed" : "  direct") : "");
}

// Any pad plays for the local player: what every pad holds.
net::StepBits padsHeld(const Game& game)
{
    net::StepBits in = 0;
    for (const auto& [number, pad] : game.controllers.pads)
        for (int b = 0; b < net::kStepButtons; ++b)
            if (pad.connected && pad.held[static_cast<std::size_t>(b)]) in |= static_cast<net::StepBits>(1u << b);
    return in;
}

// This side's fighter: the one named on the command line (the host is
// player 1, so --p1 and --stage; the one who joins --p2), else the last
// chosen for that player on the select screen (in the lobby, the one
// chosen before it, as player 1 of this machine), else rook (quill) on
// the desert.
std::string chooseOwn(Game& game, net::NetPlayConfig& config, bool viaLobby)
{
    const PlayOptions& o = game.playOptions;
    const int p = config.hosting ? 0 : 1;
    const int remembered = viaLobby ? 0 : p;
    const std::string stage = o.stage.empty() ? o.lastStage : o.stage;
    if (!o.fighter[p].empty() || (config.hosting && !o.stage.empty()))
        return chooseOnline(game, config, o.fighter[p], o.stage);
    // A choice remembered from the select screen that is no longer there
    // gives way to the start's.
    if (chooseOnline(game, config, o.lastFighter[remembered], stage).empty()) return {};
    return chooseOnline(game, config, {}, {});
}

net::NetPlayConfig configOf(Game& game, const OnlineOptions& options, std::string& choiceError)
{
    net::NetPlayConfig config;
    config.hosting = options.host;
    config.address = options.address;
    config.port = options.port;
    config.inputDelay = options.delayGiven ? options.delay : game.onlineDelay.value_or(options.delay);
    const ReplayHeader header = replayHeaderOf(game);
    config.gameVersion = header.gameVersion;
    // What start-up read; the fighters and stage chosen are compared apart.
    config.content = game.content.contentFiles.startFingerprint();
    config.seed = game.platform.timeGetTime();
    // A desync's report goes beside the fights kept, not wherever the game
    // was started from.
    std::error_code madeFolder;
    std::filesystem::create_directories(onlineReplayFolder(), madeFolder);
    config.desyncFolder = onlineReplayFolder().string();
    config.keepFrames = true;
    choiceError = chooseOwn(game, config, options.viaLobby);
    return config;
}

// Online, this takes every key and pad before the offline screens see it.
class OnlineKeys : public Responder {
    Response respond(Game& game, const Message& m, bool) override
    {
        if (game.watch) {
            game.watch->message(m);
            return Response::Taken;
        }
        if (!game.online) return Response::Pass;
        game.online->message(game, m);
        return Response::Taken;
    }
};

}  // namespace

std::unique_ptr<Responder> onlineResponder() { return std::make_unique<OnlineKeys>(); }

std::filesystem::path onlineReplayFolder()
{
    const std::filesystem::path data = userDataFolder();
    return data.empty() ? data : data / "replays";
}

OnlinePlay::OnlinePlay(Game& game, const OnlineOptions& options, std::unique_ptr<net::Pairing> line)
    : play_(configOf(game, options, choiceError_), game.fight, fightRules(game)), line_(std::move(line)), font_(Font::openQuoteFont(18))
{
    // The router is asked for the port the host really listens on, beside
    // the waiting; INKBLOT_NO_PORT_MAPPING (any text) says not to ask.
    // Through the lobby the line is ICE's: no router is asked.
    const char* noMapping = std::getenv("INKBLOT_NO_PORT_MAPPING");
    const bool opened = play_.open();
    if (opened && options.host && !line_ && !(noMapping && *noMapping))
        mapping_ = std::make_unique<net::PortMapping>(play_.port());
    if (opened && line_ && options.host) {
        line_->setGamePort(play_.port());
        // Spectators reach the door over lines of their own that end on
        // this machine.
        std::string error;
        spectators_ = net::SpectatorFeed::open("127.0.0.1", 0, replayHeaderOf(game).gameVersion,
                                               game.content.contentFiles.startFingerprint(), error);
        if (!spectators_) std::fprintf(stderr, "Inkblot Fighter: no door for spectators: %s\n", error.c_str());
    }
}

OnlinePlay::~OnlinePlay()
{
    if (spectators_) spectators_->close();
    if (line_) line_->close();
}

void OnlinePlay::message(Game& game, const Message& m)
{
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE && line_) {
        leaving_ = true;  // a fight from the lobby: back to the splash screen
    } else if (m.message == WM_KEYDOWN && (m.wParam == VK_ESCAPE || m.wParam == VK_F12)) {
        game.platform.postOwnMessage({WM_CLOSE, 0});  // gives up, online or not
    } else if (m.message == WM_KEYDOWN && m.wParam == kKeyInputDisplay) {
        showFigures_ = !showFigures_;  // F6, as the input display offline
    } else if (m.message == WM_KEYDOWN || m.message == WM_KEYUP) {
        keysHeld_ = net::withPlayer1Key(game.controllers.keys, keysHeld_, static_cast<int>(m.wParam), m.message == WM_KEYDOWN);
    } else if (m.message >= WM_PADADDED && m.message <= WM_PADAXIS) {
        const PadTarget to{game.controllers.controls, &padEvents_, kBothPlayers};
        const int pad = padOf(m.wParam);
        switch (m.message) {
        case WM_PADADDED: padAdded(game.controllers.pads, pad, padCode(m.wParam)); break;
        case WM_PADREMOVED: padRemoved(game.controllers.pads, to, pad); break;
        case WM_PADBUTTONDOWN: padButton(game.controllers.pads, to, pad, padCode(m.wParam), true); break;
        case WM_PADBUTTONUP: padButton(game.controllers.pads, to, pad, padCode(m.wParam), false); break;
        default: padAxis(game.controllers.pads, to, pad, padCode(m.wParam), padValue(m.wParam)); break;
        }
        padEvents_.clear();
    }
}

void OnlinePlay::pass(Game& game)
{
    // Online the game never pauses: the other machine does not wait.
    const std::uint32_t now = game.platform.timeGetTime();
    bool composed = false;
    // Sounds of steps run for the first time only; a step run again after
    // a wrong guess is silent.
    game.sounds.clear();
    const std::int64_t framesBefore = play_.session() ? play_.session()->framesKept() : 0;
    // The lobby's messages and the line's datagrams move first.
    if (line_) {
        std::vector<std::string> notes;
        line_->poll(now, notes);
        for (const std::string& note : notes)
            if (note.rfind("spectators: ", 0) == 0) std::fprintf(stderr, "Inkblot Fighter: %s\n", note.c_str());
    }
    play_.update(now, static_cast<net::StepBits>(keysHeld_ | padsHeld(game)), &game.sounds);
    if (spectators_) {
        spectators_->update(now, play_);
        line_->tendSpectators(spectators_->port(), now);
        for (const std::string& note : spectators_->takeNotes()) std::fprintf(stderr, "Inkblot Fighter: spectators: %s\n", note.c_str());
    }
    if (const net::RollbackSession* s = play_.session(); s && s->framesKept() != framesBefore)
        composed = composeFight(game.screen, game.content, s->frame());
    for (const SoundEvent& sound : game.sounds) game.soundPlayer.play(sound);
    if (play_.session()) game.fight = play_.session()->fight();
    switch (play_.phase()) {
    case net::NetPhase::Waiting:
        drawSplash(game.screen, font_.get(), {play_.status(), mapping_ ? mapping_->summary() : ""});
        break;
    case net::NetPhase::Fighting:
        // No step ran for a while: the line has stalled, and the screen
        // still says so.
        if (!composed && now - drawnAt_ >= kStalledRedrawMs) composed = composeFight(game.screen, game.content, game.fight);
        if (!composed) break;
        drawnAt_ = now;
        // Between composing the frame and presenting it.
        if (font_) {
            if (showFigures_) drawEdgedText(game.screen, *font_, 10, kFigureLineY, figuresLine(play_, line_.get()));
            if (!play_.status().empty())
                drawEdgedText(game.screen, *font_, 10, kFigureLineY + font_->lineHeight(), play_.status());
        }
        present(game.screen);
        break;
    default:
        if (!kept_ && play_.session()) keepReplay(game);
        // Fought to its end: the end screen, then goodbye; else what went
        // wrong, until Escape.
        if (!play_.failed() && game.fight.gameState == GameState::End) endScreenPass(game, now, &endShownAt_);
        else drawSplash(game.screen, font_.get(), {play_.status(), line_ ? "Escape goes back; F5 there finds another player" : ""});
        break;
    }
}

void OnlinePlay::quit(Game& game)
{
    play_.close();
    if (play_.session()) keepReplay(game);
}

void OnlinePlay::keepReplay(const Game& game)
{
    if (kept_) return;
    kept_ = true;
    if (play_.confirmedInputs().empty()) return;
    const std::filesystem::path folder = onlineReplayFolder();
    if (folder.empty()) {
        std::fputs("Inkblot Fighter: neither XDG_DATA_HOME nor HOME is set; the fight is not kept\n", stderr);
        return;
    }
    const std::filesystem::path file =
        folder / ("online-" + std::to_string(play_.seed()) + "-player" +
                  std::to_string(play_.session()->localPlayer()) + ".replay");
    std::ostringstream out;
    net::writeOnlineReplay(out, onlineReplayHeader(game, play_), play_.startClock(), play_.confirmedInputs(),
                           play_.replayHashes());
    if (!replaceFile(file, out.str()).empty())
        std::fprintf(stderr, "Inkblot Fighter: cannot write the replay %s\n", file.string().c_str());
    else
        std::fprintf(stderr, "Inkblot Fighter: the fight is kept in %s\n", file.string().c_str());
}

int runOnlineGame(Game& game, const OnlineOptions& options)
{
    // The player's own keys, pads and input delay, as offline.
    loadControls(game);
    try {
        if (initDisplay(game) != DD_OK) return kExitDisplayError;
    } catch (const ContentError&) {
        return kExitContentError;
    }
    game.online = std::make_unique<OnlinePlay>(game, options);
    if (!game.online->choiceError().empty()) {
        std::fprintf(stderr, "Inkblot Fighter: %s\n", game.online->choiceError().c_str());
        return kExitArgumentError;
    }
    const int status = mainLoop(game);
    game.online.reset();  // the connection ends with the loop
    return status;
}

void startLobbyFight(Game& game, std::unique_ptr<net::Pairing> line)
{
    // Both sides begin from the fight as start-up makes it, whatever was
    // played here before.
    game.fight = startOfOnlineFight(game);
    OnlineOptions options;
    options.viaLobby = true;
    options.host = line->hosting();
    options.join = !options.host;
    options.address = "127.0.0.1";
    // The host's ENet waits on a port of its own; the one who joined talks
    // to the line's end.
    options.port = options.host ? 0 : line->bridgePort();
    options.delay = game.onlineDelay.value_or(options.delay);
    std::fprintf(stderr, "Inkblot Fighter: paired with %s in room %s; the line is %s\n", line->peer().c_str(),
                 line->code().c_str(), line->relayed() ? "relayed" : "direct");
    game.online = std::make_unique<OnlinePlay>(game, options, std::move(line));
    if (const std::string& why = game.online->choiceError(); !why.empty())
        std::fprintf(stderr, "Inkblot Fighter: %s; the fight is rook v quill on the desert\n", why.c_str());
}

void leaveOnlineFight(Game& game)
{
    game.online->quit(game);
    game.online.reset();
    // The next fight at this machine starts from fresh fighters.
    game.fightPlayed = true;
    game.fight.gameState = GameState::Splash;
}

}  // namespace ib
