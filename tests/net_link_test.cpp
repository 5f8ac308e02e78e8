// Two online sessions in one process over 127.0.0.1: strangers at the
// host's port never take the player's place, forged numbers are dropped,
// other game versions are refused, clocks that disagree are brought
// together, and a line gone quiet is said so, on the screen too.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <enet/enet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "app/display.h"
#include "app/game.h"
#include "app/online_game.h"
#include "app/replay_recorder.h"
#include "input/controls.h"
#include "net/net_play.h"
#include "net/online_replay.h"
#include "platform/headless_platform.h"
#include "support/loopback.h"
#include "support/trace_file.h"
#include "support/fixtures.h"

namespace ib::test {
namespace {

using namespace ib::net;

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

// An ENet host that knocks at `port` and then never answers: a half-open
// connection the game must not keep its door shut for.
ENetHost* knock(std::uint16_t port, std::uint32_t data = kLinkVersion)
{
    ENetHost* h = enet_host_create(nullptr, 1, 2, 0, 0);
    if (!h) return nullptr;
    h->checksum = enet_crc32;
    ENetAddress to{};
    enet_address_set_host_ip(&to, "127.0.0.1");
    to.port = port;
    enet_host_connect(h, &to, 2, data);
    enet_host_flush(h);
    return h;
}

// The default content's fight, and the two sides' settings on 127.0.0.1.
class NetPair : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.content.contentFiles.setFolder(INKBLOT_DATA_DIR);
        ASSERT_EQ(initDisplay(game), DD_OK);
        host.bindAddress = "127.0.0.1";
        host.port = 0;
        host.gameVersion = "test";
        host.seed = 9;
    }
    NetPlayConfig joining(std::uint16_t port) const
    {
        NetPlayConfig join = host;
        join.hosting = false;
        join.address = "127.0.0.1";
        join.port = port;
        return join;
    }
    // A side opened on `config`.
    std::unique_ptr<NetPlay> open(const NetPlayConfig& config)
    {
        auto play = std::make_unique<NetPlay>(config, game.fight, fightRules(game));
        EXPECT_TRUE(play->open());
        return play;
    }
    // Runs both sides, pressing nothing, until both are over (and `more`
    // says so too) or ten seconds.
    void untilBothOver(NetPlay& a, NetPlay& b, const std::function<bool()>& more = [] { return false; })
    {
        run([&](int, std::uint32_t) {
            a.update(nowMs(), 0);
            b.update(nowMs(), 0);
            return a.phase() != NetPhase::Over || b.phase() != NetPhase::Over || more();
        });
    }
    // Runs both sides (with these clocks) until `done` or ten seconds.
    template <class Turn>
    void run(Turn turn)
    {
        const std::uint32_t start = nowMs();
        for (int n = 0; nowMs() - start < 10000 && turn(n, nowMs() - start); ++n)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    // Both sides, player 1 tapping `button1` and player 2 `button2`, until
    // every step asked for is settled on both (or ten seconds).
    void fight(NetPlay& a, NetPlay& b, PlayerButton button1, PlayerButton button2)
    {
        run([&](int turn, std::uint32_t) {
            const std::uint32_t now = nowMs();
            a.update(now, static_cast<StepBits>(turn / 20 % 2 ? buttonBit(button1) : 0));
            b.update(now, static_cast<StepBits>(turn / 15 % 2 ? buttonBit(button2) : 0));
            return !a.finished() || !b.finished();
        });
        ASSERT_TRUE(a.finished() && b.finished()) << a.status() << " / " << b.status();
    }

    HeadlessPlatform platform{1000, 16};
    Game game{platform};
    NetPlayConfig host;
};

// Before the player comes: one stranger connects and leaves, one connects
// and says nothing (and is shown the door after two seconds), others knock
// half way and go on knocking, garbage and packets of another protocol
// version pour in. The player still gets in, a third machine that knocks
// during the fight is turned away, and the fight is whole.
TEST_F(NetPair, StrangersNeverTakeThePlayersPlace)
{
    host.maxSteps = 120;
    NetPlay a(host, game.fight, fightRules(game));
    ASSERT_TRUE(a.open());
    ENetHost* leaving = knock(a.port());
    ENetHost* silent = knock(a.port());
    std::vector<ENetHost*> halfOpen{knock(a.port()), knock(a.port())};
    std::unique_ptr<NetPlay> b;
    std::uint32_t silentIn = 0, silentOut = 0, knocked = 0;
    ENetHost* third = nullptr;
    bool thirdTurnedAway = false;
    auto otherVersion = encodePacket(StepHash{29, 1});
    otherVersion[2] = kProtocolVersion + 1;
    run([&](int turn, std::uint32_t since) {
        const std::uint32_t now = nowMs();
        a.update(now, 0);
        if (b) b->update(now, static_cast<StepBits>(turn / 15 % 2 ? buttonBit(PlayerButton::Attack) : 0));
        ENetEvent ev;
        while (enet_host_service(leaving, &ev, 0) > 0)
            if (ev.type == ENET_EVENT_TYPE_CONNECT) enet_peer_disconnect(ev.peer, 0);
        while (enet_host_service(silent, &ev, 0) > 0) {
            if (ev.type == ENET_EVENT_TYPE_CONNECT) silentIn = since + 1;
            if (ev.type == ENET_EVENT_TYPE_DISCONNECT) silentOut = since + 1;
        }
        if (since / 200 != knocked && halfOpen.size() < 40) {
            knocked = since / 200;
            halfOpen.push_back(knock(a.port()));  // five a second
        }
        if (turn % 5 == 0) sendRaw(a.port(), {0xde, 0xad, 0xbe, 0xef, static_cast<std::uint8_t>(turn)});
        if (turn % 7 == 0) sendRaw(a.port(), otherVersion);
        if (!third && b && b->phase() == NetPhase::Fighting) third = knock(a.port());
        while (third && enet_host_service(third, &ev, 0) > 0)
            if (ev.type == ENET_EVENT_TYPE_DISCONNECT) thirdTurnedAway = true;
        if (!b && since > 2600) {
            b = open(joining(a.port()));
        }
        return !b || !a.finished() || !b->finished() || silentOut == 0;
    });
    for (ENetHost* h : halfOpen) enet_host_destroy(h);
    enet_host_destroy(leaving);
    enet_host_destroy(silent);
    if (third) enet_host_destroy(third);
    ASSERT_TRUE(b);
    ASSERT_TRUE(a.finished() && b->finished()) << a.status() << " / " << b->status();
    EXPECT_FALSE(a.failed() || b->failed());
    EXPECT_EQ(a.session()->hashAfter(119), b->session()->hashAfter(119));
    ASSERT_NE(silentIn, 0u);
    EXPECT_GE(silentOut - silentIn, kGreetingMs - 100);
    EXPECT_LT(silentOut - silentIn, kGreetingMs + 500);
    EXPECT_GE(a.strangersDropped(), 4);
    EXPECT_TRUE(thirdTurnedAway);
    EXPECT_GT(a.hashesCompared(), 0);
}

// The host's packets carry impossible numbers now and then (an ack of
// steps never sent, a step out of reach, inputs far ahead, an echo from
// the future, a hash of a step not yet run): each is dropped and counted,
// the fight neither freezes nor shows a round trip of days.
TEST_F(NetPair, ImpossibleNumbersAreDroppedAndTheFightGoesOn)
{
    host.maxSteps = 240;
    int sent = 0;
    host.beforeSend = [&](Packet& p) {
        if (auto* in = std::get_if<Inputs>(&p)) {
            ++sent;
            if (sent == 40) in->ack |= 1u << 30;
            if (sent == 50) in->step += 1u << 20;
            if (sent == 60) in->first += 1u << 24;
            if (sent == 70 && in->echo) in->echo += 4000000000u;
        }
        if (auto* h = std::get_if<StepHash>(&p); h && h->step == 59) h->step = 29999999;
    };
    auto a = open(host);
    NetPlayConfig join = joining(a->port());
    join.beforeSend = nullptr;
    auto b = open(join);
    fight(*a, *b, PlayerButton::Right, PlayerButton::Attack);
    if (HasFatalFailure()) return;
    EXPECT_EQ(a->session()->hashAfter(239), b->session()->hashAfter(239));
    EXPECT_GE(b->rejectedPackets(), 4);
    EXPECT_EQ(a->rejectedPackets(), 0);
    EXPECT_LT(b->roundTripMaxMs(), 1000u);
}

// The fight is kept with the controls of the machine that kept it (here
// player 1's attack and block swapped): the replay holds what both players
// held, not keys, so it plays back as the same fight whatever the keys.
TEST_F(NetPair, AnOnlineReplayPlaysBackWithTheKeepersOwnControls)
{
    host.maxSteps = 180;
    auto played = open(host);
    NetPlay& a = *played;
    fight(a, *open(joining(a.port())), PlayerButton::Attack, PlayerButton::Left);
    if (HasFatalFailure()) return;
    Controls swapped = defaultControls();
    std::swap(swapped.keys[0][static_cast<std::size_t>(Action::Attack)],
              swapped.keys[0][static_cast<std::size_t>(Action::Block)]);
    game.controllers.controls = swapped;
    const auto file = std::filesystem::temp_directory_path() / "inkblot-online-controls.replay";
    {
        std::ofstream out(file);
        writeOnlineReplay(out, replayHeaderOf(game), a.startClock(), a.confirmedInputs(), a.replayHashes());
    }
    ASSERT_FALSE(a.replayHashes().empty());
    const std::string command = std::string(INKBLOT_SIM) + " --data " + INKBLOT_DATA_DIR + " --replay " +
                                file.string() + " > /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "the replay did not play back as the fight it keeps";
    std::filesystem::remove(file);
}

// A host that never answers: the joining side says so within five seconds.
TEST_F(NetPair, AJoinerWhoseHostNeverAnswersSaysSoInFiveSeconds)
{
    const int deaf = loopbackSocket(SOCK_DGRAM, 0);
    ASSERT_GE(deaf, 0);
    NetPlay b(joining(portOf(deaf)), game.fight, fightRules(game));
    ASSERT_TRUE(b.open());
    std::uint32_t endedAt = 0;
    run([&](int, std::uint32_t since) {
        b.update(nowMs(), 0);
        if (b.phase() == NetPhase::Over) endedAt = since;
        return endedAt == 0;
    });
    close(deaf);
    EXPECT_EQ(b.status(), "no answer from 127.0.0.1");
    EXPECT_GE(endedAt, 4900u);
    EXPECT_LE(endedAt, 5500u);
}

// The game joins a host that goes quiet for two seconds mid-fight: the
// window goes on showing the fight (and why it waits) all along.
TEST_F(NetPair, TheWindowKeepsDrawingWhileTheFightWaits)
{
    const auto folder = std::filesystem::temp_directory_path() / "inkblot-stall-test";
    std::filesystem::remove_all(folder);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    HeadlessPlatform platform2{1000, 16};
    Game joiner{platform2};
    joiner.content.contentFiles.setFolder(INKBLOT_DATA_DIR);
    // The joining player keeps an input delay of 3 in the controls file.
    std::filesystem::create_directories(folder);
    joiner.controllers.configPath = (folder / "controls.ini").string();
    std::ofstream(joiner.controllers.configPath) << "[online]\ndelay = 3\n";
    int joinerDelay = -1;
    host.gameVersion = replayHeaderOf(game).gameVersion;
    host.content = replayHeaderOf(game).content;
    NetPlay a(host, game.fight, fightRules(game));
    ASSERT_TRUE(a.open());
    OnlineOptions o;
    o.join = true;
    o.address = "127.0.0.1";
    o.port = a.port();
    std::uint32_t quietFrom = 0;
    int framesBefore = 0, framesQuiet = 0;  // frames shown in the silence's last 800 ms
    const std::uint32_t began = nowMs();
    platform2.onPassEnd = [&] {
        const std::uint32_t clock = platform2.clock();
        if (quietFrom == 0 && a.session() && a.session()->nextStep() > 60) quietFrom = clock;
        if (joiner.online && joiner.online->play().session())
            joinerDelay = joiner.online->play().session()->inputDelay();
        const bool quiet = quietFrom != 0 && clock - quietFrom < 2000;
        if (!quiet) a.update(clock, 0);
        // The last 800 ms of the silence: long stalled by then.
        if (quietFrom != 0 && clock - quietFrom < 1200) framesBefore = platform2.framesPresented();
        if (quietFrom != 0 && clock - quietFrom < 2000) framesQuiet = platform2.framesPresented() - framesBefore;
        if (!a.session()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return nowMs() - began < 10000 && (quietFrom == 0 || clock - quietFrom < 2500);
    };
    runOnlineGame(joiner, o);
    unsetenv("XDG_DATA_HOME");
    std::filesystem::remove_all(folder);
    ASSERT_NE(quietFrom, 0u) << "the fight never began: " << a.status() << " after " << platform2.passes();
    EXPECT_GE(framesQuiet, 5);
    EXPECT_EQ(joinerDelay, 3) << "the controls file's input delay";
    EXPECT_EQ(a.phase(), NetPhase::Fighting) << a.status();
}

// A host nobody joins: its keys are the online game's before any screen's,
// so a key on the waiting splash starts no fight of its own, and Escape
// gives up.
TEST_F(NetPair, TheWaitingHostsKeysAreTheOnlineGames)
{
    const auto folder = std::filesystem::temp_directory_path() / "inkblot-waiting-test";
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    setenv("INKBLOT_NO_PORT_MAPPING", "1", 1);
    HeadlessPlatform platform2{1000, 16};
    platform2.setScript({{1100, ScriptEvent::Kind::KeyDown, VK_SPACE},
                         {1150, ScriptEvent::Kind::KeyUp, VK_SPACE},
                         {1300, ScriptEvent::Kind::KeyDown, VK_ESCAPE}});
    platform2.setMaxPasses(2000);
    Game waiting{platform2};
    waiting.content.contentFiles.setFolder(INKBLOT_DATA_DIR);
    OnlineOptions o;
    o.host = true;
    EXPECT_EQ(runOnlineGame(waiting, o), 0);
    unsetenv("XDG_DATA_HOME");
    unsetenv("INKBLOT_NO_PORT_MAPPING");
    std::filesystem::remove_all(folder);
    EXPECT_EQ(waiting.fight.gameState, GameState::Splash);
    EXPECT_LT(platform2.clock(), 1400u);
    EXPECT_GT(platform2.framesPresented(), 5);
}

TEST_F(NetPair, AnotherGameVersionIsRefusedOnBothSides)
{
    host.gameVersion = "0.1";
    auto a = open(host);
    NetPlayConfig join = joining(a->port());
    join.gameVersion = "0.2\xc1\x01";  // shown as the content messages show names
    auto b = open(join);
    untilBothOver(*a, *b);
    const std::string why = "refused: the host's game is version 0.1, the other player's 0.2\\xC1\\x01";
    EXPECT_EQ(a->status(), why);
    EXPECT_EQ(b->status(), why);
    EXPECT_TRUE(a->failed() && b->failed());
    EXPECT_EQ(a->session(), nullptr);
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
    auto a = open(host);
    NetPlayConfig join = joining(a->port());
    join.clockHook = nullptr;
    join.desyncFolder = folder.string();
    auto b = open(join);
    untilBothOver(*a, *b, [&] { return a->reporting() || b->reporting(); });
    EXPECT_EQ(a->status(), "out of sync at step 119: the fight could not be written to "
                          "/proc/no-such-folder/desync-step-119-player1.txt");
    const std::filesystem::path report = folder / "desync-step-119-player2.txt";
    EXPECT_EQ(b->status(), "out of sync at step 119: the fight is written to " + report.string());
    const std::string text = readText(report.string());
    EXPECT_NE(text.find("state here (player 2) at step 119"), std::string::npos) << text;
    EXPECT_NE(text.find("state there (player 1) at step 119"), std::string::npos) << text;
    std::filesystem::remove_all(folder);
}

// The joining machine's clock jumps 100 ms (six steps) ahead: it waits a
// step at a time until it is no more than two ahead, and neither side
// stalls for the other meanwhile.
TEST_F(NetPair, ASideThatRunsAheadWaitsForTheOther)
{
    auto first = open(host), second = open(joining(first->port()));
    NetPlay &a = *first, &b = *second;
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
    auto first = open(host), second = open(joining(first->port()));
    NetPlay &a = *first, &b = *second;
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
    // Lost by 3.5 s and the fight ended: NetFight.killed.
    EXPECT_GE(lostAt - quietFrom, 2950u);
    EXPECT_TRUE(a.failed());
    EXPECT_LT(longestTurn, 250u);
}

}  // namespace
}  // namespace ib::test

