#include "support/Forms.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

QString StoredSettings() {
    QFile file(platform::ConfigFolder() + "/user.reg");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll());
}

} // namespace

using Preferences = FormsTest;

TEST_F(Preferences, FirstRunShowsTheDesignAndOkStoresIt) {
    TOptionsDlg &d = *OptionsDlg;
    EXPECT_EQ(d.StarEdit->text(), "100");
    EXPECT_TRUE(d.SoundCheck->isChecked());
    EXPECT_EQ(d.windowTitle(), "Preferences");
    EXPECT_EQ(d.size(), QSize(313, 214));

    d.show();
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    const QString stored = StoredSettings();
    EXPECT_TRUE(stored.startsWith("REGEDIT4"));
    EXPECT_TRUE(stored.contains("[HKEY_CURRENT_USER\\Software\\Brakmoor\\Gorbulax\\Settings]"));
    EXPECT_TRUE(stored.contains("\"StarEdit\"=\"100\""));
    EXPECT_TRUE(stored.contains("\"SoundCheck\"=dword:00000001"));
}

TEST_F(Preferences, OkRefusesWhatIsNoCountAndStays) {
    TOptionsDlg &d = *OptionsDlg;
    for (const char *text : {"12a", "", "-5", " 12", "2147483648", "99999999999999999999"}) {
        d.show();
        d.StarEdit->setText(QString::fromLatin1(text));
        d.SoundCheck->setChecked(false);
        QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible()) << text;
        EXPECT_EQ(d.StarEdit->text(), "") << text;
        EXPECT_FALSE(StoredSettings().contains("StarEdit")) << "nothing is saved for " << text;
    }
    d.StarEdit->setText("0");
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(StoredSettings().contains("\"StarEdit\"=\"0\""));
    EXPECT_TRUE(StoredSettings().contains("\"SoundCheck\"=dword:00000000"));
}

TEST_F(Preferences, CancelAndEscRestoreWhatIsStored) {
    TOptionsDlg &d = *OptionsDlg;
    // Nothing stored: Cancel keeps what the box shows, and an emptied box gets the design back.
    d.show();
    d.StarEdit->setText("250");
    QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.StarEdit->text(), "250");
    d.show();
    d.StarEdit->setText("12a");
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    ASSERT_EQ(d.StarEdit->text(), "");
    QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
    EXPECT_EQ(d.StarEdit->text(), "100");

    // Stored: Cancel and Esc bring the stored values back.
    d.show();
    d.StarEdit->setText("50");
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    d.show();
    d.StarEdit->setText("75");
    d.SoundCheck->setChecked(false);
    QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
    EXPECT_EQ(d.StarEdit->text(), "50");
    EXPECT_TRUE(d.SoundCheck->isChecked());
    d.show();
    d.StarEdit->setText("75");
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.StarEdit->text(), "50");

    // The title bar's close button neither saves nor restores.
    d.show();
    d.StarEdit->setText("60");
    d.close();
    EXPECT_EQ(d.StarEdit->text(), "60");
    EXPECT_TRUE(StoredSettings().contains("\"StarEdit\"=\"50\""));
}

// Enter presses the focused button, and the default button (OK) when the focus is on anything
// else; Esc is Cancel wherever the focus is. The keys go where a person's would: to the widget
// with the keyboard focus, after the focus has come there as by Tab.
TEST_F(Preferences, EnterPressesTheFocusedButtonOrOkAndEscCancels) {
    struct Case {
        const char *focusPath; // the widgets the focus passes through, the last one keeps it
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool saves;
    };
    const Case cases[] = {
        {"BitBtn2", Qt::Key_Return, {}, false},
        {"BitBtn1", Qt::Key_Return, {}, true},
        {"StarEdit", Qt::Key_Return, {}, true},
        {"SoundCheck", Qt::Key_Enter, Qt::KeypadModifier, true},
        {"BitBtn2 StarEdit", Qt::Key_Return, {}, true},
        {"BitBtn1 BitBtn2", Qt::Key_Enter, Qt::KeypadModifier, false},
        {"StarEdit", Qt::Key_Escape, {}, false},
        {"BitBtn1", Qt::Key_Escape, {}, false},
    };
    TOptionsDlg &d = *OptionsDlg;
    int count = 10;
    QString saved;
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("focus on %1, %2")
                         .arg(QString::fromLatin1(c.focusPath), QKeySequence(c.key).toString())
                         .toStdString());
        const QString stars = QString::number(++count);
        d.show();
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        d.setResult(-1);
        d.StarEdit->setText(stars);
        QWidget *focus = nullptr;
        for (const QString &name : QString::fromLatin1(c.focusPath).split(u' ')) {
            focus = d.findChild<QWidget *>(name);
            focus->setFocus(Qt::TabFocusReason);
        }
        ASSERT_EQ(QApplication::focusWidget(), focus);
        QTest::keyClick(focus, c.key, c.modifiers);

        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), c.saves ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(StoredSettings().contains("\"StarEdit\"=\"" + stars + "\""), c.saves);
        // Cancel's own handler ran: the stored count is back (kept, while none is stored).
        if (c.saves)
            saved = stars;
        EXPECT_EQ(d.StarEdit->text(), saved.isEmpty() ? stars : saved);
        EXPECT_TRUE(d.SoundCheck->isChecked()) << "no key reaches the box as a click";
    }
}

