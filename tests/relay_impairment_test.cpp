// The test relay's bad line: its schedules read as written, and each way
// of spoiling datagrams does what it says, no more.
#include <gtest/gtest.h>

#include "relay/impairment.h"

namespace ib::test {
namespace {

using relay::Impairer;
using relay::Schedule;

Schedule parsed(const std::string& text)
{
    std::string error;
    auto s = Schedule::parse(text, error);
    EXPECT_TRUE(s) << text << ": " << error;
    return s.value_or(Schedule{});
}

std::vector<std::uint8_t> datagram() { return {1, 2, 3, 4, 5, 6, 7, 8}; }

int bitsDiffering(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    int n = 0;
    for (std::size_t i = 0; i < a.size(); ++i) n += __builtin_popcount(a[i] ^ b[i]);
    return n;
}

TEST(RelayImpairment, SchedulesAreReadOrRefusedByTheItemAtFault)
{
    parsed("delay=0:0/60000:100,jitter=20,loss=0.01,burst=5000:200,blackout=10000:2000,"
           "blackout=20000:2900,dup=0.02,reorder=0.03:40,corrupt=0.01,flip=7:12:3");
    for (const char* bad : {"loss=1.5", "flip=0:1:1", "flip=1:1:8", "delay=100:5/50:6", "bogus=1", "jitter=-3",
                            "burst=0:10", "reorder=0.1"}) {
        std::string error;
        EXPECT_FALSE(Schedule::parse(bad, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
}

TEST(RelayImpairment, DelayFollowsItsPointsAndDatagramsNeverOvertakeInTheQueue)
{
    const Schedule ramp = parsed("delay=0:0/60000:100/70000:100/70001:0");
    EXPECT_EQ(ramp.delayAt(0), 0u);
    EXPECT_EQ(ramp.delayAt(30000), 50u);
    EXPECT_EQ(ramp.delayAt(65000), 100u);
    EXPECT_EQ(ramp.delayAt(90000), 0u);
    EXPECT_EQ(parsed("delay=35").delayAt(123456), 35u);

    Impairer line(ramp, 1);
    const auto before = line.take(70000, datagram());
    const auto after = line.take(70002, datagram());  // the delay has fallen to 0
    ASSERT_EQ(before.size(), 1u);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(before[0].due, 70100u);
    EXPECT_EQ(after[0].due, 70100u);
    EXPECT_EQ(line.take(80000, datagram())[0].due, 80000u);
}

TEST(RelayImpairment, BlackoutsAndBurstsLoseEverythingInsideAndNothingOutside)
{
    Impairer line(parsed("blackout=1000:500,burst=3000:100"), 1);
    for (std::uint32_t ms = 0; ms < 7000; ms += 10) {
        const bool inside = (ms >= 1000 && ms < 1500) || (ms >= 3000 && ms % 3000 < 100);
        EXPECT_EQ(line.take(ms, datagram()).empty(), inside) << ms;
    }
}

TEST(RelayImpairment, CorruptionFlipsOneBitAndFlipsHitTheirPlaceOnly)
{
    Impairer all(parsed("corrupt=1"), 3);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(bitsDiffering(all.take(0, datagram())[0].bytes, datagram()), 1);
    EXPECT_EQ(all.stats().corrupted, 50u);

    Impairer one(parsed("flip=3:2:7"), 3);
    for (std::uint64_t n = 1; n <= 5; ++n) {
        const auto out = one.take(0, datagram())[0].bytes;
        auto expected = datagram();
        if (n == 3) expected[2] ^= 0x80;
        EXPECT_EQ(out, expected) << n;
    }
}

TEST(RelayImpairment, RatesHoldAndTheSameSeedGivesTheSameFates)
{
    Impairer a(parsed("loss=0.3,dup=0.1,reorder=0.2:50,jitter=10"), 7), b(parsed("loss=0.3,dup=0.1,reorder=0.2:50,jitter=10"), 7);
    int delivered = 0;
    for (std::uint32_t i = 0; i < 10000; ++i) {
        const auto x = a.take(i, datagram());
        const auto y = b.take(i, datagram());
        ASSERT_EQ(x.size(), y.size());
        for (std::size_t k = 0; k < x.size(); ++k) {
            EXPECT_EQ(x[k].due, y[k].due);
            EXPECT_LE(x[k].due, i + 10 + 50 + 1);
        }
        delivered += static_cast<int>(x.size());
    }
    const auto& s = a.stats();
    EXPECT_NEAR(s.lost, 3000, 300);
    EXPECT_NEAR(s.duplicated, 700, 150);   // a tenth of what is not lost
    EXPECT_NEAR(s.reordered, 1400, 200);
    EXPECT_EQ(delivered, 10000 - static_cast<int>(s.lost) + static_cast<int>(s.duplicated));
}

}  // namespace
}  // namespace ib::test
