// Spectators over 127.0.0.1 in one process: the packets between them and
// the host read back as written and anything else is named; at the host's
// door a hostile or mistaken spectator is dropped or refused with why,
// and a ninth is turned away; a host that says what cannot be true ends
// the watch with a message, never a crash.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/display.h"
#include "app/game.h"
#include "app/online_choice.h"
#include "net/net_play.h"
#include "net/spectator_feed.h"
#include "net/watch_session.h"
#include "platform/headless_platform.h"
#include "support/fixtures.h"

namespace ib::test {
namespace {

using namespace ib::net;

// Runs `turn` every millisecond until it says stop, or five seconds.
template <class Turn>
void runFor(Turn turn)
{
    const std::uint32_t start = nowMs();
    while (nowMs() - start < 5000 && turn()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(WatchPackets, ReadBackAsWrittenAndAnythingElseIsNamed)
{
    const std::vector<WatchPacket> all = {WatchHello{"1.2", 77},
                                          WatchStart{1009, 300, {}},
                                          WatchStart{7, 1, AgreedChoice{{"slate", "wisp"}, "harbour", {1, 2, 3}}},
                                          WatchSteps{5, {{1, 2}, {0, kAllButtons}}},
                                          WatchAck{42},
                                          WatchEnd{600, 0xfeedULL},
                                          Refusal{"no"},
                                          Hello{"1.2", 77, 3}};
    for (const WatchPacket& p : all) {
        std::vector<std::uint8_t> bytes = encodeWatchPacket(p);
        std::string why;
        EXPECT_EQ(decodeWatchPacket(bytes, why), p);
        // Every packet cut short, or with a byte more, is not read.
        for (std::size_t n = 0; n < bytes.size(); ++n)
            EXPECT_FALSE(decodeWatchPacket(std::span(bytes).first(n), why)) << n;
        bytes.push_back(0);
        why.clear();
        EXPECT_FALSE(decodeWatchPacket(bytes, why));
        EXPECT_FALSE(why.empty());
    }
    std::string why;
    std::vector<std::uint8_t> steps = encodeWatchPacket(WatchSteps{0, {{0, 0}}});
    steps.back() = 0x80;  // a button no fighter has
    EXPECT_FALSE(decodeWatchPacket(steps, why));
    EXPECT_NE(why.find("out of range"), std::string::npos) << why;
    std::vector<std::uint8_t> inputs = encodePacket(StepHash{29, 1});  // a players' packet
    EXPECT_FALSE(decodeWatchPacket(inputs, why));
    EXPECT_EQ(why, "a packet of kind 4, which a spectator's line does not carry");
    inputs[2] = 9;
    EXPECT_FALSE(decodeWatchPacket(inputs, why));
    EXPECT_NE(why.find("protocol version 9"), std::string::npos) << why;
}

class Spectators : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.content.contentFiles.setFolder(INKBLOT_DATA_DIR);
        ASSERT_EQ(initDisplay(game), DD_OK);
        std::string error;
        feed = SpectatorFeed::open("127.0.0.1", 0, "test", 5, error);
        ASSERT_TRUE(feed) << error;
    }
    WatchConfig watching(std::string version = "test") const
    {
        return {"127.0.0.1", feed->port(), std::move(version), 5, {}, {}, {}};
    }
    // What the door said, all of it.
    std::string notes()
    {
        std::string all;
        for (const std::string& n : feed->takeNotes()) all += n + "\n";
        return all;
    }
    HeadlessPlatform platform{1000, 16};
    Game game{platform};
    // The players have not met: the door greets but has no steps to send.
    NetPlay play{NetPlayConfig{}, game.fight, fightRules(game)};
    std::unique_ptr<SpectatorFeed> feed;
};

TEST_F(Spectators, TheDoorTakesEightAndTurnsAwayTheMistakenAndTheHostile)
{
    // Nine come once the liar is gone, so that its place is free.
    std::vector<std::unique_ptr<WatchSession>> eight;
    WatchSession other(watching("other"), game.fight, fightRules(game));
    ASSERT_TRUE(other.open());
    std::string error;
    std::unique_ptr<NetLink> liar = NetLink::join("127.0.0.1", feed->port(), {}, error);
    std::unique_ptr<NetLink> player = NetLink::join("127.0.0.1", feed->port(), {}, error);
    std::unique_ptr<NetLink> garbage = NetLink::join("127.0.0.1", feed->port(), {}, error);
    bool said = false;
    runFor([&] {
        const std::uint32_t now = nowMs();
        feed->update(now, play);
        if (liar->disconnected() && eight.empty())
            for (int i = 0; i < 9; ++i) {
                eight.push_back(std::make_unique<WatchSession>(watching(), game.fight, fightRules(game)));
                eight.back()->open();
            }
        for (auto& w : eight) w->update(now);
        other.update(now);
        std::vector<Received> in;
        for (NetLink* l : {liar.get(), player.get(), garbage.get()}) l->poll(now, in);
        if (!said && liar->connected() && player->connected() && garbage->connected()) {
            said = true;
            liar->send(kReliableChannel, encodeWatchPacket(WatchHello{"test", 5}), now);
            liar->send(kReliableChannel, encodeWatchPacket(WatchAck{1000}), now);
            player->send(kReliableChannel, encodePacket(Hello{"test", 5, 0}), now);
            garbage->send(kReliableChannel, {'I', 'F', kProtocolVersion, 34, 1}, now);
        }
        return feed->spectators() < 8 || other.phase() != WatchPhase::Over || !player->disconnected() ||
               !garbage->disconnected() || !liar->disconnected();
    });
    const std::string doorNotes = notes();
    EXPECT_EQ(feed->spectators(), 8u) << doorNotes;
    EXPECT_EQ(other.status(), "refused: the host's game is version test, the spectator's other");
    int refusedFull = 0;
    for (auto& w : eight)
        if (w->status() == "refused: the fight already has 8 spectators") ++refusedFull;
    EXPECT_EQ(refusedFull, 1) << doorNotes;
    EXPECT_NE(doorNotes.find("dropped: acknowledged step 1000 of 0 sent"), std::string::npos) << doorNotes;
    EXPECT_NE(doorNotes.find("refused: this port is for spectators; a player joins the fight's own port"),
              std::string::npos)
        << doorNotes;
    EXPECT_NE(doorNotes.find("dropped: sent a packet of kind 34 that is cut short"), std::string::npos) << doorNotes;
}

// A host that is not what it says: the spectator ends with a message.
TEST_F(Spectators, AHostThatSaysWhatCannotBeTrueEndsTheWatch)
{
    feed.reset();
    const std::vector<std::pair<std::vector<WatchPacket>, std::string>> cases = {
        {{WatchStart{1000, 0, {}}, WatchSteps{5, {{0, 0}}}}, "the host's steps jump from 0 to 5"},
        {{WatchSteps{0, {{0, 0}}}}, "the host sent steps before the fight's start"},
        {{WatchStart{1000, 0, {}}, WatchSteps{0, {{0, 0}}}, WatchEnd{7, 1}},
         "the host ended the fight at step 7 having sent 1"},
        {{WatchStart{1000, 0, {}}, WatchSteps{0, {{0, 0}}}, WatchEnd{1, 1}}, "out of sync: the fight here ends on hash"},
        {{WatchAck{3}}, "the host sent a packet only a spectator or a player sends"},
        // A chosen fight this side cannot set up the same: a name that is
        // none, and a fighter whose files differ (the fingerprint is made up).
        {{WatchStart{1000, 0, AgreedChoice{{"../rook", "quill"}, "desert", {}}}},
         "player 1's fighter \"../rook\" cannot be a name"},
        {{WatchStart{1000, 0, AgreedChoice{{"rook", "quill"}, "desert", {1, 2, 3}}}},
         "the content of player 1's fighter \"rook\" differs from this spectator's"},
        {{Refusal{"no\x01"}}, "no\\x01"},
    };
    for (const auto& [packets, message] : cases) {
        std::string error;
        std::unique_ptr<NetLink> host = NetLink::host("127.0.0.1", 0, {}, error);
        ASSERT_TRUE(host) << error;
        WatchConfig c{"127.0.0.1", host->port(), "test", 5, {}, onlineContentLookUp(game), onlineFightMaker(game)};
        WatchSession w(c, game.fight, fightRules(game));
        ASSERT_TRUE(w.open());
        bool sent = false;
        runFor([&] {
            const std::uint32_t now = nowMs();
            w.update(now);
            std::vector<Received> in;
            host->poll(now, in);
            for (const Received& r : in)
                if (!r.fromPlayer) host->accept(r.stranger);
            if (host->connected() && !sent) {
                sent = true;
                for (const WatchPacket& p : packets) host->send(kReliableChannel, encodeWatchPacket(p), now);
            }
            return w.phase() != WatchPhase::Over;
        });
        EXPECT_TRUE(w.failed());
        EXPECT_EQ(w.status().rfind(message, 0), 0u) << w.status();
    }
}

}  // namespace
}  // namespace ib::test
