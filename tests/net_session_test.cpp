// The online fight's core: the step clock, a rollback that corrects a
// wrong guess ends in the fight run with the right inputs, the packet
// reader, and the game's online options.
#include <gtest/gtest.h>

#include "app/display.h"
#include "app/game.h"
#include "app/online_options.h"
#include "net/packet.h"
#include "net/rollback_session.h"
#include "platform/headless_platform.h"

namespace ib::test {
namespace {

using namespace ib::net;

struct DefaultFightStart {
    DefaultFightStart()
    {
        game.content.contentFiles.setFolder(INKBLOT_DATA_DIR);
        opened = initDisplay(game) == DD_OK;
        start = game.fight;
        start.gameState = GameState::Fight;
    }
    HeadlessPlatform platform{1000, 16};
    Game game{platform};
    bool opened = false;
    FightState start;
};

TEST(NetSession, StepsAdvanceSixtyASecondAsSixteenSeventeenSeventeen)
{
    EXPECT_EQ(stepClock(1000, 0), 1016u);
    EXPECT_EQ(stepClock(1000, 1) - stepClock(1000, 0), 17u);
    EXPECT_EQ(stepClock(1000, 2) - stepClock(1000, 1), 17u);
    EXPECT_EQ(stepClock(1000, 3) - stepClock(1000, 2), 16u);
    EXPECT_EQ(stepClock(1000, 59), 2000u);
}

// Player 2's inputs reach player 1's session late: the steps run on a
// guess are run again, and the fight ends as one run with every input
// known from the start, hash for hash.
TEST(NetSession, ALateInputIsCorrectedToTheFightWithItKnown)
{
    DefaultFightStart d;
    ASSERT_TRUE(d.opened);
    const FightRules rules = fightRules(d.game);
    auto p1 = [](std::int64_t s) { return static_cast<StepBits>(s % 40 < 20 ? buttonBit(PlayerButton::Right) : 0); };
    auto p2 = [](std::int64_t s) {
        return static_cast<StepBits>((s / 7) % 3 == 0 ? buttonBit(PlayerButton::Attack) | buttonBit(PlayerButton::Left)
                                                        : buttonBit(PlayerButton::Left));
    };
    RollbackSession known(d.start, rules, 5000, 1, 0), late(d.start, rules, 5000, 1, 0);
    for (std::int64_t s = 0; s < 300; ++s) {
        known.addLocalInput(p1(s));
        known.addRemoteInput(s, p2(s));
        known.advance();
        late.addLocalInput(p1(s));
        // The other player's inputs come 6 steps late.
        if (s >= 6) late.addRemoteInput(s - 6, p2(s - 6));
        ASSERT_TRUE(late.canAdvance());
        late.advance();
    }
    for (std::int64_t s = 294; s < 300; ++s) late.addRemoteInput(s, p2(s));
    late.settle();
    EXPECT_GT(late.stats().rollbacks, 0);
    EXPECT_LE(late.stats().maxDepth, kMaxPrediction);
    EXPECT_EQ(late.confirmedStep(), 299);
    EXPECT_EQ(late.fight(), known.fight());
    EXPECT_EQ(late.hashAfter(299), known.hashAfter(299));
    // No more than kMaxPrediction steps are run on a guess.
    RollbackSession alone(d.start, rules, 5000, 1, 0);
    for (int ran = 0; ran < 20; ++ran) {
        alone.addLocalInput(0);
        if (!alone.canAdvance()) break;
        alone.advance();
    }
    EXPECT_EQ(alone.nextStep(), kMaxPrediction);
}

TEST(NetSession, PacketsRoundTripAndStrangersAreIgnored)
{
    const std::vector<Packet> packets{
        Hello{"0.1", 0xc02602ddb7c904faull, 77}, Refusal{"refused: the content differs"},
        Inputs{12, 15, 10, 5000, 4900, {0, 1, 63}}, StepHash{29, 0x0123456789abcdefull},
        StateText{119, std::string(300, 'x')}};
    for (const Packet& p : packets) {
        const auto bytes = encodePacket(p);
        EXPECT_EQ(decodePacket(bytes), p);
        // Cut short anywhere, or one byte too long: nothing.
        for (std::size_t n = 0; n < bytes.size(); ++n)
            EXPECT_FALSE(decodePacket(std::span(bytes.data(), n))) << n;
        auto longer = bytes;
        longer.push_back(0);
        EXPECT_FALSE(decodePacket(longer));
        auto otherVersion = bytes;
        otherVersion[2] = kProtocolVersion + 1;
        EXPECT_FALSE(decodePacket(otherVersion));
    }
    auto badButtons = encodePacket(Inputs{0, 0, 0, 0, 0, {1}});
    badButtons.back() = 0x40;  // no such button
    EXPECT_FALSE(decodePacket(badButtons));
}

TEST(NetSession, OnlineOptions)
{
    std::vector<std::string> args{"slow", "--host", "--delay", "3"};
    OnlineOptions o;
    EXPECT_EQ(takeOnlineOptions(args, o), "");
    EXPECT_TRUE(o.host);
    EXPECT_EQ(o.port, 7150);
    EXPECT_EQ(o.delay, 3);
    EXPECT_EQ(args, std::vector<std::string>{"slow"});

    args = {"--join", "127.0.0.1:7200"};
    o = {};
    EXPECT_EQ(takeOnlineOptions(args, o), "");
    EXPECT_EQ(o.address, "127.0.0.1");
    EXPECT_EQ(o.port, 7200);

    for (std::vector<std::string> bad : {std::vector<std::string>{"--join"}, {"--join", "h:0"},
                                         {"--delay", "5"}, {"--host", "--join", "h"}}) {
        o = {};
        EXPECT_NE(takeOnlineOptions(bad, o), "") << bad[0];
    }
}

}  // namespace
}  // namespace ib::test
