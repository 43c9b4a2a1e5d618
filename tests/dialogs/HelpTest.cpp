#include "game/GameSounds.h"
#include "support/Forms.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

namespace {

using game::sound::Backward;
using game::sound::RobotzW; // the start-up sound
using game::sound::Screech;

QStringList LinesOf(const QPlainTextEdit *memo) {
    return memo->toPlainText().split(u'\n');
}

// Where `block` stands as whole, consecutive lines of `lines`, from `from` on; -1 if nowhere.
qsizetype FindBlock(const QStringList &lines, const QStringList &block, qsizetype from) {
    for (qsizetype at = from; at + block.size() <= lines.size(); ++at) {
        if (lines.mid(at, block.size()) == block)
            return at;
    }
    return -1;
}

// The lines each topic's text was written with, word for word: runs of consecutive lines, in
// the order they come in the memo.
struct WrittenText {
    const char *memo;
    QList<QStringList> blocks;
};

const WrittenText WrittenTexts[] = {
    {"TXT_ProgInfo",
     {{" Program Info", "-============-"},
      {"Hello. Thankyou for downloading Gorbulax v1.0 Feel free to email me with any ",
       "comments,suggestions or bug reports."},
      {"You can join the Umbrel Prowlet Mailing List for email notification of when we release "
       "upgrades for ",
       "our software or release new software, this is not a periodical newsletter.",
       "- for more information go to  https://www.brakmoor.example/mailinglist.htm", "", "",
       " How many lines of code went into making this program?",
       "-============================================-", "Lots - 13 998 !!"}}},
    {"TXT_Story",
     {{" Story", "-=====-",
       "The whole point in this game is it doens't need a story line, but for those of you who "
       "really want one, here ",
       "is it :"},
      {"energy. After all it's you or them..."}}},
    {"TXT_GamePlay",
     {{" GamePlay", "-========-", "Gorbulax is best played with the maximum playing area.", "",
       "Playing Gorbulax is incredibly simple. You just try and shoot any Gorbulax that fly "
       "accross ",
       "your screen.",
       "You can shoot a Gorbulax by targetting it with your mouse and then clicking the left "
       "mouse button.",
       "You can pause the game at any time by clicking your right mouse button.", "",
       "You get 10 points of energy every time you hit a Gorbulax", "and",
       "You lose 10 points every time a Gorbulax flies past you.", "",
       "When you get to 0 it's Game Over - try and last as long as you can."}}},
    {"TXT_Options",
     {{" Options", "-=======-", "There are two options :"},
      {"Play Sounds : ", ""},
      {"", "Number of Stars : ", "",
       "This option lets you specify the number of stars Gorbulax will create in the start "
       "field. The defualt ",
       "value is 100. If the game runs slow on your machine you can decrease this value.",
       "We recommend that you do not set the number of stars to less than 70.",
       "Similarily if you increase the number of stars then the game will run slower, so only "
       "increase the number if ",
       "you computer is powerful enough to animate all the stars and do everything else it's "
       "got to do within 1 ",
       "millisecond."}}},
    {"TXT_DiscLegal", {{" Disclaimer", "-==========-"}, {" Legalities", "-==========-"}}},
};

class Help : public FormsTest {
protected:
    static QPlainTextEdit *Memo(const char *name) {
        return HelpForm->findChild<QPlainTextEdit *>(name);
    }

    // The memos on show: exactly one at any time.
    static QStringList ShownMemos() {
        QStringList shown;
        for (const QPlainTextEdit *memo : HelpForm->Panel6->findChildren<QPlainTextEdit *>())
            if (memo->isVisible())
                shown << memo->objectName();
        return shown;
    }

    static void ClickLine(int line) {
        QListWidget *list = HelpForm->ListBox1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(line)).center());
    }

    // The sounds the help window's device was asked to play since the last call.
    static QList<int> TakeSounds() {
        const TGKAudio *audio = HelpForm->HelpAudio;
        const QList<int> playing = PlayingSounds(audio);
        for (int index : playing) {
            audio->Sound(index).Stop();
            audio->Sound(index).SetPosition(0);
        }
        return playing;
    }
};

} // namespace

