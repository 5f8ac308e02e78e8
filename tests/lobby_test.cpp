// Players meeting in a real lobby: Prosody on 127.0.0.1, started from a
// temp config on free ports by the test. Skipped (and saying why) where
// prosody or coturn is not installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/lobby.h"
#include "support/lobby_server.h"
#include "support/fixtures.h"

namespace ib::test {
namespace {

using namespace ib::net;
using Kind = LobbyEvent::Kind;

class LobbyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string why = LobbyServerProcess::missing(); !why.empty()) GTEST_SKIP() << why;
        std::string error;
        ASSERT_TRUE(server.start(error)) << error;
    }

    LobbyServer address() const { return {"127.0.0.1", server.xmppPort(), "localhost"}; }

    Lobby& enter(const std::string& name)
    {
        std::string error;
        auto lobby = Lobby::connect(address(), name, nowMs(), error);
        EXPECT_TRUE(lobby) << error;
        Lobby& l = *lobby;
        lobbies.push_back(std::move(lobby));
        EXPECT_TRUE(waitFor(l, Kind::InLobby)) << name;
        return l;
    }

    // Polls every lobby until `lobby` reports `kind` (5 s at most); events
    // of all are kept in `seen`.
    const LobbyEvent* waitFor(Lobby& lobby, Kind kind)
    {
        const std::uint32_t until = nowMs() + 5000;
        while (static_cast<std::int32_t>(until - nowMs()) > 0) {
            for (auto& l : lobbies) {
                std::vector<LobbyEvent> events;
                l->poll(nowMs(), events);
                for (auto& e : events) seen[l.get()].push_back(e);
            }
            for (const LobbyEvent& e : seen[&lobby])
                if (e.kind == kind) return &e;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return nullptr;
    }
    // Lets the lobbies hear each other's presences for a moment.
    void settle(int ms = 300)
    {
        const std::uint32_t until = nowMs() + ms;
        while (static_cast<std::int32_t>(until - nowMs()) > 0) waitFor(*lobbies.front(), Kind::InLobby);
    }

    LobbyServerProcess server;
    std::vector<std::unique_ptr<Lobby>> lobbies;
    std::map<Lobby*, std::vector<LobbyEvent>> seen;
};

TEST_F(LobbyTest, MeetByCodeTalkAndPartWithTurnCredentials)
{
    Lobby& host = enter("rook");
    Lobby& guest = enter("quill");
    ASSERT_EQ(host.host(), "");
    settle();
    EXPECT_NE(guest.joinByCode("ABCDEZ", nowMs()).find("No one in the lobby hosts the room ABCDEZ"), std::string::npos);
    EXPECT_NE(guest.joinByCode("I0", nowMs()).find("6 letters"), std::string::npos);
    std::string typed = host.code();
    typed[0] = static_cast<char>(typed[0] - 'A' + 'a');  // as a friend types it
    ASSERT_EQ(guest.joinByCode(typed, nowMs()), "");
    ASSERT_TRUE(waitFor(guest, Kind::Paired));
    ASSERT_TRUE(waitFor(host, Kind::Paired));
    EXPECT_EQ(host.peer(), "quill");
    EXPECT_TRUE(host.hosted());
    EXPECT_FALSE(guest.hosted());

    EXPECT_NE(guest.send(std::string(kMaxLobbyText + 1, 'x')).find("over 3000 characters"), std::string::npos);
    ASSERT_EQ(guest.send("candidate 1 udp\nsecond line"), "");
    const LobbyEvent* got = waitFor(host, Kind::Data);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->text, "candidate 1 udp\nsecond line");

    // The lobby server lists its STUN and TURN server with fresh credentials.
    ASSERT_EQ(guest.iceServers().size(), 2u);
    for (const IceServer& s : guest.iceServers()) {
        EXPECT_EQ(s.host, "127.0.0.1");
        EXPECT_EQ(s.port, server.turnPort());
        EXPECT_EQ(s.turn, !s.username.empty() && !s.password.empty());
    }

    // A third player finds the room taken; the guest leaving frees the host.
    Lobby& late = enter("ink");
    settle();
    EXPECT_NE(late.joinByCode(host.code(), nowMs()), "");
    guest.close();
    const LobbyEvent* gone = waitFor(host, Kind::PeerGone);
    ASSERT_TRUE(gone);
    EXPECT_EQ(gone->text, "quill left the lobby");
}

TEST_F(LobbyTest, QuickMatchTakesTheLongestWaitingAndACodeHasOneHost)
{
    Lobby& first = enter("zed");
    ASSERT_EQ(first.host("kqwert"), "");
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // waiting times are in seconds
    Lobby& second = enter("abe");
    settle();
    EXPECT_NE(second.host("KQWERT").find("The code KQWERT is taken by zed"), std::string::npos);
    ASSERT_EQ(second.host(), "");
    Lobby& quick = enter("quick");
    settle();
    ASSERT_EQ(quick.quickMatch(nowMs()), "");
    ASSERT_TRUE(waitFor(quick, Kind::Paired));
    EXPECT_EQ(quick.peer(), "zed");
    EXPECT_EQ(quick.code(), "KQWERT");

    // Two hosts take one code before either hears of the other: the one
    // who began later (or, in the same second, by name) moves.
    Lobby& ann = enter("ann");
    Lobby& bob = enter("bob");
    ASSERT_EQ(ann.host("ZXCVBN"), "");
    ASSERT_EQ(bob.host("ZXCVBN"), "");
    const LobbyEvent* moved = waitFor(bob, Kind::CodeMoved);
    ASSERT_TRUE(moved);
    EXPECT_NE(moved->text, "ZXCVBN");
    EXPECT_EQ(bob.code(), moved->text);
    EXPECT_EQ(ann.code(), "ZXCVBN");
}