TEST_F(Preferences, TheSampleSoundPlaysOnlyWithSoundsOn) {
    TOptionsDlg &d = *OptionsDlg;
    const TGKAudio *audio = d.OptionsAudio;
    using game::sound::Woohoo;
    ASSERT_EQ(audio->BufferCount(), 13) << "the dialog plays from the main window's library";
    d.show();
    QTest::mouseClick(d.Image1, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(PlayingSounds(audio), QList<int>{Woohoo});

    // Each click on the loudspeaker starts the sample again from its beginning.
    RenderOutput(2000);
    ASSERT_GT(SoundPosition(audio, Woohoo), 0u);
    QTest::mouseClick(d.Image1, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(SoundPosition(audio, Woohoo), 0u);
    audio->Sound(Woohoo).Stop();

    QTest::mouseClick(d.SoundCheck, Qt::LeftButton);
    EXPECT_FALSE(d.SoundCheck->isChecked());
    QTest::mouseClick(d.Image1, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(PlayingSounds(audio).isEmpty()) << "unticking and clicking while off are silent";

    // Ticking plays the sample; so does Cancel when it ticks the stored "on" back.
    QTest::mouseClick(d.SoundCheck, Qt::LeftButton);
    EXPECT_EQ(PlayingSounds(audio), QList<int>{Woohoo});
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    d.show();
    QTest::mouseClick(d.SoundCheck, Qt::LeftButton);
    audio->Sound(Woohoo).Stop();
    QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
    EXPECT_TRUE(d.SoundCheck->isChecked());
    EXPECT_EQ(PlayingSounds(audio), QList<int>{Woohoo});
    EXPECT_TRUE(PlayingSounds(MainForm->Audio).isEmpty()) << "the game's device is its own";
}

TEST_F(Preferences, TheGameReadsBothControlsWhenItNeedsThem) {
    TMainForm &f = *MainForm;
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    OptionsDlg->SoundCheck->setChecked(false);
    f.DoSoundEvent(SoundEvent::Laser);
    EXPECT_TRUE(sounds.isEmpty());
    OptionsDlg->SoundCheck->setChecked(true);
    f.DoSoundEvent(SoundEvent::Laser);
    EXPECT_EQ(sounds.size(), 1);

    OptionsDlg->StarEdit->setText("50");
    f.StartGame();
    Ticks(51);
    EXPECT_FALSE(f.game().makingStars());
    EXPECT_EQ(StarsOnField(), 50);
}

TEST_F(Preferences, TheMenuPausesARunningGameAndItStaysPaused) {
    TMainForm &f = *MainForm;
    f.StartGame();
    Ticks(3);
    bool shown = false;
    WhenModal(OptionsDlg, [&shown] {
        shown = OptionsDlg->isVisible();
        OptionsDlg->done(QDialog::Rejected);
    });
    Main().SetOptions1->trigger();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(f.game().stopped());
    EXPECT_TRUE(Main().PausePanel->isVisible());
}

TEST_F(Preferences, StoredValuesComeBackAtTheNextStart) {
    OptionsDlg->StarEdit->setText("50");
    OptionsDlg->SoundCheck->setChecked(false);
    OptionsDlg->BitBtn1Click();
    DestroyForms();
    CreateForms();
    EXPECT_EQ(OptionsDlg->StarEdit->text(), "50");
    EXPECT_FALSE(OptionsDlg->SoundCheck->isChecked());
    EXPECT_EQ(MainForm->StarCount(), 50);
}
