#include "gk/Utils.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <climits>
#include <cmath>
#include <limits>

namespace {

struct Rgb {
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    bool operator==(const Rgb &) const = default;
};

Rgb split(int32_t color) {
    Rgb rgb;
    gk::SplitColor(color, rgb.red, rgb.green, rgb.blue);
    return rgb;
}

void PrintTo(const Rgb &rgb, std::ostream *os) {
    *os << "(" << rgb.red << ", " << rgb.green << ", " << rgb.blue << ")";
}

} // namespace

TEST(UtilsTest, ColorsPackRedLowBlueHigh) {
    EXPECT_EQ(gk::MakeColor(0x12, 0x34, 0x56), 0x563412);
    EXPECT_EQ(gk::MakeColor(255, 255, 255), 0xFFFFFF);
    EXPECT_EQ(split(0x563412), (Rgb{0x12, 0x34, 0x56}));
    EXPECT_EQ(split(0xFFFFFF), (Rgb{255, 255, 255}));
    EXPECT_EQ(split(0), (Rgb{0, 0, 0}));
}

TEST(UtilsTest, NegativeColorsSplitWithTruncatingDivision) {
    // Not masked into 0..255: every part keeps the sign of the whole.
    EXPECT_EQ(split(-1), (Rgb{-1, 0, 0}));
    EXPECT_EQ(split(-300), (Rgb{-44, -1, 0}));
    EXPECT_EQ(split(-65536), (Rgb{0, 0, -1}));
    EXPECT_EQ(split(-65537), (Rgb{-1, 0, -1}));
    EXPECT_EQ(split(INT_MIN), (Rgb{0, 0, -32768}));
    EXPECT_EQ(split(INT_MAX), (Rgb{255, 255, 32767}));
}

TEST(UtilsTest, MakeColorWrapsLikeThirtyTwoBitArithmetic) {
    EXPECT_EQ(gk::MakeColor(0, 0, 32768), INT_MIN);
    EXPECT_EQ(gk::MakeColor(-1, 0, 0), -1);
    EXPECT_EQ(gk::MakeColor(0, 0, 65536), 0);
    EXPECT_EQ(gk::MakeColor(INT_MAX, 1, 0), INT_MIN + 255);
}

TEST(UtilsTest, DarkenColorScalesEachComponentRoundingHalvesToEven) {
    const int32_t red = gk::MakeColor(255, 0, 0);
    EXPECT_EQ(gk::DarkenColor(red, 50), gk::MakeColor(128, 0, 0));
    EXPECT_EQ(gk::DarkenColor(red, 0), red);
    EXPECT_EQ(gk::DarkenColor(red, 100), 0);
    EXPECT_EQ(gk::DarkenColor(0xFFFFFF, 100), 0);
    EXPECT_EQ(gk::DarkenColor(0x563412, 0), 0x563412);

    // 1.5 -> 2, 2.5 -> 2, 126.5 -> 126: ties go to the even neighbour in every channel.
    EXPECT_EQ(gk::DarkenColor(gk::MakeColor(3, 5, 253), 50), gk::MakeColor(2, 2, 126));
    // 75.75 -> 76, 74.25 -> 74, 150 stays.
    EXPECT_EQ(gk::DarkenColor(gk::MakeColor(101, 99, 200), 25), gk::MakeColor(76, 74, 150));
}

TEST(UtilsTest, SolveQuadraticReportsRootsAndLeavesThemAloneWithoutAny) {
    double x1 = 0.0;
    double x2 = 0.0;
    EXPECT_EQ(gk::SolveQuadratic(1, -3, 2, x1, x2), 0);
    EXPECT_DOUBLE_EQ(x1, 2.0);
    EXPECT_DOUBLE_EQ(x2, 1.0);

    // The roots come in formula order, not sorted: with a negative a2 the smaller is first.
    EXPECT_EQ(gk::SolveQuadratic(-1, 3, -2, x1, x2), 0);
    EXPECT_DOUBLE_EQ(x1, 1.0);
    EXPECT_DOUBLE_EQ(x2, 2.0);

    EXPECT_EQ(gk::SolveQuadratic(1, 2, 1, x1, x2), 1);
    EXPECT_DOUBLE_EQ(x1, -1.0);
    EXPECT_DOUBLE_EQ(x2, -1.0);

    x1 = 42.0;
    x2 = -42.0;
    EXPECT_EQ(gk::SolveQuadratic(0, 1, 1, x1, x2), 2);
    EXPECT_EQ(gk::SolveQuadratic(1, 0, 1, x1, x2), 2);
    EXPECT_EQ(x1, 42.0);
    EXPECT_EQ(x2, -42.0);
}

