// The online fight's core: the step clock, the packet reader, and the
// game's online options. (Rollbacks that correct wrong guesses are pinned by
// NetFight.ThreeLines: both sides of fights over impaired lines end on the
// same hash, with no rollback deeper than 8 steps, and the fight's replay,
// run straight through with every input known, ends on it too; a restored
// snapshot playing the same steps again by NetSync.RollbackEightSteps.)
#include <gtest/gtest.h>

#include "app/online_options.h"
#include "net/packet.h"
#include "net/step_bits.h"

namespace ib::test {
namespace {

using namespace ib::net;

TEST(NetSession, StepsAdvanceSixtyASecondAsSixteenSeventeenSeventeen)
{
    EXPECT_EQ(stepClock(1000, 0), 1016u);
    EXPECT_EQ(stepClock(1000, 1) - stepClock(1000, 0), 17u);
    EXPECT_EQ(stepClock(1000, 2) - stepClock(1000, 1), 17u);
    EXPECT_EQ(stepClock(1000, 3) - stepClock(1000, 2), 16u);
    EXPECT_EQ(stepClock(1000, 59), 2000u);
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

    // --lobby alone is not online play: the splash screen's key opens it.
    args = {"--lobby", "lobby.example.org:5300", "slow"};
    o = {};
    EXPECT_EQ(takeOnlineOptions(args, o), "");
    EXPECT_EQ(o.lobby, "lobby.example.org:5300");
    EXPECT_FALSE(o.online());
    EXPECT_EQ(args, std::vector<std::string>{"slow"});

    for (std::vector<std::string> bad : {std::vector<std::string>{"--join"}, {"--join", "h:0"},
                                         {"--delay", "5"}, {"--host", "--join", "h"}, {"--lobby"},
                                         {"--lobby", "h:x"}, {"--lobby", ":5222"}}) {
        o = {};
        EXPECT_NE(takeOnlineOptions(bad, o), "") << bad[0];
    }
}

}  // namespace
}  // namespace ib::test
