// The lobby screen over a made-up lobby: the Online key opens it from the
// splash screen, a code typed on the keyboard is the one joined, and each
// failure is said on the screen with what to do, Escape going back.
#include <gtest/gtest.h>

#include "app/lobby_screen.h"
#include "support/tiny_game.h"

namespace ib::test {
namespace {

using S = net::PairingStage;

// What the made-up lobby was asked, and what it does next.
struct FakeLobby {
    S stage = S::Connecting;
    std::string failure, refusal;
    std::vector<std::string> joined, notes;
    int hosts = 0, stops = 0;
    net::LobbyRoster roster;
};

class FakePairing : public net::Pairing {
public:
    explicit FakePairing(std::shared_ptr<FakeLobby> lobby) : f_(std::move(lobby)) {}
    void poll(std::uint32_t, std::vector<std::string>& notes) override
    {
        if (f_->stage == S::Connecting) f_->stage = S::InLobby;
        notes.insert(notes.end(), f_->notes.begin(), f_->notes.end());
        f_->notes.clear();
    }
    std::string host() override
    {
        ++f_->hosts;
        f_->stage = S::Hosting;
        return "";
    }
    std::string joinByCode(const std::string& typed, std::uint32_t) override
    {
        f_->joined.push_back(typed);
        if (!f_->refusal.empty()) return f_->refusal;
        f_->stage = S::Asking;
        return "";
    }
    std::string quickMatch(std::uint32_t) override { return "No one is waiting in the lobby"; }
    void stop() override
    {
        ++f_->stops;
        f_->stage = S::InLobby;
    }
    void close() override {}
    S stage() const override { return f_->stage; }
    const std::string& failure() const override { return f_->failure; }
    const net::LobbyRoster& roster() const override { return f_->roster; }
    std::string name() const override { return "me"; }
    std::string code() const override { return f_->stage == S::Hosting ? "KQWERT" : ""; }
    std::string peer() const override { return "ann"; }
    bool hosting() const override { return false; }
    bool relayed() const override { return false; }
    std::uint16_t bridgePort() const override { return 0; }
    void setGamePort(std::uint16_t) override {}

private:
    std::shared_ptr<FakeLobby> f_;
};

void useFake(Game& game, const std::shared_ptr<FakeLobby>& lobby, const std::string& unreachable = "")
{
    game.lobby.offered = true;
    game.lobby.server = "lobby.example.org";
    game.lobby.connect = [lobby, unreachable](const net::LobbyServer&, const std::string&, std::uint32_t,
                                              std::string& error) -> std::unique_ptr<net::Pairing> {
        error = unreachable;
        if (!unreachable.empty()) return nullptr;
        return std::make_unique<FakePairing>(lobby);
    };
}

// The screen's lines read as one text (a long one is broken between words).
bool says(const LobbyScreen& s, const std::string& part)
{
    std::string all;
    for (const std::string& l : s.lines()) all += l + " ";
    return all.find(part) != std::string::npos;
}

TEST(LobbyScreen, OnlineKeyOpensItAndTheTypedCodeIsJoined)
{
    TinyGameDir dir;
    auto lobby = std::make_shared<FakeLobby>();
    lobby->roster.update("ann", {net::PlayerState::Waiting, "KQWERT", 100});
    lobby->roster.update("bob", {net::PlayerState::Fighting, "", 0});
    std::vector<ScriptEvent> script;
    std::uint32_t t = 1100;
    auto press = [&](int key) {
        script.push_back(keyDown(t += 40, key));
        script.push_back(keyUp(t += 10, key));
    };
    press(kKeyOnline);
    for (int k : std::initializer_list<int>{'J', 'K', 'Q', 'W', 'E', 'R', 'X', VK_BACK, 'T', 'Y', VK_RETURN}) press(k);
    // Escape stops asking, then leaves the lobby.
    press(VK_ESCAPE);
    press(VK_ESCAPE);
    TinyRun r(script, 200);
    useFake(*r.game, lobby);
    bool listed = false, opened = false;
    r.platform.onPassEnd = [&] {
        if (const LobbyScreen* s = r.game->lobbyScreen.get()) {
            opened = true;
            listed = listed || (says(*s, "ann  -  waiting in room KQWERT") && says(*s, "bob  -  fighting"));
        }
        return true;
    };
    EXPECT_EQ(r.run(), 0);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(listed);
    EXPECT_EQ(lobby->joined, std::vector<std::string>{"KQWERT"});
    EXPECT_EQ(lobby->stops, 1);
    EXPECT_FALSE(r.game->lobbyScreen);
    EXPECT_EQ(r.game->fight.gameState, GameState::Splash);
}

TEST(LobbyScreen, EachFailureIsSaidAndEscapeGoesBack)
{
    TinyGameDir dir;
    HeadlessPlatform platform;
    Game game(platform);
    auto lobby = std::make_shared<FakeLobby>();

    // No server anywhere, then one that cannot be reached.
    LobbyScreen none(game, 0);
    EXPECT_TRUE(says(none, "--lobby HOST"));
    useFake(game, lobby, "The lobby server lobby.example.org:5222 did not answer");
    LobbyScreen unreachable(game, 0);
    EXPECT_TRUE(says(unreachable, "did not answer; press Escape"));
    unreachable.key(VK_ESCAPE, 0);
    EXPECT_TRUE(unreachable.leaving());

    useFake(game, lobby);
    LobbyScreen s(game, 0);
    s.poll(10);
    // A code nobody hosts: said, and the lobby stays open.
    lobby->refusal = "No one in the lobby hosts the room ABCDEF; check the code with your friend";
    for (int k : std::initializer_list<int>{'J', 'A', 'B', 'C', 'D', 'E', 'F', VK_RETURN}) s.key(k, 20);
    EXPECT_EQ(lobby->joined.back(), "ABCDEF");
    EXPECT_TRUE(says(s, "check the code with your friend"));
    EXPECT_TRUE(says(s, "H  host"));
    s.key('Q', 30);
    EXPECT_TRUE(says(s, "No one is waiting"));
    // Hosting shows the code; the partner then leaves and ICE fails.
    s.key('H', 40);
    EXPECT_TRUE(says(s, "your room's code:  KQWERT"));
    lobby->stage = S::Failed;
    lobby->failure = "No line to the other player: ICE found no working path, direct or relayed";
    s.poll(50);
    EXPECT_TRUE(says(s, "no working path, direct or relayed"));
    s.key('H', 60);  // nothing more to do but go back
    EXPECT_EQ(lobby->hosts, 1);
    EXPECT_FALSE(s.leaving());
    s.key(VK_ESCAPE, 70);
    EXPECT_TRUE(s.leaving());
}

}  // namespace
}  // namespace ib::test