TEST_F(Help, TheQuotedLinesStandWordForWordAndEveryTitleIsUnderlined) {
    THelpForm &h = *HelpForm;
    for (const WrittenText &text : WrittenTexts) {
        const QStringList lines = LinesOf(Memo(text.memo));
        qsizetype from = 0;
        for (const QStringList &block : text.blocks) {
            const qsizetype at = FindBlock(lines, block, from);
            EXPECT_GE(at, 0) << text.memo << " lacks, after line " << from << ":\n"
                             << block.join(u'\n').toStdString();
            from = at < 0 ? from : at + block.size();
        }
        ASSERT_GE(lines.size(), 2);
        EXPECT_TRUE(lines[0].startsWith(u' ')) << text.memo;
        EXPECT_EQ(lines[1], '-' + QString(lines[0].size() - 1, u'=') + '-') << text.memo;
    }
    EXPECT_EQ(LinesOf(Memo("TXT_Story")).last(), "energy. After all it's you or them...");
    const QStringList info = LinesOf(h.TXT_ProgInfo);
    EXPECT_EQ(info.filter("03/11/99").size(), 1) << "the author line with its date";
    EXPECT_EQ(info.filter("games@brakmoor.example").size(), 1) << "the e-mail line";
    EXPECT_EQ(info.filter(QRegularExpression("^Web : https://www.brakmoor.example/$")).size(), 1);

    // Sound needs nothing installed here: the texts say what is true instead.
    EXPECT_EQ(
        LinesOf(h.TXT_Options).filter("If this box is checked Gorbulax will play sounds. ").size(),
        1);
    for (const QPlainTextEdit *memo : h.Panel6->findChildren<QPlainTextEdit *>())
        EXPECT_FALSE(memo->toPlainText().contains("DirectX")) << memo->objectName().toStdString();
    EXPECT_FALSE(OptionsDlg->StaticText1->text().contains("DirectX"));
}

TEST_F(Help, TheProgramStartsWithItsSoundAndTheFirstOpeningShowsTheProgramInfo) {
    for (const bool soundsOn : {true, false}) {
        OptionsDlg->SoundCheck->setChecked(soundsOn);
        OptionsDlg->SoundCheck->Save();
        DestroyForms();
        CreateForms();
        EXPECT_EQ(PlayingSounds(MainForm->Audio), soundsOn ? QList<int>{RobotzW} : QList<int>{});
        EXPECT_EQ(SoundPosition(MainForm->Audio, RobotzW), 0u);
        EXPECT_TRUE(PlayingSounds(HelpForm->HelpAudio).isEmpty());
    }

    THelpForm &form = *HelpForm;
    form.ListBox1->setCurrentRow(1); // a header line: the text stays as it is
    form.show();
    EXPECT_EQ(form.windowTitle(), "HelpForm");
    EXPECT_EQ(form.size(), QSize(592, 373)) << "600 x 400 with a classic window frame";
    EXPECT_EQ(form.Panel6->size(), QSize(499, 279));
    EXPECT_EQ(form.ListBox1->width(), 91);
    EXPECT_EQ(form.CurrentMemo(), form.TXT_ProgInfo);
    EXPECT_EQ(ShownMemos(), QStringList{"TXT_ProgInfo"});
    EXPECT_EQ(form.TXT_ProgInfo->geometry(), form.Panel6->rect());
    EXPECT_TRUE(form.TXT_ProgInfo->verticalScrollBar()->isVisible());
    for (const char *name : {"TXT_Story", "TXT_GamePlay", "TXT_Options", "TXT_DiscLegal"})
        EXPECT_EQ(Memo(name)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff) << name;
    EXPECT_EQ(form.focusWidget(), form.ListBox1);

    const QStringList topics{"Help Topics", "==========", "",           "Program Info", "Story",
                             "GamePlay",    "Options",    "Disclaimer", "Legalities"};
    ASSERT_EQ(form.ListBox1->count(), topics.size());
    for (int line = 0; line < topics.size(); ++line) {
        EXPECT_EQ(form.ListBox1->item(line)->text(), topics[line]);
        EXPECT_EQ(form.ListBox1->visualItemRect(form.ListBox1->item(line)).height(), 13);
    }
}