namespace ib::test {
namespace {

using namespace ib::net;

// The choices online, over a made-up content of slate and wisp on the
// harbour: a name the other side cannot have (a path, too long, not a name,
// not in its content, its files not the same) refuses the fight on both
// sides, saying which; a side that says no choice (a game from before
// choices) fights the fight made.
class NetChoice : public NetPair {
protected:
    void SetUp() override
    {
        NetPair::SetUp();
        host.lookUp = [](bool stage, const std::string& name) -> std::optional<std::uint64_t> {
            if (name == (stage ? "harbour" : "slate")) return 7;
            if (!stage && name == "wisp") return 8;
            return std::nullopt;
        };
        host.makeFight = [this](const AgreedChoice&, FightRules&) { return game.fight; };
        host.choice = {"slate", 7, "harbour", 7};
        host.maxSteps = 60;
    }
    NetPlayConfig joiningAs(std::uint16_t port, const Choice& choice) const
    {
        NetPlayConfig join = joining(port);
        join.choice = choice;
        return join;
    }
};

TEST_F(NetChoice, WhatTheOtherSideCannotHaveIsRefusedOnBothSidesByName)
{
    const std::string joiner = "refused: the joining player's fighter ";
    const std::pair<Choice, std::string> cases[] = {
        {{"../../etc/passwd", 8, "", 0}, joiner + "\"../../etc/passwd\" cannot be a name (only letters, digits, - and _)"},
        {{std::string(40, 'w'), 8, "", 0},
         joiner + "\"" + std::string(32, 'w') + "...\" is too long for a name (40 characters, at most 32)"},
        {{"wisp\x01", 8, "", 0}, joiner + "\"wisp\\x01\" cannot be a name (only letters, digits, - and _)"},
        {{"", 8, "", 0}, joiner + "has no name"},
        {{"ghost", 8, "", 0}, joiner + "\"ghost\" is not in the host's content"},
        {{"wisp", 9, "", 0}, "refused: the content of the joining player's fighter \"wisp\" differs between the two players"},
        {{"wisp", 8, "harbour", 7}, "refused: the joining player chose a stage, which only the host does"},
    };
    for (const auto& [forged, why] : cases) {
        auto a = open(host);
        NetPlayConfig join = joiningAs(a->port(), {"wisp", 8, "", 0});
        join.beforeSend = [&forged](Packet& p) {
            if (auto* c = std::get_if<Choice>(&p)) *c = forged;
        };
        auto b = open(join);
        untilBothOver(*a, *b);
        EXPECT_EQ(a->status(), why);
        EXPECT_EQ(b->status(), why);
        EXPECT_EQ(a->session(), nullptr);
    }
    // The host's stage with other files: the one who joins refuses, and the
    // host, already fighting, stops with the same words.
    auto a = open(host);
    NetPlayConfig join = joiningAs(a->port(), {"wisp", 8, "", 0});
    join.lookUp = [](bool stage, const std::string&) -> std::optional<std::uint64_t> { return stage ? 99 : 7; };
    auto b = open(join);
    untilBothOver(*a, *b);
    const std::string why = "refused: the content of the host's stage \"harbour\" differs between the two players";
    EXPECT_EQ(a->status(), why);
    EXPECT_EQ(b->status(), why);
}

// A machine that sends a choice and never greets is still a stranger: the
// player who comes after it takes the place, with its own choice.
TEST_F(NetChoice, AChoiceWithoutAGreetingTakesNoPlace)
{
    auto a = open(host);
    ENetHost* stranger = knock(a->port());
    ASSERT_TRUE(stranger);
    bool sent = false;
    std::unique_ptr<NetPlay> b;
    run([&](int, std::uint32_t since) {
        a->update(nowMs(), 0);
        if (b) b->update(nowMs(), 0);
        ENetEvent ev;
        while (enet_host_service(stranger, &ev, 0) > 0)
            if (ev.type == ENET_EVENT_TYPE_CONNECT && !sent) {
                const auto bytes = encodePacket(Choice{"ghost", 1, "", 0});
                enet_peer_send(ev.peer, kReliableChannel,
                               enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
                sent = true;
            }
        if (!b && since > 300) b = open(joiningAs(a->port(), {"wisp", 8, "", 0}));
        return !b || !a->finished() || !b->finished();
    });
    enet_host_destroy(stranger);
    ASSERT_TRUE(sent);
    ASSERT_TRUE(b && a->finished() && b->finished()) << a->status();
    ASSERT_TRUE(a->agreed());
    EXPECT_EQ(a->agreed()->fighter[1], "wisp");
}

TEST_F(NetChoice, BothChoicesAreFoughtAndASideWithoutOneFightsTheFightMade)
{
    auto a = open(host);
    auto b = open(joiningAs(a->port(), {"wisp", 8, "", 0}));
    fight(*a, *b, PlayerButton::Right, PlayerButton::Attack);
    if (HasFatalFailure()) return;
    for (const NetPlay* side : {a.get(), b.get()}) {
        ASSERT_TRUE(side->agreed());
        EXPECT_EQ(side->agreed()->fighter[0], "slate");
        EXPECT_EQ(side->agreed()->fighter[1], "wisp");
        EXPECT_EQ(side->agreed()->stage, "harbour");
    }
    // A joiner or a host that says no choice.
    for (const bool oldHost : {false, true}) {
        NetPlayConfig hosting = host;
        if (oldHost) hosting.choice = {};
        auto h = open(hosting);
        auto j = open(joiningAs(h->port(), oldHost ? Choice{"wisp", 8, "", 0} : Choice{}));
        fight(*h, *j, PlayerButton::Right, PlayerButton::Attack);
        if (HasFatalFailure()) return;
        EXPECT_FALSE(h->agreed() || j->agreed());
        EXPECT_EQ(h->session()->hashAfter(59), j->session()->hashAfter(59));
    }
}

}  // namespace
}  // namespace ib::test
