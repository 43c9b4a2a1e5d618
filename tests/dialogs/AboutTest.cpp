// The about box as the program creates it: its two showings, the links to the maker and the
// upgrade check, with the browser and the updater recorded instead of started.

#include "dialogs/About.h"
#include "components/Maker.h"
#include "components/OnlineIP.h"
#include "dialogs/browsedlg.h"
#include "platform/Shell.h"
#include "scores/ScoreBoardU.h"
#include "support/DesktopHandlers.h"
#include "support/Env.h"
#include "support/Forms.h"
#include "support/Messages.h"
#include "support/Recorder.h"

#include <QTemporaryDir>
#include <QTest>

using game::sound::Allfolk;
using game::sound::RobotzA;
using game::sound::Signatur;
using toolkit::Answer;

namespace {

const QString NoConnection = "Sorry I can't connect to the internet for some reason.";

class About : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        AboutBox->GoToWeb->setLauncher(
            [this](const QString &file, const QString &parameters, const QString &, int show) {
                opened << parameters.trimmed();
                EXPECT_EQ(file, "xdg-open") << "the desktop's opener, the registry naming no other";
                EXPECT_EQ(show, platform::Shell::SW_SHOWMAXIMIZED);
                return browserResult;
            });
    }

    static void SetOnline(bool online) {
        MainForm->onlineDetector()->setInterfaceSource([online] {
            return std::vector<platform::InterfaceAddress>{
                {"eth0", online ? "192.0.2.7" : "127.0.0.1", true, !online}};
        });
        MainForm->onlineDetector()->PollAddress();
        ASSERT_EQ(MainForm->onlineDetector()->Online(), online);
    }

    QStringList opened; // what the browser was handed, in order
    int browserResult = platform::Shell::Started;
};

QRect At(const QWidget *control) {
    return control->geometry();
}

} // namespace

