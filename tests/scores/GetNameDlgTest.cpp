#include "dialogs/browsedlg.h"
#include "platform/Locale.h"
#include "scores/ScoreBoardU.h"
#include "scores/getNameU.h"
#include "support/Forms.h"
#include "toolkit/Fonts.h"
#include "toolkit/GlyphButton.h"

#include <QDate>
#include <QLabel>
#include <QTest>

#include <utility>
#include <vector>

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

namespace {

// Every window, by the name of its global.
std::vector<std::pair<const char *, QWidget *>> everyWindow() {
    return {{"MainForm", MainForm},
            {"AboutBox", AboutBox},
            {"BrowseForFolderDlg", BrowseForFolderDlg},
            {"OptionsDlg", OptionsDlg},
            {"ScoreBoard", ScoreBoard},
            {"GetNameDlg", GetNameDlg},
            {"HelpForm", HelpForm}};
}

// Where a picture's most strongly coloured opaque pixel lies.
QPoint boldestOf(const QImage &picture) {
    QPoint boldest;
    int best = -1;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            const int saturation = QColor(p).hsvSaturation();
            if (qAlpha(p) == 255 && saturation > best) {
                best = saturation;
                boldest = QPoint(x, y);
            }
        }
    return boldest;
}

bool shows(const QImage &picture, QRgb color) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == color)
                return true;
    return false;
}

} // namespace

// The glyph buttons of every window show their glyph beside the caption; a disabled one
// (the browse dialog's OK and "Start another game?" as designed) shows it greyed.
TEST_F(NameDialog, EveryWindowsGlyphButtonsShowTheirGlyphs) {
    struct Row {
        QWidget *window;
        const char *button;
        const char *glyph;
    } const rows[] = {
        {GetNameDlg, "BitBtn1", "ok"},
        {OptionsDlg, "BitBtn1", "ok"},
        {OptionsDlg, "BitBtn2", "cancel"},
        {BrowseForFolderDlg, "BitBtn1", "ok"},
        {BrowseForFolderDlg, "BitBtn2", "cancel"},
        {ScoreBoard, "BitBtn1", "close"},
        {HelpForm, "BitBtn1", "close"},
        {AboutBox, "OKButton", "close"},
        {MainForm, "StartAnotherButton", ":/pictures/another.png"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.window->objectName().toStdString() + "." + row.button);
        auto *button = row.window->findChild<toolkit::GlyphButton *>(row.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->glyph(), row.glyph);
        const QIcon icon = button->icon();
        ASSERT_FALSE(icon.isNull());
        // At the screen's scale: a doubled one shows the 32-pixel drawing.
        const qreal scale = button->devicePixelRatioF();
        const QImage normal = icon.pixmap(QSize(16, 16), scale).toImage();
        const QPoint boldest = boldestOf(normal);
        const QRgb greyed =
            icon.pixmap(QSize(16, 16), scale, QIcon::Disabled).toImage().pixel(boldest);
        const QImage shown = button->grab().toImage();
        EXPECT_EQ(shows(shown, normal.pixel(boldest)), button->isEnabled());
        if (!button->isEnabled()) {
            EXPECT_TRUE(shows(shown, greyed));
        }
    }
}

// A static text or label shows its whole text, in the fonts that stand in for the designed
// ones as the program maps them ("Your name :" was cut to "Your name"); a wrapped one has the
// height for all its lines.
TEST_F(NameDialog, NoWindowCutsAStaticTextOrLabel) {
    toolkit::mapClassicFonts();
    Restart();
    Answer("Vega", true);
    GetNameDlg->ShowBox(1250, 4);
    for (const auto &[name, window] : everyWindow()) {
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            if (label->text().isEmpty() || !label->pixmap().isNull())
                continue;
            const std::string what = std::string(name) + "." + label->objectName().toStdString() +
                                     " \"" + label->text().toStdString() + "\"";
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << what;
                continue;
            }
            // Blanks at the end of a text show nothing, so they may be cut.
            const QRect needed = label->fontMetrics().boundingRect(QRect(), int(label->alignment()),
                                                                   label->text().trimmed());
            EXPECT_LE(needed.width(), label->contentsRect().width()) << what;
            EXPECT_LE(label->sizeHint().height(), label->height()) << what;
        }
    }
    for (const char *classic : {"MS Sans Serif", "MS Serif", "Times New Roman"})
        QFont::removeSubstitutions(classic);
}