TEST(UtilsTest, DigitsAreAsciiOnly) {
    EXPECT_TRUE(gk::IsDigit('0'));
    EXPECT_TRUE(gk::IsDigit('9'));
    EXPECT_FALSE(gk::IsDigit('/'));
    EXPECT_FALSE(gk::IsDigit(':'));
    EXPECT_FALSE(gk::IsDigit(' '));
    EXPECT_FALSE(gk::IsDigit('\0'));

    EXPECT_TRUE(gk::IsAllDigits(QStringLiteral("100")));
    EXPECT_TRUE(gk::IsAllDigits(QStringLiteral("007")));
    EXPECT_TRUE(gk::IsAllDigits(QStringLiteral("0")));
    EXPECT_FALSE(gk::IsAllDigits(QString()));
    EXPECT_FALSE(gk::IsAllDigits(QStringLiteral("")));
    EXPECT_FALSE(gk::IsAllDigits(QStringLiteral("-5")));
    EXPECT_FALSE(gk::IsAllDigits(QStringLiteral(" 12")));
    EXPECT_FALSE(gk::IsAllDigits(QStringLiteral("12 ")));
    EXPECT_FALSE(gk::IsAllDigits(QStringLiteral("1e3")));
    // Arabic-Indic and full-width digits count as digits to Unicode, not here.
    EXPECT_FALSE(gk::IsAllDigits(QStringLiteral(u"\u0661\u0662")));
    EXPECT_FALSE(gk::IsAllDigits(QStringLiteral(u"12\u0663")));
    EXPECT_FALSE(gk::IsAllDigits(QStringLiteral(u"\uFF11")));
}

TEST(UtilsTest, RoundHalfEvenSendsTiesToTheEvenNeighbour) {
    EXPECT_EQ(gk::RoundHalfEven(0.5L), 0);
    EXPECT_EQ(gk::RoundHalfEven(1.5L), 2);
    EXPECT_EQ(gk::RoundHalfEven(2.5L), 2);
    EXPECT_EQ(gk::RoundHalfEven(9.5L), 10);
    EXPECT_EQ(gk::RoundHalfEven(-0.5L), 0);
    EXPECT_EQ(gk::RoundHalfEven(-1.5L), -2);
    EXPECT_EQ(gk::RoundHalfEven(-2.5L), -2);

    EXPECT_EQ(gk::RoundHalfEven(2.4999L), 2);
    EXPECT_EQ(gk::RoundHalfEven(2.5001L), 3);
    EXPECT_EQ(gk::RoundHalfEven(-2.6L), -3);
    EXPECT_EQ(gk::RoundHalfEven(7.0L), 7);
}

TEST(UtilsTest, RoundHalfEvenSeesTheValueAfterItWasStoredAsDouble) {
    // Computed in extended precision and then stored as a double, the value lands exactly on
    // 1.1875, so eight times it is the tie 9.5.
    long double f = (long double)15 * 0.0125L + 1.0L;
    double fd = (double)f;
    EXPECT_EQ(gk::RoundHalfEven((long double)8 * fd), 10);
    EXPECT_EQ(gk::RoundHalfEven((long double)1 * fd), 1);
}

TEST(UtilsTest, RoundHalfEvenIgnoresTheRoundingModeAndClampsToInt) {
    const int saved = std::fegetround();
    for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        EXPECT_EQ(gk::RoundHalfEven(2.5L), 2) << "mode " << mode;
        EXPECT_EQ(gk::RoundHalfEven(3.5L), 4) << "mode " << mode;
        EXPECT_EQ(gk::RoundHalfEven(-2.5L), -2) << "mode " << mode;
        EXPECT_EQ(gk::RoundHalfEven(2.6L), 3) << "mode " << mode;
    }
    std::fesetround(saved);

    EXPECT_EQ(gk::RoundHalfEven(2147483646.5L), 2147483646);
    EXPECT_EQ(gk::RoundHalfEven(2147483647.0L), INT_MAX);
    EXPECT_EQ(gk::RoundHalfEven(1e12L), INT_MAX);
    EXPECT_EQ(gk::RoundHalfEven(std::numeric_limits<long double>::infinity()), INT_MAX);
    EXPECT_EQ(gk::RoundHalfEven(-2147483647.5L), INT_MIN);
    EXPECT_EQ(gk::RoundHalfEven(-1e12L), INT_MIN);
    EXPECT_EQ(gk::RoundHalfEven(-std::numeric_limits<long double>::infinity()), INT_MIN);
    EXPECT_EQ(gk::RoundHalfEven(std::nan("")), 0);
}
