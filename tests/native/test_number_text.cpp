#include "core/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(NumberText, CIntegersInEveryBase)
{
    EXPECT_EQ(scan_c_int("0x64"), 100);
    EXPECT_EQ(scan_c_int("0X1f"), 31);
    EXPECT_EQ(scan_c_int("010"), 8);
    EXPECT_EQ(scan_c_int("100"), 100);
    EXPECT_EQ(scan_c_int("-12"), -12);
    EXPECT_EQ(scan_c_int("+7"), 7);
    EXPECT_EQ(scan_c_int("  42px"), 42);
    EXPECT_EQ(scan_c_int("09"), 0); // octal stops at 9
    EXPECT_EQ(scan_c_int("0x"), 0); // the prefix needs a digit; the 0 alone is read
    EXPECT_EQ(scan_c_int("0"), 0);
}

TEST(NumberText, TextWithoutANumber)
{
    EXPECT_EQ(scan_c_int("abc"), std::nullopt);
    EXPECT_EQ(scan_c_int(""), std::nullopt);
    EXPECT_EQ(scan_c_int("-"), std::nullopt);
    EXPECT_EQ(scan_c_int("- 5"), std::nullopt);
    EXPECT_EQ(scan_hex("xyz"), std::nullopt);
    EXPECT_EQ(scan_hex(""), std::nullopt);
}

TEST(NumberText, OnlyTheFirstFifteenCharactersCount)
{
    EXPECT_EQ(scan_c_int(std::string(15, ' ') + "42"), std::nullopt);
    EXPECT_EQ(scan_c_int(std::string(14, ' ') + "42"), 4);
    EXPECT_EQ(scan_hex(std::string(13, '0') + "ff"), 0xffu);
    EXPECT_EQ(scan_hex(std::string(14, '0') + "ff"), 0xfu);
}

TEST(NumberText, TooLargeNumbersSaturate)
{
    EXPECT_EQ(scan_c_int("2147483647"), INT_MAX);
    EXPECT_EQ(scan_c_int("2147483648"), INT_MAX);
    EXPECT_EQ(scan_c_int("-2147483648"), INT_MIN);
    EXPECT_EQ(scan_c_int("-99999999999"), INT_MIN);
    EXPECT_EQ(scan_hex("ffffffff"), 0xffffffffu);
    EXPECT_EQ(scan_hex("1ffffffff"), 0xffffffffu);
    EXPECT_EQ(scan_hex("-1"), 0xffffffffu); // %x takes a sign, as strtoul does
    for (int v : {-5, INT_MAX, INT_MIN})
        EXPECT_EQ(scan_c_int(format_int(v)), v);
}

TEST(NumberText, ColoursRoundTripAsSixDigits)
{
    const std::optional<std::uint32_t> red = scan_hex("FF0000");
    ASSERT_TRUE(red);
    EXPECT_EQ(*red, 0xff0000u);
    EXPECT_EQ(format_hex6(*red), "ff0000");
    EXPECT_EQ(format_hex6(*scan_hex("0")), "000000");
    EXPECT_EQ(scan_hex("0xffbc00"), 0xffbc00u);
    EXPECT_EQ(format_hex6(0x1234567), "1234567");
    for (std::uint32_t v : {0x0u, 0xau, 0xfcfcfcu, 0xe0e0e0u, 0xffffffu})
        EXPECT_EQ(scan_hex(format_hex6(v)), v);
}

TEST(NumberText, DecimalFormatsCountWhatWasRead)
{
    int v[4] = {};
    EXPECT_EQ(scan_decimal_format("8:15 - 9:45", "%d:%d -%d:%d", v, 4), 4);
    EXPECT_EQ(v[2], 9);
    EXPECT_EQ(scan_decimal_format("8:15-9:45", "%d:%d -%d:%d", v, 4), 4); // a blank matches none
    EXPECT_EQ(scan_decimal_format("8 :15", "%d:%d", v, 2), 1); // ':' must follow directly
    EXPECT_EQ(scan_decimal_format("1.2.3", "%d.%d.%d", v, 2), 2); // never more than asked
    EXPECT_EQ(scan_decimal_format("", "%d", v, 1), 0);
}

} // namespace
