#include "app/online_game.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/display.h"
#include "app/fight_screen.h"
#include "app/game.h"
#include "app/play_options.h"
#include "app/replay_recorder.h"
#include "content/content_error.h"
#include "net/net_play.h"
#include "net/online_replay.h"
#include "net/port_mapping.h"
#include "platform/text_file.h"
#include "platform/user_folders.h"

namespace ib {

namespace {

constexpr std::uint32_t kEndScreenMs = 5000;
// While the fight waits for the other side, its last frame is drawn again
// this often, with the line saying why.
constexpr std::uint32_t kStalledRedrawMs = 100;

// Where the online lines are written: under the splash screen's title,
// and under the fight's health bars.
constexpr int kSplashLineY = 146;
constexpr int kFigureLineY = 80;

// A line of text at (x, y), dark on a light edge: both screens are light
// where it goes.
void drawText(Game& game, const Font& font, int x, int y, const std::string& text)
{
    if (!game.backBuffer) return;
    const Rect clip{0, 0, kScreenWidth, kScreenHeight};
    font.drawLine(*game.backBuffer, x + 1, y + 1, text, toRgb565(0xFFFFFF), clip);
    font.drawLine(*game.backBuffer, x, y, text, toRgb565(0x101010), clip);
}

// The splash screen with what is happening written under its middle.
void drawSplashSaying(Game& game, const Font* font, const std::string& text, const std::string& note = "")
{
    if (game.splashSurface && game.backBuffer) {
        Surface& back = *game.backBuffer;
        retryRule(game, [&] {
            return back.bltFast(0, 0, *game.splashSurface, Rect{0, 0, kScreenWidth - 1, kScreenHeight - 1},
                                DDBLTFAST_NOCOLORKEY);
        });
    }
    if (font && !text.empty()) drawText(game, *font, (kScreenWidth - font->measure(text)) / 2, kSplashLineY, text);
    if (font && !note.empty())
        drawText(game, *font, (kScreenWidth - font->measure(note)) / 2, kSplashLineY + font->lineHeight(), note);
    present(game);
}

// The connection's figures, in the top-left corner.
std::string figuresLine(const net::NetPlay& play)
{
    const net::RollbackSession& s = *play.session();
    return "rtt " + std::to_string(play.roundTripMs()) + " ms  rollback " + std::to_string(s.stats().lastDepth) +
           "  delay " + std::to_string(s.inputDelay());
}

void keepReplay(const Game& game, const net::NetPlay& play)
{
    if (play.confirmedInputs().empty()) return;
    const std::filesystem::path folder = onlineReplayFolder();
    if (folder.empty()) {
        std::fputs("Inkblot Fighter: neither XDG_DATA_HOME nor HOME is set; the fight is not kept\n", stderr);
        return;
    }
    const std::filesystem::path file =
        folder / ("online-" + std::to_string(play.seed()) + "-player" +
                  std::to_string(play.session()->localPlayer()) + ".replay");
    std::ostringstream out;
    net::writeOnlineReplay(out, replayHeaderOf(game), play.startClock(), play.confirmedInputs(),
                           play.replayHashes());
    if (!replaceFile(file, out.str()).empty())
        std::fprintf(stderr, "Inkblot Fighter: cannot write the replay %s\n", file.string().c_str());
    else
        std::fprintf(stderr, "Inkblot Fighter: the fight is kept in %s\n", file.string().c_str());
}

// Any pad plays for the local player: what every pad holds.
net::StepBits padsHeld(const Game& game)
{
    net::StepBits in = 0;
    for (const auto& [number, pad] : game.pads)
        for (int b = 0; b < net::kStepButtons; ++b)
            if (pad.connected && pad.held[static_cast<std::size_t>(b)]) in |= static_cast<net::StepBits>(1u << b);
    return in;
}

void padMessage(Game& game, const PadTarget& to, const Message& m)
{
    const int pad = padOf(m.wParam);
    switch (m.message) {
    case WM_PADADDED: padAdded(game.pads, pad, padCode(m.wParam)); break;
    case WM_PADREMOVED: padRemoved(game.pads, to, pad); break;
    case WM_PADBUTTONDOWN: padButton(game.pads, to, pad, padCode(m.wParam), true); break;
    case WM_PADBUTTONUP: padButton(game.pads, to, pad, padCode(m.wParam), false); break;
    case WM_PADAXIS: padAxis(game.pads, to, pad, padCode(m.wParam), padValue(m.wParam)); break;
    default: break;
    }
}

}  // namespace

std::filesystem::path onlineReplayFolder()
{
    const std::filesystem::path data = userDataFolder();
    return data.empty() ? data : data / "replays";
}

int runOnlineGame(Game& game, const OnlineOptions& options)
{
    try {
        if (initDisplay(game) != DD_OK) return kExitDisplayError;
    } catch (const ContentError&) {
        return kExitContentError;
    }
    Platform& p = game.platform;
    net::NetPlayConfig config;
    config.hosting = options.host;
    config.address = options.address;
    config.port = options.port;
    config.inputDelay = options.delayGiven ? options.delay : game.onlineDelay.value_or(options.delay);
    const ReplayHeader header = replayHeaderOf(game);
    config.gameVersion = header.gameVersion;
    config.content = header.content;
    config.seed = p.timeGetTime();
    // A desync's report goes beside the fights kept, not wherever the game
    // was started from.
    std::error_code madeFolder;
    std::filesystem::create_directories(onlineReplayFolder(), madeFolder);
    config.desyncFolder = onlineReplayFolder().string();
    config.keepFrames = true;
    net::NetPlay play(config, game.fight, fightRules(game));
    // The router is asked for the port the host really listens on, beside
    // the waiting; INKBLOT_NO_PORT_MAPPING (any text) says not to ask.
    std::unique_ptr<net::PortMapping> mapping;
    const char* noMapping = std::getenv("INKBLOT_NO_PORT_MAPPING");
    if (play.open() && options.host && !(noMapping && *noMapping))
        mapping = std::make_unique<net::PortMapping>(play.port());

    const std::unique_ptr<Font> font = Font::openQuoteFont(18);
    net::StepBits keysHeld = 0;
    // Every pad plays for the local player: what each holds is read back
    // from it, and the record its events write is not the fight's.
    StepInput padEvents;
    const PadTarget padTarget{game.controls, &padEvents, kBothPlayers};
    bool kept = false;
    bool showFigures = true;
    std::uint32_t endShownAt = 0;
    std::uint32_t drawnAt = 0;
    for (;;) {
        while (p.peekMessage()) {
            const Message m = p.getMessage();
            if (m.message == WM_QUIT) {
                play.close();
                if (!kept && play.session()) keepReplay(game, play);
                return static_cast<int>(m.wParam);
            }
            if (m.message == WM_KEYDOWN && (m.wParam == VK_ESCAPE || m.wParam == VK_F12)) {
                p.postOwnMessage({WM_CLOSE, 0});  // gives up, online or not
            } else if (m.message == WM_KEYDOWN && m.wParam == kKeyInputDisplay) {
                showFigures = !showFigures;  // F6, as the input display offline
            } else if (m.message == WM_KEYDOWN || m.message == WM_KEYUP) {
                keysHeld = net::withPlayer1Key(game.keys, keysHeld, static_cast<int>(m.wParam), m.message == WM_KEYDOWN);
            } else if (m.message >= WM_PADADDED && m.message <= WM_PADAXIS) {
                padMessage(game, padTarget, m);
                padEvents.clear();
            } else {
                windowProc(game, m.message, m.wParam);
            }
        }
        p.beginPass();
        // Online the game never pauses: the other machine does not wait.
        const std::uint32_t now = p.timeGetTime();
        bool composed = false;
        // Sounds of steps run for the first time only; a step run again
        // after a wrong guess is silent.
        game.sounds.clear();
        const std::int64_t framesBefore = play.session() ? play.session()->framesKept() : 0;
        play.update(now, static_cast<net::StepBits>(keysHeld | padsHeld(game)), &game.sounds);
        if (const net::RollbackSession* s = play.session(); s && s->framesKept() != framesBefore)
            composed = composeFight(game, s->frame());
        for (const SoundEvent& sound : game.sounds) game.soundPlayer.play(sound);
        if (play.session()) game.fight = play.session()->fight();
        if (play.phase() == net::NetPhase::Waiting) {
            drawSplashSaying(game, font.get(), play.status(), mapping ? mapping->summary() : "");
        } else if (play.phase() == net::NetPhase::Fighting) {
            // No step ran for a while: the line has stalled, and the
            // screen still says so.
            if (!composed && now - drawnAt >= kStalledRedrawMs) composed = composeFight(game, game.fight);
            if (composed) {
                drawnAt = now;
                // Between composing the frame and presenting it.
                if (font) {
                    if (showFigures) drawText(game, *font, 10, kFigureLineY, figuresLine(play));
                    if (!play.status().empty())
                        drawText(game, *font, 10, kFigureLineY + font->lineHeight(), play.status());
                }
                present(game);
            }
        } else {
            if (!kept && play.session()) {
                keepReplay(game, play);
                kept = true;
            }
            if (!play.failed() && game.fight.gameState == GameState::End) {
                // The fight was fought to its end: the end screen, then goodbye.
                if (endShownAt == 0) {
                    endShownAt = now | 1;
                    drawEndScreen(game);
                }
                if (now - endShownAt > kEndScreenMs) p.postOwnMessage({WM_CLOSE, 0});
            } else {
                drawSplashSaying(game, font.get(), play.status());  // what went wrong, until Escape
            }
        }
        if (!p.endPass()) return kExitOk;
        p.sleep(1);
    }
}

}  // namespace ib