// Spectators ask every fighter for the room's code; only its host answers,
// letting in eight and turning away the ninth, and talks to each alone.
TEST_F(LobbyTest, SpectatorsAskByCodeAndTheNinthIsTurnedAway)
{
    Lobby& host = enter("rook");
    Lobby& guest = enter("quill");
    std::vector<Lobby*> eyes;
    for (int i = 0; i < 9; ++i) eyes.push_back(&enter("eye" + std::to_string(i)));
    ASSERT_EQ(host.host(), "");
    settle();
    EXPECT_NE(eyes[0]->watchByCode(host.code(), nowMs()).find("No one in the lobby is fighting"), std::string::npos);
    ASSERT_EQ(guest.joinByCode(host.code(), nowMs()), "");
    ASSERT_TRUE(waitFor(host, Kind::Paired));
    settle();
    for (Lobby* eye : eyes) ASSERT_EQ(eye->watchByCode(host.code(), nowMs()), "");
    auto answered = [&](Lobby* eye, Kind kind) {
        const auto& got = seen[eye];
        return std::find_if(got.begin(), got.end(), [&](const LobbyEvent& e) { return e.kind == kind; }) != got.end();
    };
    for (int i = 0; i < 50 && !std::all_of(eyes.begin(), eyes.end(), [&](Lobby* e) {
                                 return answered(e, Kind::Paired) || answered(e, Kind::Refused);
                             });
         ++i)
        settle(100);
    int in = 0, turnedAway = 0;
    for (Lobby* eye : eyes) {
        if (answered(eye, Kind::Refused)) {
            EXPECT_NE(waitFor(*eye, Kind::Refused)->text.find("already has 8 spectators"), std::string::npos);
            ++turnedAway;
        } else if (answered(eye, Kind::Paired)) {
            EXPECT_EQ(eye->peer(), "rook");
            ++in;
        }
    }
    EXPECT_EQ(in, 8);
    EXPECT_EQ(turnedAway, 1);
    EXPECT_TRUE(std::none_of(seen[&guest].begin(), seen[&guest].end(),
                             [](const LobbyEvent& e) { return e.kind == Kind::SpectatorIn; }));

    Lobby& eye = eyes[0]->peer().empty() ? *eyes[1] : *eyes[0];
    ASSERT_EQ(host.sendToSpectator(eye.name(), "candidates"), "");
    const LobbyEvent* got = waitFor(eye, Kind::Data);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->text, "candidates");
    ASSERT_EQ(eye.send("ours"), "");
    const LobbyEvent* back = waitFor(host, Kind::SpectatorData);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->from, eye.name());
    EXPECT_EQ(back->text, "ours");
    EXPECT_NE(host.sendToSpectator("quill", "x"), "");
    eye.close();
    const LobbyEvent* gone = waitFor(host, Kind::SpectatorGone);
    ASSERT_TRUE(gone);
    EXPECT_EQ(gone->from, eye.name());
}

TEST_F(LobbyTest, SameNameBadWordsAndALostServer)
{
    Lobby& one = enter("rook");
    Lobby& two = enter("rook");
    EXPECT_EQ(two.name(), "rook-2");
    ASSERT_EQ(one.host(), "");
    settle();

    // A stranger in the room writes what the game cannot use: each is a note.
    std::string error;
    auto stranger = LobbyXmpp::connect(address(), "stranger", "ib1 waiting lower 12", nowMs(), error);
    ASSERT_TRUE(stranger) << error;
    auto strangerPoll = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            std::vector<XmppEvent> ignored;
            stranger->poll(nowMs(), ignored);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    };
    for (int i = 0; i < 200 && !stranger->inRoom(); ++i) strangerPoll(1);
    for (const char* body : {"hello", "ib1 data " "ZZZZZZ x", "ib1 join", "ib1 shout ABCDEF", "ib1 data ABCDEF a\tb"})
        stranger->sendTo("rook", body);
    strangerPoll(20);
    settle(500);
    std::vector<std::string> notes;
    for (const LobbyEvent& e : seen[&one])
        if (e.kind == Kind::Note) notes.push_back(e.text);
    ASSERT_EQ(notes.size(), 6u) << "the stranger's state and five messages";
    EXPECT_EQ(notes[0], "ignored the state of stranger: bad room code \"lower\"");
    EXPECT_EQ(notes[1], "ignored a message from stranger: not a game message: \"hello\"");
    EXPECT_EQ(notes[2], "ignored a message from stranger that belongs to no room of ours");
    EXPECT_EQ(notes[4], "ignored a message from stranger: unknown message \"shout\"");
    EXPECT_EQ(one.roster().players().size(), 1u);  // two only
    stranger.reset();

    server.stop();
    const LobbyEvent* lost = waitFor(one, Kind::Failed);
    ASSERT_TRUE(lost);
    EXPECT_EQ(lost->text.rfind("Lost the lobby server 127.0.0.1:", 0), 0u) << lost->text;

    auto nowhere = Lobby::connect(address(), "late", nowMs(), error);
    ASSERT_TRUE(nowhere) << error;
    lobbies.push_back(std::move(nowhere));
    const LobbyEvent* refused = waitFor(*lobbies.back(), Kind::Failed);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->text.find("Cannot reach the lobby server 127.0.0.1:"), std::string::npos) << refused->text;
}

}  // namespace
}  // namespace ib::test
