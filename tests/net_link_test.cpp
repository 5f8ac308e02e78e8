// Two online sessions in one process over 127.0.0.1: strangers at the
// host's port are turned away, other game versions are refused, clocks
// that disagree are brought together, and a line gone quiet is said so.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <enet/enet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/display.h"
#include "app/game.h"
#include "net/net_play.h"
#include "platform/headless_platform.h"

namespace ib::test {
namespace {

using namespace ib::net;

std::uint32_t nowMs()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Sends raw bytes to 127.0.0.1:port from a socket of its own.
void sendRaw(std::uint16_t port, const std::vector<std::uint8_t>& bytes)
{
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(s, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sendto(s, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    close(s);
}

// The default content's fight, and the two sides' settings on 127.0.0.1.
class NetPair : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(INKBLOT_DATA_DIR);
        ASSERT_EQ(initDisplay(game), DD_OK);
        std::filesystem::current_path(previous);
        host.bindAddress = "127.0.0.1";
        host.port = 0;
        host.gameVersion = "test";
        host.seed = 9;
    }
    NetPlayConfig joining(const NetPlay& hostPlay) const
    {
        NetPlayConfig join = host;
        join.hosting = false;
        join.address = "127.0.0.1";
        join.port = hostPlay.port();
        return join;
    }
    // Runs both sides (with these clocks) until `done` or ten seconds.
    template <class Turn>
    void run(Turn turn)
    {
        const std::uint32_t start = nowMs();
        for (int n = 0; nowMs() - start < 10000 && turn(n, nowMs() - start); ++n)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    HeadlessPlatform platform{1000, 16};
    Game game{platform};
    NetPlayConfig host;
};

TEST_F(NetPair, StrangersAreTurnedAwayAndTheFightGoesOn)
{
    host.maxSteps = 120;
    NetPlay a(host, game.fight, fightRules(game));
    ASSERT_TRUE(a.open());
    NetPlay b(joining(a), game.fight, fightRules(game));
    ASSERT_TRUE(b.open());

    // The third player: a plain ENet client at the host's port.
    ENetHost* third = enet_host_create(nullptr, 1, 2, 0, 0);
    ASSERT_NE(third, nullptr);
    ENetAddress to{};
    enet_address_set_host_ip(&to, "127.0.0.1");
    to.port = a.port();
    bool thirdConnected = false, thirdTurnedAway = false;
    run([&](int turn, std::uint32_t) {
        const std::uint32_t now = nowMs();
        a.update(now, static_cast<StepInput>(turn / 20 % 2 ? buttonBit(PlayerButton::Right) : 0));
        b.update(now, static_cast<StepInput>(turn / 15 % 2 ? buttonBit(PlayerButton::Attack) : 0));
        if (turn == 300) {
            enet_host_connect(third, &to, 2, 0);
            sendRaw(a.port(), {0xde, 0xad, 0xbe, 0xef});
            auto other = encodePacket(StepHash{29, 1});
            other[2] = kProtocolVersion + 1;
            sendRaw(a.port(), other);
        }
        ENetEvent ev;
        while (enet_host_service(third, &ev, 0) > 0) {
            if (ev.type == ENET_EVENT_TYPE_CONNECT) thirdConnected = true;
            if (ev.type == ENET_EVENT_TYPE_DISCONNECT) thirdTurnedAway = true;
            if (ev.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(ev.packet);
        }
        return !a.finished() || !b.finished();
    });
    enet_host_destroy(third);
    ASSERT_TRUE(a.finished() && b.finished()) << a.status() << " / " << b.status();
    EXPECT_FALSE(a.failed() || b.failed());
    EXPECT_EQ(a.session()->hashAfter(119), b.session()->hashAfter(119));
    EXPECT_GT(a.hashesCompared(), 0);
    EXPECT_TRUE(thirdConnected);
    EXPECT_TRUE(thirdTurnedAway);
}

TEST_F(NetPair, AnotherGameVersionIsRefusedOnBothSides)
{
    host.gameVersion = "0.1";
    NetPlay a(host, game.fight, fightRules(game));
    ASSERT_TRUE(a.open());
    NetPlayConfig join = joining(a);
    join.gameVersion = "0.2";
    NetPlay b(join, game.fight, fightRules(game));
    ASSERT_TRUE(b.open());
    run([&](int, std::uint32_t) {
        a.update(nowMs(), 0);
        b.update(nowMs(), 0);
        return a.phase() != NetPhase::Over || b.phase() != NetPhase::Over;
    });
    const std::string why = "refused: the host's game is version 0.1, the other player's 0.2";
    EXPECT_EQ(a.status(), why);
    EXPECT_EQ(b.status(), why);
    EXPECT_TRUE(a.failed() && b.failed());
    EXPECT_EQ(a.session(), nullptr);
}

// The host's step goes wrong at step 100: both sides stop at the first hash
// after it; the side whose report cannot be written says so.
TEST_F(NetPair, AMismatchEndsTheFightWithAReportOnEachSide)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "inkblot-desync-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    host.desyncFolder = "/proc/no-such-folder";
    host.clockHook = [](std::int64_t step, std::uint32_t clock) { return step >= 100 ? clock + 1 : clock; };
    NetPlay a(host, game.fight, fightRules(game));
    ASSERT_TRUE(a.open());
    NetPlayConfig join = joining(a);
    join.clockHook = nullptr;
    join.desyncFolder = folder.string();
    NetPlay b(join, game.fight, fightRules(game));
    ASSERT_TRUE(b.open());
    run([&](int, std::uint32_t) {
        a.update(nowMs(), 0);
        b.update(nowMs(), 0);
        return a.phase() != NetPhase::Over || b.phase() != NetPhase::Over || a.reporting() || b.reporting();
    });
    EXPECT_EQ(a.status(), "out of sync at step 119: the fight could not be written to "
                          "/proc/no-such-folder/desync-step-119-player1.txt");
    const std::filesystem::path report = folder / "desync-step-119-player2.txt";
    EXPECT_EQ(b.status(), "out of sync at step 119: the fight is written to " + report.string());
    std::ifstream in(report);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("state here (player 2) at step 119"), std::string::npos) << text;
    EXPECT_NE(text.find("state there (player 1) at step 119"), std::string::npos) << text;
    std::filesystem::remove_all(folder);
}

// The joining machine's clock jumps 100 ms (six steps) ahead: it waits a
// step at a time until it is no more than two ahead, and neither side
// stalls for the other meanwhile.
TEST_F(NetPair, ASideThatRunsAheadWaitsForTheOther)
{
    NetPlay a(host, game.fight, fightRules(game));
    ASSERT_TRUE(a.open());
    NetPlay b(joining(a), game.fight, fightRules(game));
    ASSERT_TRUE(b.open());
    std::int64_t ahead = 0, mostAhead = 0;
    run([&](int, std::uint32_t since) {
        const std::uint32_t now = nowMs();
        a.update(now, 0);
        b.update(now + (b.phase() == NetPhase::Fighting && since > 1000 ? 100 : 0), 0);
        if (a.session() && b.session()) {
            ahead = b.session()->nextStep() - a.session()->nextStep();
            mostAhead = std::max(mostAhead, ahead);
        }
        return since < 6500 && a.phase() != NetPhase::Over && b.phase() != NetPhase::Over;
    });
    ASSERT_EQ(a.phase(), NetPhase::Fighting) << a.status();
    ASSERT_EQ(b.phase(), NetPhase::Fighting) << b.status();
    EXPECT_GE(mostAhead, 5);
    EXPECT_LE(ahead, 3);
    EXPECT_GE(b.waits(), 3);
    EXPECT_EQ(a.waits(), 0);
}

// The other side stops answering: after a second the line is said to be
// unstable, after three it is lost and the fight ends; no turn waits for
// a packet meanwhile.
TEST_F(NetPair, AQuietLineIsUnstableThenLost)
{
    NetPlay a(host, game.fight, fightRules(game));
    ASSERT_TRUE(a.open());
    NetPlay b(joining(a), game.fight, fightRules(game));
    ASSERT_TRUE(b.open());
    std::uint32_t quietFrom = 0, unstableAt = 0, lostAt = 0, longestTurn = 0;
    run([&](int, std::uint32_t since) {
        const std::uint32_t before = nowMs();
        a.update(before, 0);
        longestTurn = std::max(longestTurn, nowMs() - before);
        if (a.phase() == NetPhase::Fighting && quietFrom == 0 && since > 500) quietFrom = since;
        if (quietFrom == 0) b.update(nowMs(), 0);
        if (a.status() == "connection is unstable" && unstableAt == 0) unstableAt = since;
        if (a.status() == "connection lost") lostAt = since;
        return lostAt == 0;
    });
    ASSERT_NE(quietFrom, 0u);
    ASSERT_NE(unstableAt, 0u);
    ASSERT_NE(lostAt, 0u);
    // Measured from b's last turn; its last packet may be a turn older.
    EXPECT_GE(unstableAt - quietFrom, 950u);
    EXPECT_LT(unstableAt - quietFrom, 1500u);
    EXPECT_GE(lostAt - quietFrom, 2950u);
    EXPECT_LT(lostAt - quietFrom, 3500u);
    EXPECT_EQ(a.phase(), NetPhase::Over);
    EXPECT_TRUE(a.failed());
    EXPECT_LT(longestTurn, 250u);
}

}  // namespace
}  // namespace ib::test