TEST_F(About, IsLaidOutAsDesigned) {
    TAboutBox &a = *AboutBox;
    EXPECT_EQ(a.windowTitle(), "About");
    EXPECT_EQ(a.size(), QSize(351, 317));
    EXPECT_EQ(a.minimumSize(), a.maximumSize());
    EXPECT_FALSE(a.windowFlags() & Qt::WindowCloseButtonHint) << "no title-bar buttons";
    EXPECT_FALSE(a.windowFlags() & Qt::WindowSystemMenuHint);
    const struct {
        QWidget *control;
        QPoint place;
        QString text;
    } controls[] = {
        {a.OKButton, {138, 279}, "&Close"},
        {a.Panel2, {10, 9}, ""},
        {a.ProgramIcon, {8, 8}, ""},
        {a.ProductName, {49, 7}, "Gorbulax"},
        {a.VersionLabel, {49, 31}, "Version 1.0"},
        {a.StaticText2, {114, 31}, "by Umbrel Prowlet, 2-11-1999"},
        {a.Label1,
         {11, 56},
         "Fast, action-packed space fighting action. Well, how else do you describe it. Play "
         "it and see!"},
        {a.Label3, {37, 99}, "To hear about upgrades and new software released "},
        {a.StaticText5, {76, 114}, "Join the Umbrel Prowlet Mailing List"},
        {a.Comments, {74, 140}, "Email suggestions or comments to :"},
        {a.StaticText3, {93, 153}, maker::EMail()},
        {a.StaticText1, {75, 168}, "Authors Homepage :"},
        {a.StaticText4, {93, 183}, maker::HomePage()},
        {a.BitBtn1, {96, 207}, "Check for Upgrade..."},
        {a.SaveEdit1, {222, 282}, ""},
    };
    for (const auto &c : controls) {
        const std::string name = c.control->objectName().toStdString();
        EXPECT_EQ(c.control->pos(), c.place) << name;
        if (const auto *label = qobject_cast<QLabel *>(c.control)) {
            EXPECT_EQ(label->text(), c.text) << name;
        } else if (const auto *button = qobject_cast<QPushButton *>(c.control)) {
            EXPECT_EQ(button->text(), c.text) << name;
        }
    }
    EXPECT_EQ(At(a.Panel2).size(), QSize(331, 259));
    EXPECT_EQ(At(a.Panel1), a.Panel2->clientRect()) << "the page fills its frame";
    EXPECT_EQ(At(a.Label1).size(), QSize(305, 39));
    EXPECT_TRUE(a.Label1->wordWrap());
    EXPECT_EQ(At(a.BitBtn1).size(), QSize(136, 25));
    EXPECT_EQ(a.ProgramIcon->picture().size(), QSize(32, 32));
    EXPECT_EQ(a.ProductName->font().pixelSize(), 19);
    EXPECT_EQ(a.VersionLabel->font().pixelSize(), 11);
    for (QLabel *link : {a.StaticText3, a.StaticText4, a.StaticText5}) {
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(a.StaticText5->toolTip(), "live link!");
    EXPECT_EQ(a.StaticText4->toolTip().count('\n'), 1) << "a two-line hint";

    EXPECT_TRUE(a.SaveEdit1->isHidden());
    EXPECT_EQ(a.SaveEdit1->text(), "");
    const TSimpleOptions &o = *a.SaveEdit1->Options();
    EXPECT_EQ(o.RegKey, "\\Software\\Brakmoor\\Patchwell");
    EXPECT_EQ(o.RegSubKey, "Program Path");
    EXPECT_TRUE(o.UseRegistry);
    EXPECT_EQ(a.GoToWeb->EMailSubject, "Gorbulax");
    EXPECT_EQ(a.GoToWeb->BrowserState, TGoToWeb::gwMaximized);
    EXPECT_EQ(a.Timer1->interval(), 100);
    EXPECT_EQ(a.Timer2->interval(), 2000);
    EXPECT_FALSE(a.Timer1->enabled() || a.Timer2->enabled());
    EXPECT_FALSE(a.UpdaterStarted);
}

TEST_F(About, FromTheMenuItSoundsAfterAMomentAndClosesAtOnce) {
    for (const bool soundsOn : {true, false}) {
        OptionsDlg->SoundCheck->setChecked(soundsOn);
        StartFlying(5);
        bool looked = false;
        WhenModal(AboutBox, [&] {
            looked = true;
            EXPECT_TRUE(MainForm->game().stopped()) << "the game pauses first";
            EXPECT_TRUE(AboutBox->OKButton->isEnabled());
            EXPECT_TRUE(AboutBox->Timer1->enabled());
            EXPECT_TRUE(PlayingSounds(AboutBox->AboutAudio).isEmpty()) << "not yet";
            AboutBox->Timer1Timer();
            EXPECT_EQ(PlayingSounds(AboutBox->AboutAudio),
                      soundsOn ? QList<int>{RobotzA} : QList<int>{});
            EXPECT_FALSE(AboutBox->Timer2->enabled());
            QTest::keyClick(AboutBox, Qt::Key_Escape);
        });
        Main().About1->trigger();
        EXPECT_TRUE(looked);
        EXPECT_FALSE(AboutBox->isVisible());
        EXPECT_FALSE(AboutBox->ExitMode);
        EXPECT_TRUE(MainForm->isVisible()) << "the program goes on";
        AboutBox->AboutAudio->Sound(RobotzA).Stop();
        MainForm->NewGame();
    }
}

TEST_F(About, ClosingTheProgramSaysFarewellAndCloseIsUsableOnlyLater) {
    OptionsDlg->SoundCheck->setChecked(true);
    bool looked = false;
    WhenModal(AboutBox, [&looked] {
        looked = true;
        TAboutBox &a = *AboutBox;
        EXPECT_TRUE(a.ExitMode);
        EXPECT_FALSE(a.OKButton->isEnabled());
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return})
            QTest::keyClick(&a, key);
        EXPECT_EQ(QApplication::activeModalWidget(), &a) << "no key leaves it yet";
        a.Timer1Timer();
        EXPECT_EQ(PlayingSounds(a.AboutAudio), QList<int>{Allfolk});
        EXPECT_FALSE(a.OKButton->isEnabled()) << "Close waits two seconds more";
        EXPECT_TRUE(a.Timer2->enabled());
        a.Timer2Timer();
        EXPECT_TRUE(a.OKButton->isEnabled());
        EXPECT_FALSE(a.Timer2->enabled());
        QTest::keyClick(&a, Qt::Key_Escape);
    });
    Main().Exit1->trigger();
    EXPECT_TRUE(looked);
    EXPECT_FALSE(AboutBox->isVisible());
    EXPECT_FALSE(MainForm->isVisible()) << "the program ends";
    EXPECT_TRUE(MainForm->WindowClosed);
}

