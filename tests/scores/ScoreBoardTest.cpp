#include "platform/Locale.h"
#include "scores/ScoreBoardU.h"
#include "scores/getNameU.h"
#include "support/Files.h"
#include "support/Forms.h"
#include "support/Messages.h"
#include "toolkit/MessageBox.h"

#include <QDate>
#include <QHeaderView>
#include <QTest>

namespace {

QString TablePath() {
    return platform::ProgramFolder() + "gorbulax.dat";
}

// The rows as the window shows them: caption, score, name, date.
QStringList Row(int row) {
    QStringList cells;
    for (int column = 0; column < 4; ++column)
        cells << ScoreBoard->ScoreTableView->item(row, column)->text();
    return cells;
}

QList<int> Images() {
    QList<int> images;
    for (int row = 0; row < 10; ++row)
        images << ScoreBoard->ImageOf(row);
    return images;
}

const QStringList ShippedScores{"5000", "4500", "4000", "3500", "3000",
                                "2500", "2000", "1500", "1000", "500"};

} // namespace

using HighScoreWindow = FormsTest;

TEST_F(HighScoreWindow, ShowsTheShippedTableAsDesigned) {
    TScoreBoard &b = *ScoreBoard;
    EXPECT_EQ(b.windowTitle(), "High Scores");
    EXPECT_EQ(b.size(), QSize(592, 373));
    EXPECT_EQ(b.minimumSize(), b.maximumSize()) << "not resizable";
    EXPECT_EQ(b.DataFile, TablePath());
    EXPECT_EQ(b.BannerImage->geometry(), QRect(61, 5, 468, 60));
    EXPECT_EQ(b.BannerImage->toolTip(), "Go to the Umbrel Prowlet website");
    EXPECT_EQ(b.BannerImage->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(b.StaticText1->text(), "Gorbulax High Scores : ");
    EXPECT_TRUE(b.StaticText1->font().bold() && b.StaticText1->font().underline());
    EXPECT_EQ(b.ScoreTableView->geometry(), QRect(37, 126, 517, 193));
    QStringList headers;
    for (int column = 0; column < 4; ++column) {
        headers << b.ScoreTableView->horizontalHeaderItem(column)->text();
        EXPECT_EQ(b.ScoreTableView->columnWidth(column), QList<int>({50, 70, 300, 93})[column]);
    }
    EXPECT_EQ(headers, QStringList({"", "Score", "Name", "Date"}));
    EXPECT_FALSE(b.ScoreTableView->horizontalHeader()->sectionsClickable());
    EXPECT_EQ(b.ScoreTableView->editTriggers(), QAbstractItemView::NoEditTriggers);

    EXPECT_EQ(Row(0), QStringList({" 1.", "5000", "Nova Lancer", "1/15/26"}));
    EXPECT_EQ(Row(8)[0], " 9.");
    EXPECT_EQ(Row(9), QStringList({"10.", "500", "Cadet Zero", "1/15/26"}));
    EXPECT_EQ(Images(), QList<int>(10, TScoreBoard::Ordinary));
}

TEST_F(HighScoreWindow, AnEntryMovesTheRowsBelowItDownAndIsMarkedUntilClosed) {
    struct Case {
        const char *what;
        int32_t score;
        int position;
    };
    const QString today = platform::ShortDate(QDate::currentDate());
    for (const Case c : {Case{"equal to the third", 4000, 3}, Case{"beats all ten", 9000, 1},
                         Case{"the tenth place", 700, 10}}) {
        InstallShippedTable();
        ScoreBoard->ReadScoreTableFromFile(TablePath());
        ASSERT_EQ(ScoreBoard->GetHighScorePosition(c.score), c.position) << c.what;
        ASSERT_TRUE(ScoreBoard->AddHighScore(c.score, "Newcomer")) << c.what;

        QStringList expected = ShippedScores;
        expected.insert(c.position - 1, QString::number(c.score));
        expected.removeLast();
        QStringList shown;
        for (int row = 0; row < 10; ++row) {
            shown << Row(row)[1];
            EXPECT_EQ(Row(row)[0], TScoreBoard::RankCaption(row + 1)) << c.what;
        }
        EXPECT_EQ(shown, expected) << c.what;
        EXPECT_EQ(Row(c.position - 1), QStringList({TScoreBoard::RankCaption(c.position),
                                                    QString::number(c.score), "Newcomer", today}))
            << c.what;
        if (c.position == 3) {
            EXPECT_EQ(Row(3)[2], "Comet Kid") << "the old third is fourth";
        }

        QList<int> marked(10, TScoreBoard::Ordinary);
        marked[c.position - 1] = TScoreBoard::JustEntered;
        EXPECT_EQ(Images(), marked) << c.what;

        const QByteArray file = fileBytes(TablePath());
        ASSERT_EQ(file.size(), 7680) << c.what;
        scores::ScoreTable stored;
        scores::ParseScoreFile(file, stored);
        EXPECT_EQ(stored[c.position - 1].Name, "Newcomer") << c.what;
        EXPECT_EQ(stored[c.position - 1].Date, today) << c.what;

        // Closed, and opened again through the menu: every arrow is cyan.
        WhenModal(ScoreBoard, [] { ScoreBoard->BitBtn1->click(); });
        Main().ViewHighScores1->trigger();
        EXPECT_EQ(Images(), QList<int>(10, TScoreBoard::Ordinary)) << c.what;
    }
}

TEST_F(HighScoreWindow, TwoRunningGamesKeepEachOthersEntries) {
    // A second game started before this one entered its score.
    TScoreBoard other;
    ASSERT_TRUE(ScoreBoard->AddHighScore(3200, "First"));
    ASSERT_TRUE(other.AddHighScore(4200, "Second"));
    scores::ScoreTable stored;
    scores::ReadScoreFile(TablePath(), stored);
    EXPECT_EQ(stored[2].Name, "Second");
    EXPECT_EQ(stored[5].Name, "First");
    EXPECT_EQ(stored[9].Score, "1500") << "two entries push two out";

    // An entry that no longer makes the table once the file is read afresh is not made.
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(other.AddHighScore(9000 + i, "Ace"));
    ScoreBoard->FormClose();
    EXPECT_EQ(ScoreBoard->GetHighScorePosition(1200), 10) << "still the table read before";
    EXPECT_FALSE(ScoreBoard->AddHighScore(1200, "Late"));
    EXPECT_EQ(Images(), QList<int>(10, TScoreBoard::Ordinary));
}

TEST_F(HighScoreWindow, ADamagedFileIsReportedOnceKeptAndPlayable) {
    const QByteArray shipped = fileBytes(TablePath());
    QByteArray garbled = shipped.left(6000);
    garbled.replace(768 + 1, 4, "45x0");
    struct Case {
        const char *what;
        QByteArray bytes;
        const char *says;
    };
    for (const Case &c : {Case{"cut short", shipped.left(5000), "it holds 5000 bytes"},
                          Case{"garbled and cut", garbled, "the score of entry 2"}}) {
        DestroyForms();
        InstallShippedTable();
        writeFile(TablePath(), c.bytes);
        Messages messages;
        CreateForms();
        ASSERT_EQ(messages.shown.size(), 1) << c.what;
        const toolkit::Message &m = messages.shown[0];
        EXPECT_EQ(m.caption, "Gorbulax");
        EXPECT_EQ(m.icon, toolkit::MessageIcon::Error);
        EXPECT_TRUE(m.text.contains(TablePath())) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(c.says)) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(TablePath() + ".damaged")) << m.text.toStdString();
        EXPECT_EQ(fileBytes(TablePath() + ".damaged"), c.bytes) << c.what;
        EXPECT_EQ(Row(0)[2], "Nova Lancer") << c.what;
        EXPECT_EQ(Row(9)[1], "") << c.what << ": a row the file lacks is empty";

        ASSERT_TRUE(ScoreBoard->AddHighScore(4300, "Mender")) << c.what;
        EXPECT_EQ(messages.shown.size(), 1) << c.what << ": the same damage, reported once";
        EXPECT_EQ(fileBytes(TablePath()).size(), 7680) << c.what;
        EXPECT_EQ(fileBytes(TablePath() + ".damaged"), c.bytes) << c.what;
        if (c.bytes.size() == 6000) {
            // The damaged score made way, and the entry is written as an empty place.
            EXPECT_EQ(Row(1)[2], "Mender");
            EXPECT_EQ(Row(2), QStringList({" 3.", "", "Star Warden", "1/15/26"}));
        } else {
            EXPECT_EQ(Row(2)[2], "Mender");
        }
    }
}

