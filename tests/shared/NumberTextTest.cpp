#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "platform/Regional.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"

namespace kal {
namespace {

using platform::ScopedDecimalSeparator;

// Expected texts are written with "."; under "," every "." becomes ",".
std::string under(char sep, std::string s) {
    for (char& c : s)
        if (c == '.') c = sep;
    return s;
}

class NumberTextUnderSeparator : public ::testing::TestWithParam<char> {};

TEST_P(NumberTextUnderSeparator, PatternTextRoundsHalvesAwayFromZeroAndNeverShowsMinusZero) {
    const char sep = GetParam();
    ScopedDecimalSeparator scope(sep);
    struct Case {
        double value;
        const char* pattern;
        const char* text;
    } cases[] = {
        {1.23456, "0.000", "1.235"},
        {2.675, "0.00", "2.68"},  // the binary value lies below the half: decided on 15 digits
        {0.125, "0.00", "0.13"},
        {0.5, "0", "1"},
        {-0.5, "0", "-1"},
        {2.5, "0", "3"},
        {-0.4, "0", "0"},
        {-0.0004, "0.000", "0.000"},
        {-0.0, "0.0000", "0.0000"},
        {0.0005, "0.000", "0.001"},
        {9.9996, "0.000", "10.000"},
        {-12.5, "0.0", "-12.5"},
        {123456789.123, "0.000000", "123456789.123000"},
        {1e20, "0", "100000000000000000000"},
        {12.5, "0.000000000000", "12.500000000000"},
        {1.0 / 3.0, "0.00000000", "0.33333333"},
        {0.5, "#.##", ".5"},
        {0.0, "0.0000E+00", "0.0000E+00"},
        {123.456, "0.0000E+00", "1.2346E+02"},
        {-0.00012, "0.0000E+00", "-1.2000E-04"},
        {99999.5, "0.0000E+00", "1.0000E+05"},
        {7.0, "", "7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.pattern), under(sep, c.text)) << c.value << " " << c.pattern;
    EXPECT_EQ(formatNumber(1.5, "0.0", '.'), "1.5");  // files for other programs
}

TEST_P(NumberTextUnderSeparator, GeneralTextIsTheShortestOfAtMostFifteenDigits) {
    const char sep = GetParam();
    ScopedDecimalSeparator scope(sep);
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {1e-9, "1E-09"},
        {1.5e-9, "1.5E-09"},
        {0.1 + 0.2, "0.3"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {100, "100"},
        {-2.5, "-2.5"},
        {-0.0, "0"},
        {123456789012345, "123456789012345"},
        {1e15, "1E+15"},
        {1234567890123456, "1.23456789012346E+15"},
        {57.29577951308238, "57.2957795130824"},
        {0.9999999999999999, "1"},
    };
    for (const auto& c : cases) EXPECT_EQ(generalText(c.value), under(sep, c.text)) << c.text;
    EXPECT_EQ(generalTextSingle(0.1f), under(sep, "0.1"));
    EXPECT_EQ(generalTextSingle(1234567.f), "1234567");
    EXPECT_EQ(generalTextSingle(12345678.f), under(sep, "1.234568E+07"));
    // The signed text keeps "." whatever the regional setting.
    EXPECT_EQ(signedText(0.5), " .5");
    EXPECT_EQ(signedText(-0.5), "-.5");
    EXPECT_EQ(signedText(3), " 3");
    EXPECT_EQ(signedText(0), " 0");
    EXPECT_EQ(signedText(1e-9), " 1E-09");
}

TEST_P(NumberTextUnderSeparator, StrictConversionTakesOnlyTheRegionalSeparatorAndTheWholeText) {
    const char sep = GetParam();
    const char other = sep == '.' ? ',' : '.';
    ScopedDecimalSeparator scope(sep);
    EXPECT_EQ(strictNumber(under(sep, "1.5")), 1.5);
    EXPECT_EQ(strictNumber(under(sep, " -2.25e3 ")), -2250.0);
    EXPECT_EQ(strictNumber("7"), 7.0);
    EXPECT_EQ(strictNumber("1e-999"), 0.0);
    // Never a group separator: "0.01" under "," is an error, not 1.
    EXPECT_THROW(strictNumber(std::string("0") + other + "01"), FormatError);
    for (const char* bad : {"", "  ", "-", "1.5x", "x1", "1e", "1e999", "1 2"})
        EXPECT_THROW(strictNumber(under(sep, bad)), FormatError) << bad;
}

TEST_P(NumberTextUnderSeparator, OwnTextsReadBackUnderEitherSeparator) {
    ScopedDecimalSeparator scope(GetParam());
    EXPECT_EQ(ownNumber("1.5"), 1.5);
    EXPECT_EQ(ownNumber("1,5"), 1.5);
    EXPECT_EQ(ownNumber("1,5E-09"), 1.5e-9);
    EXPECT_THROW(ownNumber("1.234,5"), FormatError);
    EXPECT_THROW(ownNumber("1,2,3"), FormatError);
    EXPECT_EQ(leadingOwnNumber("12,51"), 12.51);
    EXPECT_EQ(leadingOwnNumber(" 3"), 3.0);
    EXPECT_EQ(leadingOwnNumber("1,5E-09"), 1.5e-9);
}

TEST_P(NumberTextUnderSeparator, NumberWrittenUnderOneSeparatorReadsBackTheSameUnderTheOther) {
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    for (int i = 0; i < 2000; ++i) {
        const double x = mantissa(rng) * std::pow(10.0, exponent(rng));
        std::string written;
        {
            ScopedDecimalSeparator w(GetParam());
            written = generalText(x);
        }
        double readHere = 0, readThere = 0;
        {
            ScopedDecimalSeparator r('.');
            readHere = ownNumber(written);
            readThere = leadingOwnNumber(written);
        }
        {
            ScopedDecimalSeparator r(',');
            EXPECT_EQ(ownNumber(written), readHere) << written;
        }
        EXPECT_EQ(readHere, readThere) << written;
        EXPECT_LE(std::fabs(readHere - x), std::fabs(x) * 1e-14) << written;
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, NumberTextUnderSeparator, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? std::string("Point") : "Comma"; });

TEST(NumberText, LenientConversionReadsTheLeadingNumberWithAPoint) {
    ScopedDecimalSeparator scope(',');  // the lenient reading ignores the regional setting
    EXPECT_EQ(leadingNumber("  12abc"), 12.0);
    EXPECT_EQ(leadingNumber("1,5"), 1.0);
    EXPECT_EQ(leadingNumber("-.5"), -0.5);
    EXPECT_EQ(leadingNumber("1e3x"), 1000.0);
    EXPECT_EQ(leadingNumber("1e"), 1.0);
    EXPECT_EQ(leadingNumber("\t 3"), 3.0);
    for (const char* none : {"", "abc", "-", ".", "e5"}) EXPECT_EQ(leadingNumber(none), 0.0) << none;
    EXPECT_FALSE(std::signbit(leadingNumber("-0")));
    EXPECT_THROW(leadingNumber("1e999"), NumericError);
}

TEST(NumberText, IntegerConversionsRoundHalvesToEvenAndRefuseOverflow) {
    EXPECT_EQ(roundToInt16(2.5), 2);
    EXPECT_EQ(roundToInt16(3.5), 4);
    EXPECT_EQ(roundToInt16(-2.5), -2);
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_THROW(roundToInt16(32767.5), NumericError);
    EXPECT_THROW(roundToInt16(99999), NumericError);
    EXPECT_THROW(roundToInt16(std::numeric_limits<double>::quiet_NaN()), NumericError);
    EXPECT_EQ(roundToInt32(99999.5), 100000);
    EXPECT_THROW(roundToInt32(3e9), NumericError);
}

TEST(NumberText, RefusesUnknownPatternsAndNonFiniteValues) {
    EXPECT_THROW(formatNumber(1.0, "abc"), FormatError);
    EXPECT_THROW(formatNumber(1.0, "0.0E+"), FormatError);
    EXPECT_THROW(formatNumber(std::numeric_limits<double>::infinity(), "0.0"), NumericError);
    EXPECT_THROW(generalText(std::numeric_limits<double>::quiet_NaN()), NumericError);
    EXPECT_EQ(decimalsPattern(0), "0");
    EXPECT_EQ(decimalsPattern(3), "0.000");
}

}  // namespace
}  // namespace kal
