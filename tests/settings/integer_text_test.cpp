#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "settings/integer_text.h"

using namespace orv;

namespace {

constexpr std::int32_t kFallback = 4321;
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

}  // namespace

TEST(SettingsIntegerText, DecimalWithOptionalSign)
{
    EXPECT_EQ(ParseIntegerText("12", kFallback), 12);
    EXPECT_EQ(ParseIntegerText("-1", kFallback), -1);
    EXPECT_EQ(ParseIntegerText("+7", kFallback), 7);
    EXPECT_EQ(ParseIntegerText("0", kFallback), 0);
    EXPECT_EQ(ParseIntegerText("-0", kFallback), 0);
}

TEST(SettingsIntegerText, DecimalLeadingZerosAreAllowed)
{
    EXPECT_EQ(ParseIntegerText("007", kFallback), 7);
    EXPECT_EQ(ParseIntegerText("00000000000000000001", kFallback), 1);
    EXPECT_EQ(ParseIntegerText("-000000000002147483648", kFallback), kMin);
}

TEST(SettingsIntegerText, DecimalRangeIsThatOfA32BitInteger)
{
    EXPECT_EQ(ParseIntegerText("2147483647", kFallback), kMax);
    EXPECT_EQ(ParseIntegerText("+2147483647", kFallback), kMax);
    EXPECT_EQ(ParseIntegerText("-2147483648", kFallback), kMin);
    EXPECT_EQ(ParseIntegerText("2147483648", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("+2147483648", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("-2147483649", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("99999999999999999999999", kFallback), kFallback);
}

TEST(SettingsIntegerText, HexadecimalPrefixes)
{
    EXPECT_EQ(ParseIntegerText("0x1F", kFallback), 31);
    EXPECT_EQ(ParseIntegerText("0X1f", kFallback), 31);
    EXPECT_EQ(ParseIntegerText("$1f", kFallback), 31);
    EXPECT_EQ(ParseIntegerText("x1F", kFallback), 31);
    EXPECT_EQ(ParseIntegerText("X1F", kFallback), 31);
    EXPECT_EQ(ParseIntegerText("0xaBcD", kFallback), 0xABCD);
}

TEST(SettingsIntegerText, HexadecimalBitsAreTwosComplement)
{
    EXPECT_EQ(ParseIntegerText("0xFFFFFFFF", kFallback), -1);
    EXPECT_EQ(ParseIntegerText("0x80000000", kFallback), kMin);
    EXPECT_EQ(ParseIntegerText("0x7FFFFFFF", kFallback), kMax);
}

TEST(SettingsIntegerText, HexadecimalMustFitIn32BitsLeadingZerosAside)
{
    EXPECT_EQ(ParseIntegerText("0x000000001F", kFallback), 31);
    EXPECT_EQ(ParseIntegerText("0x0FFFFFFFF", kFallback), -1);
    EXPECT_EQ(ParseIntegerText("0x100000000", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("$1FFFFFFFF", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("0x123456789", kFallback), kFallback);
}

TEST(SettingsIntegerText, SignBeforeHexadecimalNegatesThe32BitValue)
{
    EXPECT_EQ(ParseIntegerText("-0x10", kFallback), -16);
    EXPECT_EQ(ParseIntegerText("-$10", kFallback), -16);
    EXPECT_EQ(ParseIntegerText("+x10", kFallback), 16);
    EXPECT_EQ(ParseIntegerText("-0xFFFFFFFF", kFallback), 1);
    EXPECT_EQ(ParseIntegerText("-0x80000000", kFallback), kMin);
}

TEST(SettingsIntegerText, MissingDigitsFallBack)
{
    EXPECT_EQ(ParseIntegerText("", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("-", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("+", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("$", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("x", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("0x", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("-0X", kFallback), kFallback);
}

TEST(SettingsIntegerText, AnyOtherByteFallsBack)
{
    EXPECT_EQ(ParseIntegerText("1.5", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("one", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("1 ; old", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("1e3", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("0x1G", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("12h", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("0$1", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("--1", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("+-1", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("-$-1", kFallback), kFallback);
}

TEST(SettingsIntegerText, BlanksAnywhereFallBack)
{
    EXPECT_EQ(ParseIntegerText("- 1", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText(" 1", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("1 ", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("1 2", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("0x 1", kFallback), kFallback);
    EXPECT_EQ(ParseIntegerText("1\t", kFallback), kFallback);
}

TEST(SettingsIntegerText, FallbackIsReturnedAsGiven)
{
    EXPECT_EQ(ParseIntegerText("one", 0), 0);
    EXPECT_EQ(ParseIntegerText("one", -9), -9);
    EXPECT_EQ(ParseIntegerText("one", kMin), kMin);
}
