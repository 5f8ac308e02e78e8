// Two online sessions in one process over 127.0.0.1, with strangers at the
// host's port: a third player who connects is turned away, and garbage
// and a packet of another protocol version are ignored, while the two
// players' fight goes on to the same hash on both sides.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <enet/enet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
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

TEST(NetLink, StrangersAreTurnedAwayAndTheFightGoesOn)
{
    HeadlessPlatform platform{1000, 16};
    Game game{platform};
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(INKBLOT_DATA_DIR);
    ASSERT_EQ(initDisplay(game), DD_OK);
    std::filesystem::current_path(previous);

    NetPlayConfig host;
    host.bindAddress = "127.0.0.1";
    host.port = 0;
    host.gameVersion = "test";
    host.seed = 9;
    host.maxSteps = 120;
    NetPlay a(host, game.fight, fightRules(game));
    ASSERT_TRUE(a.open());
    NetPlayConfig join = host;
    join.hosting = false;
    join.address = "127.0.0.1";
    join.port = a.port();
    NetPlay b(join, game.fight, fightRules(game));
    ASSERT_TRUE(b.open());

    // The third player: a plain ENet client at the host's port.
    ENetHost* third = enet_host_create(nullptr, 1, 2, 0, 0);
    ASSERT_NE(third, nullptr);
    ENetAddress to{};
    enet_address_set_host_ip(&to, "127.0.0.1");
    to.port = a.port();
    bool thirdConnected = false, thirdTurnedAway = false;

    const std::uint32_t start = nowMs();
    int turn = 0;
    while ((!a.finished() || !b.finished()) && nowMs() - start < 8000) {
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
        ++turn;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    enet_host_destroy(third);
    ASSERT_TRUE(a.finished() && b.finished()) << a.status() << " / " << b.status();
    EXPECT_FALSE(a.failed() || b.failed());
    EXPECT_EQ(a.session()->hashAfter(119), b.session()->hashAfter(119));
    EXPECT_GT(a.hashesCompared(), 0);
    EXPECT_TRUE(thirdConnected);
    EXPECT_TRUE(thirdTurnedAway);
}

}  // namespace
}  // namespace ib::test
