#include "app/lobby_screen.h"

#include <cstdlib>
#include <random>

#include "app/game.h"
#include "app/online_game.h"
#include "app/online_watch.h"
#include "app/responder.h"
#include "net/lobby_text.h"

namespace ib {

namespace {

constexpr std::size_t kCodeLength = 6;
// Players listed at most; the rest are counted.
constexpr std::size_t kListed = 8;

const char* const kNoServer =
    "No lobby server is set: start the game with --lobby HOST, or put lobby = HOST under [online] in the controls file";

std::string playerName(const Game& game)
{
    if (!game.lobby.name.empty()) return game.lobby.name;
    std::random_device dice;
    return net::makePlayerName((std::uint64_t{dice()} << 32) | dice());
}

// A long text as lines the screen's width holds, broken between words.
void addWrapped(std::vector<std::string>& out, const std::string& text)
{
    constexpr std::size_t kWidth = 62;
    std::string line;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        if (!line.empty() && line.size() + 1 + word.size() > kWidth) {
            out.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        at = end + 1;
    }
    out.push_back(line);
}

std::string stateOf(const net::LobbyPresence& p)
{
    switch (p.state) {
    case net::PlayerState::Waiting: return "waiting in room " + p.code;
    case net::PlayerState::Fighting: return "fighting";
    default: return "looking around";
    }
}

}  // namespace

LobbyScreen::LobbyScreen(Game& game, std::uint32_t nowMs) : server_(game.lobby.server)
{
    net::LobbyServer server;
    if (server_.empty()) {
        said_ = kNoServer;
        return;
    }
    if (!readLobbyAddress(server_, server)) {
        said_ = "The lobby server \"" + server_ + "\" is not HOST or HOST:PORT; fix --lobby or the controls file";
        return;
    }
    // INKBLOT_ICE_ADDRESS keeps the line's own candidates to one address
    // (a test keeps them on 127.0.0.1).
    net::IceOptions ice;
    if (const char* only = std::getenv("INKBLOT_ICE_ADDRESS")) ice.localAddress = only;
    std::string error;
    pairing_ = game.lobby.connect ? game.lobby.connect(server, playerName(game), nowMs, error)
                                  : net::startLobbyPairing(server, playerName(game), ice, nowMs, error);
    if (!pairing_) said_ = error + "; press Escape";
}

LobbyScreen::~LobbyScreen()
{
    if (pairing_) pairing_->close();
}

void LobbyScreen::poll(std::uint32_t nowMs)
{
    if (!pairing_) return;
    std::vector<std::string> notes;
    pairing_->poll(nowMs, notes);
    if (!notes.empty()) said_ = notes.back();
}

void LobbyScreen::back()
{
    const net::PairingStage stage = pairing_ ? pairing_->stage() : net::PairingStage::Failed;
    if (typing_) {
        typing_ = false;
        typed_.clear();
    } else if (stage == net::PairingStage::Hosting || stage == net::PairingStage::Asking) {
        pairing_->stop();
        said_.clear();
    } else {
        leaving_ = true;
    }
}

void LobbyScreen::key(int vk, std::uint32_t nowMs)
{
    if (vk == VK_ESCAPE) return back();
    if (!pairing_ || pairing_->stage() != net::PairingStage::InLobby) return;
    const bool letter = vk >= 'A' && vk <= 'Z';
    if (typing_) {
        if (letter && typed_.size() < kCodeLength) typed_ += static_cast<char>(vk);
        else if (vk == VK_BACK && !typed_.empty()) typed_.pop_back();
        else if (vk == VK_RETURN) {
            typing_ = false;
            said_ = typingToWatch_ ? pairing_->watchByCode(typed_, nowMs) : pairing_->joinByCode(typed_, nowMs);
            typed_.clear();
        }
        return;
    }
    if (vk == 'H') said_ = pairing_->host();
    else if (vk == 'J' || vk == 'W') {
        typing_ = true;
        typingToWatch_ = vk == 'W';
        said_.clear();
    } else if (vk == 'Q') {
        said_ = pairing_->quickMatch(nowMs);
    }
}

std::vector<std::string> LobbyScreen::lines() const
{
    std::vector<std::string> out{"Online"};
    if (!pairing_) {
        out.push_back("");
        addWrapped(out, said_);
        out.insert(out.end(), {"", "Escape goes back"});
        return out;
    }
    using S = net::PairingStage;
    switch (pairing_->stage()) {
    case S::Connecting: out.push_back("connecting to the lobby at " + server_ + " ..."); break;
    case S::InLobby: out.push_back("in the lobby as " + pairing_->name()); break;
    case S::Hosting:
        out.push_back("your room's code:  " + pairing_->code());
        out.push_back("tell it to your friend; waiting for a player ...");
        break;
    case S::Asking:
        out.push_back(pairing_->watching() ? "asking the fighters to let you watch room " + pairing_->code() + " ..."
                                           : "asking " + pairing_->peer() + " to let you into room " + pairing_->code() + " ...");
        break;
    case S::Linking: out.push_back("paired with " + pairing_->peer() + "; finding the line ..."); break;
    case S::Ready: out.push_back("the line is up"); break;
    case S::Failed: out.push_back("the lobby is closed"); break;
    }
    if (const std::string& what = pairing_->stage() == S::Failed ? pairing_->failure() : said_; !what.empty())
        addWrapped(out, what);
    if (pairing_->stage() == S::Failed) {
        out.insert(out.end(), {"", "Escape goes back"});
        return out;
    }
    out.push_back("");
    const auto& players = pairing_->roster().players();
    std::size_t listed = 0;
    for (const net::LobbyPlayer& p : players) {
        if (p.name == pairing_->name()) continue;
        if (listed++ < kListed) out.push_back(p.name + "  -  " + stateOf(p.presence));
    }
    if (listed == 0 && pairing_->stage() != S::Connecting) out.push_back("no one else is here yet");
    if (listed > kListed) out.push_back("and " + std::to_string(listed - kListed) + " more");
    out.push_back("");
    if (typing_)
        out.push_back(std::string(typingToWatch_ ? "room code to watch:  " : "room code:  ") + typed_ +
                      std::string(kCodeLength - typed_.size(), '_') + "   then Enter");
    else if (pairing_->stage() == S::InLobby) out.push_back("H  host    J  join by code    Q  quick match    W  watch");
    out.push_back("Escape goes back");
    return out;
}

void openLobby(Game& game) { game.lobbyScreen = std::make_unique<LobbyScreen>(game, game.platform.timeGetTime()); }

void lobbyPass(Game& game)
{
    LobbyScreen& screen = *game.lobbyScreen;
    screen.poll(game.platform.timeGetTime());
    if (screen.leaving()) {
        game.lobbyScreen.reset();
        return;
    }
    if (screen.ready()) {
        std::unique_ptr<net::Pairing> pairing = screen.takePairing();
        game.lobbyScreen.reset();
        if (pairing->watching()) startLobbyWatch(game, std::move(pairing));
        else startLobbyFight(game, std::move(pairing));
        return;
    }
    drawSplash(game.screen, game.screen.quoteFont.get(), screen.lines(), true);
}

namespace {

// While the screen is open it takes every key but F12, with its key-up,
// and every pad button (B goes back).
class LobbyKeys : public Responder {
    Response respond(Game& game, const Message& m, bool repeat) override
    {
        if (!game.lobbyScreen) return Response::Pass;
        if (m.message == WM_PADBUTTONDOWN) {
            if (padCode(m.wParam) == kPadB || padCode(m.wParam) == kPadBack)
                game.lobbyScreen->key(VK_ESCAPE, game.platform.timeGetTime());
            return Response::Taken;
        }
        if (m.message != WM_KEYDOWN || m.wParam == VK_F12) return Response::Pass;
        if (!repeat || m.wParam == VK_BACK) game.lobbyScreen->key(static_cast<int>(m.wParam), game.platform.timeGetTime());
        return Response::TakenWithKeyUp;
    }
};

}  // namespace

std::unique_ptr<Responder> lobbyResponder() { return std::make_unique<LobbyKeys>(); }

}  // namespace ib