TEST_F(About, TheWindowSystemsCloseRequestEndsTheFarewellAtOnce) {
    // As when the desktop logs out: nobody waits for the game.
    WhenModal(AboutBox, [] { AboutBox->close(); });
    MainForm->close();
    EXPECT_FALSE(AboutBox->isVisible());
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_FALSE(AboutBox->Timer1->enabled() || AboutBox->Timer2->enabled());
}

TEST_F(About, TheLinksOpenTheMakersPagesAndSayWhenTheyCannot) {
    OptionsDlg->SoundCheck->setChecked(true);
    const QString mail = "mailto:" + maker::EMail() + "?subject=Gorbulax";
    const QString mailFailed = "Sorry I can't send email for some reason.";
    const struct {
        const char *what;
        std::function<void()> click;
        bool online;
        bool browserStarts;
        QString opened; // empty: the browser is not tried
        QString message;
    } cases[] = {
        {"web site item, offline", [] { Main().UmbrelProwletWebsite1->trigger(); }, false, true, "",
         NoConnection},
        {"web site item, online", [] { Main().UmbrelProwletWebsite1->trigger(); }, true, true,
         maker::HomePage(), ""},
        {"web site link, no browser", [] { AboutBox->StaticText4Click(); }, true, false,
         maker::HomePage(), NoConnection},
        {"main banner, online", [] { QTest::mouseClick(Main().BannerImage, Qt::LeftButton); }, true,
         true, maker::HomePage(), ""},
        {"mailing list item, offline", [] { Main().InfoaboutMailinglist1->trigger(); }, false, true,
         maker::MailingListPage(), ""},
        {"mailing list, no browser", [] { AboutBox->StaticText5Click(); }, true, false,
         maker::MailingListPage(), NoConnection},
        {"e-mail, offline", [] { AboutBox->StaticText3Click(); }, false, true, mail, ""},
        {"e-mail, no browser", [] { AboutBox->StaticText3Click(); }, true, false, mail, mailFailed},
        {"score board banner, offline", [] { ScoreBoard->BannerImageClick(); }, false, true,
         maker::HomePage(), ""},
        {"score board banner, no browser", [] { ScoreBoard->BannerImageClick(); }, true, false,
         maker::HomePage(), NoConnection},
    };
    for (const auto &c : cases) {
        SetOnline(c.online);
        opened.clear();
        browserResult = c.browserStarts ? platform::Shell::Started : platform::Shell::SE_ERR_FNF;
        Messages messages;
        c.click();
        EXPECT_EQ(opened, c.opened.isEmpty() ? QStringList() : QStringList{c.opened}) << c.what;
        ASSERT_EQ(messages.shown.size(), c.message.isEmpty() ? 0 : 1) << c.what;
        if (!c.message.isEmpty()) {
            EXPECT_EQ(messages.shown[0].text, c.message) << c.what;
            EXPECT_EQ(messages.shown[0].caption, "Gorbulax") << c.what;
            EXPECT_EQ(messages.shown[0].icon, toolkit::MessageIcon::Error) << c.what;
        }
    }
    EXPECT_EQ(PlayingSounds(AboutBox->AboutAudio), QList<int>{Signatur}) << "the e-mail link";
}

