#include "platform/CodePage.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Windows1252, EveryByteReadsAndWritesBackAndMissingCharactersBecomeQuestionMarks) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(Windows1252::Encode(Windows1252::Decode(all)), all);

    EXPECT_EQ(Windows1252::Decode("\x80\x85\x8A\x93\x94\x96\x9F\xE9\xFF"),
              QString::fromUtf8("€…Š“”–Ÿéÿ"));
    EXPECT_EQ(Windows1252::Encode(QString::fromUtf8("Zoë “Ace” — €5")),
              QByteArray("Zo\xEB \x93"
                         "Ace\x94 \x97 \x80"
                         "5"));
    // One question mark a character, also for one written with two surrogates; the C1 controls
    // the code page puts elsewhere are missing too.
    EXPECT_EQ(Windows1252::Encode(QString::fromUtf8("Ωmega 😀 日本")), QByteArray("?mega ? ??"));
    EXPECT_EQ(Windows1252::Encode(QString(QChar(0x80))), QByteArray("?"));
    EXPECT_EQ(Windows1252::Encode(QString(QChar(0x81))), QByteArray("\x81"));
}

TEST(ShortDate, TheLocalesFormatOrMonthDayYearInTheCLocale) {
    const QDate date(2026, 12, 8);
    EXPECT_EQ(ShortDate(date, QLocale::c()), "12/8/26");
    EXPECT_EQ(ShortDate(QDate(2027, 1, 5), QLocale::c()), "1/5/27");
    EXPECT_EQ(ShortDate(date, QLocale(QLocale::English, QLocale::UnitedStates)), "12/8/26");
    EXPECT_EQ(ShortDate(date, QLocale(QLocale::German, QLocale::Germany)), "08.12.26");
}