TEST_F(Help, TopicsSwitchWithOneSoundAndTheSameTextAgainIsSilent) {
    THelpForm &h = *HelpForm;
    struct Step {
        int line;
        const char *shows;
        bool backward;
    };
    const Step steps[] = {
        {0, "TXT_ProgInfo", false}, {1, "TXT_ProgInfo", false}, {2, "TXT_ProgInfo", false},
        {3, "TXT_ProgInfo", false}, {4, "TXT_Story", true},     {4, "TXT_Story", false},
        {0, "TXT_Story", false},    {7, "TXT_DiscLegal", true}, {8, "TXT_DiscLegal", false},
        {5, "TXT_GamePlay", true},  {6, "TXT_Options", true},   {3, "TXT_ProgInfo", true},
    };
    h.show();
    for (const Step &step : steps) {
        ClickLine(step.line);
        EXPECT_EQ(h.ListBox1->currentRow(), step.line);
        EXPECT_EQ(ShownMemos(), QStringList{step.shows}) << "line " << step.line;
        EXPECT_EQ(TakeSounds(), step.backward ? QList<int>{Backward} : QList<int>{})
            << "line " << step.line;
    }

    // The arrow keys move through the topics and show them.
    QTest::keyClick(h.ListBox1, Qt::Key_Down);
    EXPECT_EQ(ShownMemos(), QStringList{"TXT_Story"});
    QTest::keyClick(h.ListBox1, Qt::Key_Down);
    EXPECT_EQ(ShownMemos(), QStringList{"TXT_GamePlay"});
    EXPECT_EQ(TakeSounds(), QList<int>{Backward});

    OptionsDlg->SoundCheck->setChecked(false);
    for (int line : {4, 7, 3}) {
        ClickLine(line);
        EXPECT_EQ(h.CurrentMemo(), h.TopicMemo(line));
    }
    EXPECT_TRUE(TakeSounds().isEmpty()) << "with sounds off the topics change in silence";
    EXPECT_TRUE(PlayingSounds(MainForm->Audio).isEmpty());
}

TEST_F(Help, APictureClickedTwiceRestartsTheScreech) {
    THelpForm &h = *HelpForm;
    h.show();
    QTest::mouseClick(h.Image1, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(PlayingSounds(h.HelpAudio), QList<int>{Screech});
    RenderOutput(2000);
    ASSERT_GT(SoundPosition(h.HelpAudio, Screech), 0u);
    QTest::mouseClick(h.Image2, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(SoundPosition(h.HelpAudio, Screech), 0u);
    EXPECT_EQ(TakeSounds(), QList<int>{Screech});

    OptionsDlg->SoundCheck->setChecked(false);
    QTest::mouseClick(h.Image1, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(h.Image2, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(TakeSounds().isEmpty());
}

TEST_F(Help, TheListKeepsItsWidthAndTheTextTakesTheRest) {
    THelpForm &h = *HelpForm;
    h.show();
    for (const QSize size : {QSize(800, 500), QSize(400, 250), QSize(592, 373)}) {
        h.resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(h.ListBox1->width(), 91) << size.width();
        EXPECT_EQ(h.Panel6->width(), size.width() - 2 - 91) << size.width();
        EXPECT_EQ(h.Panel6->height(), size.height() - 41 - 2 - 51) << size.height();
        EXPECT_EQ(h.CurrentMemo()->geometry(), h.Panel6->rect());
        EXPECT_EQ(h.Image2->geometry().right(), h.Panel3->width() - 3) << "on the right edge";
    }
}

TEST_F(Help, TheMenuPausesTheGameAndTheWindowKeepsItsTopicAndClosesByKey) {
    THelpForm &h = *HelpForm;
    TMainForm &f = *MainForm;
    ASSERT_TRUE(Main().Help2->isEnabled());
    f.StartGame();
    Ticks(3);

    // Opened from the menu, the list has the focus: Down shows the next topic, Esc closes.
    QWidget *focused = nullptr;
    bool closed = false;
    WhenModal(HelpForm, [&] {
        focused = h.focusWidget();
        QTest::keyClick(h.ListBox1, Qt::Key_Down);
        QTest::keyClick(h.ListBox1, Qt::Key_Escape);
        closed = !h.isVisible();
        h.reject();
    });
    Main().Help2->trigger();
    EXPECT_EQ(focused, h.ListBox1);
    EXPECT_TRUE(closed) << "Esc closes";
    EXPECT_TRUE(f.game().stopped()) << "the game stays paused";
    EXPECT_TRUE(Main().PausePanel->isVisible());

    // Reopened, it shows the topic it was left on; Enter closes it from the list or the button.
    for (QWidget *target :
         {static_cast<QWidget *>(h.ListBox1), static_cast<QWidget *>(h.BitBtn1)}) {
        QString shown;
        int row = -1;
        bool closed = false;
        WhenModal(HelpForm, [&] {
            shown = h.CurrentMemo()->objectName();
            row = h.ListBox1->currentRow();
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
            closed = !h.isVisible();
            h.reject();
        });
        Main().Help2->trigger();
        EXPECT_EQ(shown, "TXT_Story");
        EXPECT_EQ(row, 4);
        EXPECT_TRUE(closed) << "Enter on " << target->objectName().toStdString();
    }
}