// Through the desktop's opener, as the registry's default command has it: where the desktop
// has no program for the address's scheme nothing starts, and the link says so as it does for
// a browser that would not start.
TEST_F(About, ALinkTheDesktopHasNoProgramForSaysSo) {
    QTemporaryDir dir;
    const Recorder opener(dir.filePath("bin/xdg-open"));
    ScopedEnv path("PATH", QFile::encodeName(dir.filePath("bin")) + ":/usr/bin:/bin");
    AboutBox->GoToWeb->setLauncher({});
    SetOnline(true);
    const QString mailFailed = "Sorry I can't send email for some reason.";
    const struct {
        QStringList schemes; // the desktop's handlers
        std::function<void()> click;
        QString opened; // empty: nothing started
        QString message;
    } cases[] = {
        {{}, [] { AboutBox->StaticText5Click(); }, "", NoConnection},
        {{}, [] { AboutBox->StaticText3Click(); }, "", mailFailed},
        {{"mailto"}, [] { AboutBox->StaticText4Click(); }, "", NoConnection},
        {{"https"}, [] { AboutBox->StaticText5Click(); }, maker::MailingListPage(), ""},
    };
    for (const auto &c : cases) {
        DesktopHandlers handlers;
        for (const QString &scheme : c.schemes)
            handlers.add(scheme, "/bin/true");
        opener.reset();
        Messages messages;
        c.click();
        ASSERT_EQ(messages.shown.size(), c.message.isEmpty() ? 0 : 1)
            << c.schemes.join(',').toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(messages.shown[0].text, c.message);
        }
        if (c.opened.isEmpty()) {
            EXPECT_FALSE(QFile::exists(opener.path() + ".record")) << "the opener was started";
        } else {
            ASSERT_TRUE(opener.lines());
            EXPECT_EQ(opener.lines()->value(1), "arg=" + c.opened);
        }
    }
}

TEST_F(About, TheUpgradeCheckAsksItsWayToTheDownloadPage) {
    const QString offline = "To check for upgrades you need to be online.\n"
                            "Gorbulax detects you are offline.\n\n"
                            "Are you actually online anyway?";
    const QString installed = "To check for upgrades and download them from the Internet\n"
                              "you have to have the Umbrel Prowlet Updater plug-in installed.\n\n"
                              "Gorbulax cannot find the updater.\n\n"
                              "Have you installed the updater on your system?";
    const QString download = "Do you wish to download the Updater plug-in now?";
    const struct {
        const char *what;
        bool online;
        QList<Answer> answers;
        QStringList asked;
        QStringList opened;
    } cases[] = {
        {"offline, not online anyway", false, {Answer::No}, {offline}, {}},
        {"online, not installed, download",
         true,
         {Answer::No, Answer::Yes},
         {installed, download},
         {maker::UpdaterPage()}},
        {"offline but online anyway, not installed, no download",
         false,
         {Answer::Yes, Answer::No, Answer::No},
         {offline, installed, download},
         {}},
    };
    for (const auto &c : cases) {
        SetOnline(c.online);
        opened.clear();
        Messages messages(c.answers);
        Main().Checkforupgrade1->trigger();
        QStringList asked;
        for (const toolkit::Question &q : messages.asked) {
            asked << q.text;
            EXPECT_EQ(q.caption, "Gorbulax");
            EXPECT_EQ(q.defaultAnswer, q.text == offline ? Answer::No : Answer::Yes) << c.what;
        }
        EXPECT_EQ(asked, c.asked) << c.what;
        EXPECT_EQ(opened, c.opened) << c.what;
        EXPECT_FALSE(BrowseForFolderDlg->isVisible()) << c.what;
    }
}