TEST_F(HighScoreWindow, ALongerFileIsCutAtTheNextWriteAndAFailedWriteIsReported) {
    const QByteArray shipped = fileBytes(TablePath());
    writeFile(TablePath(), shipped + QByteArray(1000, 'z'));
    ScoreBoard->ReadScoreTableFromFile(TablePath());
    ASSERT_TRUE(ScoreBoard->AddHighScore(800, "Trimmer"));
    EXPECT_EQ(fileBytes(TablePath()).size(), 7680);

    Messages messages;
    ScoreBoard->DataFile = platform::ProgramFolder() + "no such folder/gorbulax.dat";
    ASSERT_TRUE(ScoreBoard->AddHighScore(6000, "Unsaved"));
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown[0].text.startsWith("Error : Can't find data file "));
    EXPECT_TRUE(messages.shown[1].text.startsWith("The high score table could not be saved"));
    EXPECT_EQ(Row(0)[2], "Unsaved") << "the entry stays shown";
    EXPECT_EQ(ScoreBoard->ImageOf(0), TScoreBoard::JustEntered);

    // A table its owner made read-only is reported once and kept; the entries stay shown.
    ScoreBoard->DataFile = TablePath();
    const QByteArray kept = fileBytes(TablePath());
    ASSERT_TRUE(QFile::setPermissions(TablePath(), QFile::ReadOwner | QFile::ReadGroup));
    ASSERT_TRUE(ScoreBoard->AddHighScore(7000, "Read Only"));
    ASSERT_TRUE(ScoreBoard->AddHighScore(7100, "Still Read Only"));
    QFile::setPermissions(TablePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(fileBytes(TablePath()), kept);
    ASSERT_EQ(messages.shown.size(), 3);
    EXPECT_TRUE(messages.shown[2].text.contains("(the file is read-only)"))
        << messages.shown[2].text.toStdString();
    EXPECT_EQ(Row(0)[2], "Still Read Only");
}

TEST(StartUp, WithoutAScoreTableTheProgramEndsBeforeItsWindowShows) {
    InstallShippedTable();
    QFile::remove(TablePath());
    Messages messages;
    bool farewell = false;
    LeaveFarewell([&farewell] { farewell = true; });
    EXPECT_FALSE(CreateForms());
    EXPECT_TRUE(farewell) << "the program takes its leave all the same";
    ASSERT_EQ(messages.shown.size(), 1);
    const QString text = messages.shown[0].text;
    EXPECT_TRUE(text.startsWith("One or more data files required to run Gorbulax is missing!\n\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains(TablePath())) << text.toStdString();
    EXPECT_TRUE(text.contains("Try downloading Gorbulax from Umbrel Prowlet again!"));
    EXPECT_EQ(messages.shown[0].icon, toolkit::MessageIcon::Error);
    EXPECT_TRUE(MainForm->WindowClosed);
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_EQ(GetNameDlg, nullptr) << "no window after the board is created";
    DestroyForms();
    InstallShippedTable();
}
