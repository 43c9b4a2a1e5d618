#include "platform/Locale.h"
#include "scores/getNameU.h"
#include "support/Forms.h"

#include <QDate>
#include <QTest>

namespace {

// Answers the dialog's next showing: types `name` into the box, then closes it with OK or by
// the title bar. `look` sees the dialog first.
void Answer(const QString &name, bool ok, const std::function<void()> &look = {}) {
    WhenModal(GetNameDlg, [name, ok, look] {
        if (look)
            look();
        GetNameDlg->PlayerName->setText(name);
        if (ok)
            QTest::keyClick(GetNameDlg, Qt::Key_Return);
        else
            GetNameDlg->close();
    });
}

void Restart() {
    CloseProgram();
    DestroyForms();
    CreateForms();
}

} // namespace

using NameDialog = FormsTest;

TEST_F(NameDialog, ShowsThePlaceAndRemembersTheNameConfirmedWithOk) {
    TGetNameDlg &d = *GetNameDlg;
    EXPECT_EQ(d.windowTitle(), "High Score!");
    EXPECT_EQ(d.size(), QSize(313, 213));
    EXPECT_EQ(d.StaticText2->text(), "Congratulations!");
    EXPECT_EQ(d.PlayerName->geometry(), QRect(90, 126, 205, 21));
    EXPECT_EQ(d.PlayerName->text(), "") << "first run";

    Answer("Vega", true);
    EXPECT_EQ(d.ShowBox(1250, 4), "Vega");
    EXPECT_EQ(d.LAB_HighPos->text(), "New High Score position : 4");
    EXPECT_EQ(d.LAB_Score->text(), "Score : 1250");
    EXPECT_EQ(d.LAB_Date->text(), "Date : " + platform::ShortDate(QDate::currentDate()));
    EXPECT_EQ(d.LAB_HighPos->pos(), QPoint(21, 54));

    // Closed by the title bar: the new name is entered, the remembered one stays.
    Restart();
    EXPECT_EQ(GetNameDlg->PlayerName->text(), "Vega");
    Answer("Orion", false);
    EXPECT_EQ(GetNameDlg->ShowBox(800, 10), "Orion");
    Restart();
    EXPECT_EQ(GetNameDlg->PlayerName->text(), "Vega");

    const QString longName = QString(254, 'n') + QString::fromUtf8("ëz!");
    Answer(longName, true);
    EXPECT_EQ(GetNameDlg->ShowBox(800, 10), longName.left(255));
}

TEST_F(NameDialog, CheersOnlyWithSoundsOn) {
    for (const bool on : {true, false}) {
        OptionsDlg->SoundCheck->setChecked(on);
        QList<int> playing;
        Answer("Quiet", true, [&] { playing = PlayingSounds(GetNameDlg->GetNameAudio); });
        GetNameDlg->ShowBox(600, 10);
        GetNameDlg->GetNameAudio->Sound(12).Stop();
        GetNameDlg->GetNameAudio->Sound(12).SetPosition(0);
        EXPECT_EQ(playing, on ? QList<int>({12}) : QList<int>()) << "sounds on: " << on;
    }
}
