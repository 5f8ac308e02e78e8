// Two players who met in a real lobby (Prosody and coturn on 127.0.0.1,
// started by the test) find a line with ICE, swapping candidates through
// the lobby, and the game's ENet packets go over it: directly, and
// through the TURN relay when one side offers relayed candidates only.
// Every address is 127.0.0.1. Skipped where prosody or coturn is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "net/ice_line.h"
#include "net/lobby.h"
#include "net/net_link.h"
#include "support/lobby_server.h"

namespace ib::test {
namespace {

using namespace ib::net;
using Kind = LobbyEvent::Kind;

std::uint32_t nowMs()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// One player: their lobby, their ICE line once paired, their ENet link.
struct Player {
    std::unique_ptr<Lobby> lobby;
    std::unique_ptr<IceLine> line;
    std::unique_ptr<NetLink> link;
    std::vector<std::string> notes;

    // Polls the lobby and the line; the candidates go through the lobby.
    void poll()
    {
        std::vector<LobbyEvent> events;
        lobby->poll(nowMs(), events);
        for (const LobbyEvent& e : events) {
            if (e.kind == Kind::Data && line) {
                std::string error;
                if (!line->remote(e.text, error)) notes.push_back(error);
            } else if (e.kind == Kind::Note || e.kind == Kind::Failed || e.kind == Kind::Refused) {
                notes.push_back(e.text);
            }
        }
        if (!line) return;
        std::string local;
        line->poll(nowMs(), local);
        if (!local.empty()) lobby->send(local);
    }
};

class IceLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string why = LobbyServerProcess::missing(); !why.empty()) GTEST_SKIP() << why;
        std::string error;
        ASSERT_TRUE(server.start(error)) << error;
        for (Player* p : {&host, &guest}) {
            p->lobby = Lobby::connect({"127.0.0.1", server.xmppPort(), "localhost"}, p == &host ? "rook" : "quill",
                                      nowMs(), error);
            ASSERT_TRUE(p->lobby) << error;
        }
        ASSERT_TRUE(until([&] { return host.lobby->inLobby() && guest.lobby->inLobby(); }));
        ASSERT_EQ(host.lobby->host(), "");
        ASSERT_TRUE(until([&] { return guest.lobby->roster().host(host.lobby->code(), "quill") != nullptr; }));
    }

    // Polls both players until `done` (10 s at most).
    template <typename Done>
    bool until(Done done)
    {
        const std::uint32_t end = nowMs() + 10000;
        while (static_cast<std::int32_t>(end - nowMs()) > 0) {
            for (Player* p : {&host, &guest}) p->poll();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    // Joins by code, starts both lines once the TURN credentials are in,
    // and connects ENet over the line; the milliseconds it took.
    std::uint32_t meetAndConnect(bool relayOnly)
    {
        const std::uint32_t start = nowMs();
        EXPECT_EQ(guest.lobby->joinByCode(host.lobby->code(), nowMs()), "");
        EXPECT_TRUE(until([&] {
            return host.lobby->paired() && guest.lobby->paired() && host.lobby->iceServers().size() == 2 &&
                   guest.lobby->iceServers().size() == 2;
        }));
        for (Player* p : {&host, &guest}) {
            std::string error;
            const IceOptions options{"127.0.0.1", relayOnly && p == &guest};
            p->line = IceLine::start(p == &host, p->lobby->iceServers(), options, nowMs(), error);
            EXPECT_TRUE(p->line) << error;
        }
        std::string error;
        host.link = NetLink::host("127.0.0.1", 0, {}, error);
        EXPECT_TRUE(host.link) << error;
        host.line->setGamePort(host.link->port());
        EXPECT_TRUE(until([&] {
            return host.line->state() == IceLine::State::Ready && guest.line->state() == IceLine::State::Ready;
        })) << host.line->failure() << guest.line->failure();
        guest.link = NetLink::join("127.0.0.1", guest.line->bridgePort(), {}, error);
        EXPECT_TRUE(guest.link) << error;
        // The guest greets; the host takes it as its player and answers.
        std::vector<Received> in;
        bool greeted = false, answered = false;
        EXPECT_TRUE(until([&] {
            const std::uint32_t now = nowMs();
            in.clear();
            host.link->poll(now, in);
            for (const Received& r : in)
                if (!r.fromPlayer && r.bytes == std::vector<std::uint8_t>{1, 2, 3} && host.link->accept(r.stranger)) {
                    greeted = true;
                    host.link->send(kReliableChannel, {4, 5}, now);
                }
            in.clear();
            guest.link->poll(now, in);
            for (const Received& r : in) answered = answered || r.bytes == std::vector<std::uint8_t>{4, 5};
            if (guest.link->connected() && !greeted) guest.link->send(kReliableChannel, {1, 2, 3}, now);
            return answered;
        }));
        EXPECT_TRUE(host.notes.empty() && guest.notes.empty()) << ::testing::PrintToString(host.notes)
                                                                << ::testing::PrintToString(guest.notes);
        return nowMs() - start;
    }

    LobbyServerProcess server;
    Player host, guest;
};

TEST_F(IceLineTest, DirectLineCarriesEnet)
{
    const std::uint32_t ms = meetAndConnect(false);
    EXPECT_FALSE(host.line->relayed());
    EXPECT_FALSE(guest.line->relayed());
    std::printf("join by code to ENet connected, direct: %u ms\n", ms);
}

TEST_F(IceLineTest, RelayOnlyGoesThroughTurn)
{
    const std::uint32_t ms = meetAndConnect(true);
    EXPECT_TRUE(host.line->relayed());
    EXPECT_TRUE(guest.line->relayed());
    std::printf("join by code to ENet connected, relayed: %u ms\n", ms);
}

}  // namespace
}  // namespace ib::test