TEST_F(About, ACancelledBrowseKeepsTheLastFolderInCapitals) {
    SetOnline(true);
    QTemporaryDir root;
    const QString folder = root.filePath("Umbrel tools/");
    ASSERT_TRUE(QDir().mkpath(folder));
    WhenModal(BrowseForFolderDlg, [folder] {
        BrowseForFolderDlg->DirTree->SetDirectory(folder);
        BrowseForFolderDlg->BitBtn2->click();
    });
    Messages messages({Answer::Yes, Answer::No});
    AboutBox->BitBtn1->click();
    ASSERT_EQ(messages.asked.size(), 2);
    EXPECT_TRUE(messages.asked[1].text.startsWith("Do you wish to download")) << "the offer";
    EXPECT_EQ(AboutBox->SaveEdit1->text(), folder.toUpper());
    EXPECT_FALSE(AboutBox->UpdaterStarted);

    // Closed by its title bar after an earlier showing found an updater that is gone by now:
    // nothing is started, and the download is offered.
    BrowseForFolderDlg->UpdaterFound = true;
    BrowseForFolderDlg->UpdaterPath = root.filePath("gone/PATCHWELL.EXE");
    WhenModal(BrowseForFolderDlg, [] { BrowseForFolderDlg->reject(); });
    messages.answers = {Answer::Yes, Answer::No};
    AboutBox->BitBtn1->click();
    ASSERT_EQ(messages.asked.size(), 4);
    EXPECT_TRUE(messages.asked[3].text.startsWith("Do you wish to download")) << "the offer";
    EXPECT_FALSE(AboutBox->UpdaterStarted);
    EXPECT_FALSE(MainForm->WindowClosed);
    EXPECT_EQ(AboutBox->SaveEdit1->text(), root.filePath("gone/PATCHWELL.EXE").toUpper());
    AboutBox->SaveEdit1->setText(folder.toUpper());
    AboutBox->SaveEdit1->Save();

    // Stored for the next run; a folder is no updater, so the next check asks again.
    DestroyForms();
    CreateForms();
    EXPECT_EQ(AboutBox->SaveEdit1->text(), folder.toUpper());
}

TEST_F(About, AStoredUpdaterStartsWithTheProgramsFolderAndTheProgramEndsWithoutFarewell) {
    SetOnline(true);
    QTemporaryDir root;
    const Recorder updater(root.filePath(QString::fromUtf8("Umbrel Tööls/patchwell.exe")));
    // Stored as the original platform keeps it: only a to z in capitals.
    AboutBox->SaveEdit1->setText(root.path().toUpper() +
                                 QString::fromUtf8("/UMBREL TööLS/PATCHWELL.EXE"));
    // The program's folder is noted as the main window is made.
    const QString programFolder = platform::ProgramFolder();
    platform::SetProgramFolder(root.filePath("My Games/Gorbulax"));
    MainForm->FormCreate();
    platform::SetProgramFolder(programFolder);
    ASSERT_EQ(MainForm->programDir(), root.filePath("My Games/Gorbulax/"));
    WhenShown([] { return AboutBox->ExitMode; },
              [] {
                  ADD_FAILURE() << "a farewell after the updater started";
                  LeaveFarewell();
              },
              AboutBox);
    Messages messages;
    AboutBox->CheckUpgrade(AboutBox->BitBtn1);

    const std::optional<QStringList> run = updater.lines();
    ASSERT_TRUE(run) << "the updater did not start";
    QStringList expected{"program=" + updater.path(), "arg=Gorbulax", "arg=version.dll"};
    // The folder goes unquoted, so one with blanks reaches the updater in pieces.
    expected << "arg=" + root.filePath("My") << "arg=Games/Gorbulax/";
    EXPECT_EQ(run->mid(0, expected.size()), expected);
    EXPECT_TRUE(messages.asked.isEmpty());
    EXPECT_TRUE(AboutBox->UpdaterStarted);
    EXPECT_TRUE(MainForm->WindowClosed);
    EXPECT_FALSE(MainForm->isVisible());
}
