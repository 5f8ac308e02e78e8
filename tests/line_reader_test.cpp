#include "content/line_reader.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/fixtures.h"

namespace ib {
namespace {

constexpr std::int32_t kUnset = -99;

TEST(NumberRules, IntegerAndPairFields)
{
    struct Case {
        const char* text;
        int count;
        std::int32_t first, second;
    } cases[] = {
        {"12,5", 2, 12, 5},
        {" \t-4,0", 2, -4, 0},
        {"12, 5", 2, 12, 5},          // blanks may stand before the second number
        {"12 ,5", 1, 12, kUnset},     // the comma must follow the digits directly
        {"12", 1, 12, kUnset},
        {"12,x", 1, 12, kUnset},
        {"+7,-8junk", 2, 7, -8},
        {"x12,5", 0, kUnset, kUnset},
        {"- 3,4", 0, kUnset, kUnset},
        {"", 0, kUnset, kUnset},
        {"99999999999,-99999999999", 2, std::numeric_limits<std::int32_t>::max(),
         std::numeric_limits<std::int32_t>::min()},
    };
    for (const Case& c : cases) {
        std::int32_t a = kUnset, b = kUnset;
        EXPECT_EQ(readIntPair(c.text, a, b), c.count) << c.text;
        EXPECT_EQ(a, c.first) << c.text;
        EXPECT_EQ(b, c.second) << c.text;
    }
    std::int32_t value = 5;
    EXPECT_FALSE(readInt("none", value));
    EXPECT_EQ(value, 5);  // the field keeps its value
    EXPECT_EQ(leadingInt("  -7 frames"), -7);
    EXPECT_EQ(leadingInt("yes"), 0);
    EXPECT_EQ(leadingInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(NumberRules, DamageIsADecimalNumberOnly)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"12.5", 12.5}, {"-3", -3.0},  {" +1.5e2x", 150.0}, {".5", 0.5},   {"5.", 5.0},
        {"2e", 2.0},    {"abc", 0.0},  {"nan", 0.0},        {"inf", 0.0},  {"-infinity", 0.0},
        {"0x10", 0.0},  {"1e-999", 0.0}, {"1e999", std::numeric_limits<double>::max()},
        {"-1e999", -std::numeric_limits<double>::max()},
    };
    for (const Case& c : cases) EXPECT_EQ(readDecimal(c.text), c.value) << c.text;
}

TEST(LineReader, LinesCarriageReturnsAndLists)
{
    test::ScratchDir dir;
    const std::string longName(1000, 'n');
    test::writeFile("a.txt", "head\r\n" + longName + "\r\nin\rside\n\t \n\nlast");
    LineReader file;
    EXPECT_FALSE(file.open("missing.txt"));
    ASSERT_TRUE(file.open("a.txt"));
    EXPECT_EQ(file.nextLine(), "head");
    EXPECT_EQ(file.countListLines(), 3);  // blank and tab-only lines don't count, "last" does
    EXPECT_EQ(file.nextLine(), longName);  // read whole, never split
    EXPECT_EQ(file.nextLine(), "in\rside");
    EXPECT_EQ(file.nextLine(), "\t ");
    EXPECT_EQ(file.nextLine(), "");
    EXPECT_EQ(file.nextLine(), "last");
    EXPECT_EQ(file.nextLine(), "");  // past the end every line is empty
    EXPECT_EQ(file.countListLines(), 0);

    test::writeFile("b.txt", "x\r\n\r\n \r\n");
    ASSERT_TRUE(file.open("b.txt"));
    file.nextLine();
    EXPECT_EQ(file.countListLines(), 0);
}

}  // namespace
}  // namespace ib
