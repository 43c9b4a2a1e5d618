#include "scores/ScoreBoardU.h"

#include "components/GoToWeb.h"
#include "components/Maker.h"
#include "dialogs/About.h"
#include "game/MainU.h"
#include "platform/ConfigFolder.h"
#include "platform/Locale.h"
#include "toolkit/DesignProperties.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/ImageList.h"
#include "toolkit/Loading.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Mouse.h"

#include <QDate>
#include <QHeaderView>
#include <QIcon>
#include <QPixmap>
#include <QScopeGuard>
#include <QTableWidgetItem>

TScoreBoard *ScoreBoard = nullptr;

namespace {

enum Column { RankColumn = 0, ScoreColumn = 1, NameColumn = 2, DateColumn = 3, Columns = 4 };
constexpr int ColumnWidths[Columns] = {50, 70, 300, 93};
constexpr int RowHeight = 17;

QString missingTableText(const QStringList &searched) {
    return QStringLiteral("One or more data files required to run Gorbulax is missing!\n\n%1\n\n"
                          "Try downloading Gorbulax from Umbrel Prowlet again!\n\n%2")
        .arg(searched.join('\n'), maker::HomePage());
}

} // namespace

TScoreBoard::TScoreBoard(QWidget *parent) : QDialog(parent) {
    setupUi(this);
    toolkit::applyDesign(this);
    setFixedSize(size());
    createComponents();
    createRows();
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    toolkit::useDialogKeys(this, BitBtn1, BitBtn1);
    toolkit::onClick(BannerImage, [this](QObject *) { BannerImageClick(); });
    // Every way of closing (the button, Esc, the title bar) ends in finished().
    connect(this, &QDialog::finished, this, toolkit::handler([this] { FormClose(); }));
    toolkit::guarded([this] { toolkit::notifyLoaded(this); });
    toolkit::guarded([this] { FormCreate(); });
}

void TScoreBoard::createComponents() {
    BannerImage->setPicture(QImage(":/pictures/banner.png"));
    ImageList1 = new toolkit::ImageList(16, 16, this);
    ImageList1->setObjectName("ImageList1");
    ImageList1->addStrip(QImage(":/pictures/arrows.png"));
}

// The rows as designed: captions "1" to "10", every sub-item "1", until the file is read.
void TScoreBoard::createRows() {
    QHeaderView *header = ScoreTableView->horizontalHeader();
    header->setSectionsClickable(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    for (int column = 0; column < Columns; ++column)
        ScoreTableView->setColumnWidth(column, ColumnWidths[column]);
    ScoreTableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ScoreTableView->verticalHeader()->setDefaultSectionSize(RowHeight);
    for (int row = 0; row < scores::TableSize; ++row) {
        for (int column = 0; column < Columns; ++column) {
            auto *item = new QTableWidgetItem(column == RankColumn ? QString::number(row + 1)
                                                                   : QStringLiteral("1"));
            item->setTextAlignment(column == RankColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                        : Qt::AlignCenter);
            ScoreTableView->setItem(row, column, item);
        }
        setImage(row, Ordinary);
    }
}

void TScoreBoard::setImage(int row, int image) {
    QTableWidgetItem *item = ScoreTableView->item(row, RankColumn);
    item->setData(Qt::UserRole, image);
    item->setIcon(QIcon(QPixmap::fromImage(ImageList1->frame(image))));
}

int TScoreBoard::ImageOf(int row) const {
    return ScoreTableView->item(row, RankColumn)->data(Qt::UserRole).toInt();
}

QString TScoreBoard::RankCaption(int position) {
    return QString::asprintf(position < 10 ? " %d." : "%d.", position);
}

int TScoreBoard::GetHighScorePosition(int32_t score) const {
    return scores::GetHighScorePosition(ScoreTable, score);
}

void TScoreBoard::FormCreate() {
    const QString programDir = MainForm ? MainForm->programDir() : platform::ProgramFolder();
    const scores::ScoreFileLocation where = scores::LocateScoreFile(programDir);
    if (where.path.isEmpty()) {
        // The program does not run without its table: closing the main window ends it.
        toolkit::ShowErrorMessage(missingTableText(where.searched));
        if (MainForm)
            MainForm->close();
        return;
    }
    DataFile = where.path;
    if (!where.problem.isEmpty())
        toolkit::ShowErrorMessage(where.problem);
    ReadScoreTableFromFile(DataFile);
}

// The banner opens the maker's site with the about box's launcher, without asking the online
// detector first.
void TScoreBoard::BannerImageClick() {
    if (!AboutBox)
        return;
    AboutBox->GoToWeb->Url = maker::HomePage();
    if (!AboutBox->GoToWeb->GoToUrl())
        toolkit::ShowErrorMessage(TAboutBox::NoConnectionMessage());
}

void TScoreBoard::FormClose() {
    for (int row = 0; row < scores::TableSize; ++row)
        setImage(row, Ordinary);
}

void TScoreBoard::ReadScoreTableFromFile(const QString &FileName) {
    const scores::ScoreFileRead read = scores::ReadScoreFile(FileName, ScoreTable);
    writeBlocked_ = false;
    if (read.status == scores::ReadStatus::Missing)
        toolkit::ShowMessage(QStringLiteral("Error : Can't find data file %1!").arg(FileName));
    else if (read.status == scores::ReadStatus::Damaged)
        reportDamage(FileName, read);
    for (int p = 1; p <= scores::TableSize; ++p) {
        const scores::ScoreRecord &record = ScoreTable[p - 1];
        ScoreTableView->item(p - 1, RankColumn)->setText(RankCaption(p));
        ScoreTableView->item(p - 1, ScoreColumn)->setText(record.Score);
        ScoreTableView->item(p - 1, NameColumn)->setText(record.Name);
        ScoreTableView->item(p - 1, DateColumn)->setText(record.Date);
    }
}

// Damaged bytes are kept beside the file before the table is ever written over them; where
// they cannot be kept, the table is not written at all.
void TScoreBoard::reportDamage(const QString &fileName, const scores::ScoreFileRead &read) {
    const std::optional<QString> kept = scores::KeepDamagedFile(fileName);
    writeBlocked_ = !kept;
    const QString what = read.problems.join(QStringLiteral("; "));
    const QString damage = what + '\n' + kept.value_or(QString());
    if (damage == reportedDamage_)
        return;
    reportedDamage_ = damage;
    const QString keeping =
        kept ? QStringLiteral("The damaged file is kept as\n%1").arg(*kept)
             : QStringLiteral("It could not be kept aside, so no score will be written over it.");
    toolkit::ShowErrorMessage(
        QStringLiteral(
            "The high score file\n%1\nis damaged: %2.\n\nThe game plays on, and the high "
            "score table shows what could be read. %3")
            .arg(fileName, what, keeping));
}

bool TScoreBoard::WriteScoreTabletoFile(const QString &FileName) {
    for (int row = 0; row < scores::TableSize; ++row) {
        // A score that is no number came from a damaged file, whose bytes are kept aside: the
        // table written is sound, and the entry an empty place that any score may take.
        QString score = ScoreTableView->item(row, ScoreColumn)->text();
        if (!scores::ScoreValue(score))
            score.clear();
        ScoreTable[row] = {scores::CutToField(score),
                           scores::CutToField(ScoreTableView->item(row, NameColumn)->text()),
                           scores::CutToField(ScoreTableView->item(row, DateColumn)->text())};
    }
    if (writeBlocked_)
        return false;
    const scores::WriteResult written = store_.write(FileName, ScoreTable);
    if (!written.ok && !(written.readOnly && readOnlyReported_)) {
        readOnlyReported_ = readOnlyReported_ || written.readOnly;
        toolkit::ShowErrorMessage(
            QStringLiteral("The high score table could not be saved in\n%1\n(%2).\n\nThe new "
                           "entry is shown, but the next game will not find it.")
                .arg(FileName, written.problem));
    }
    return written.ok;
}

void TScoreBoard::SaveClick() {
    WriteScoreTabletoFile(DataFile);
}

void TScoreBoard::LoadClick() {
    ReadScoreTableFromFile(DataFile);
}

bool TScoreBoard::AddHighScore(int32_t Score, const QString &Name) {
    // Another game may have entered a score since this one read the file: read it afresh
    // under the lock, and keep the lock until the new table is written.
    store_.lock(DataFile);
    const auto unlock = qScopeGuard([this] { store_.unlock(); });
    ReadScoreTableFromFile(DataFile);

    const int position = GetHighScorePosition(Score);
    if (position == 0)
        return false;
    const int row = position - 1;
    CopyDownFrom(position);
    ScoreTableView->item(row, ScoreColumn)->setText(QString::number(Score));
    ScoreTableView->item(row, NameColumn)->setText(Name);
    ScoreTableView->item(row, DateColumn)->setText(platform::ShortDate(QDate::currentDate()));
    ReWriteNumbers();
    // A table that could not be written stays shown as entered, rather than as the old file.
    if (WriteScoreTabletoFile(DataFile))
        ReadScoreTableFromFile(DataFile);
    setImage(row, JustEntered);
    return true;
}

void TScoreBoard::CopyDownFrom(int Position) {
    if (Position == scores::TableSize)
        return;
    for (int k = scores::TableSize; k >= Position; --k) {
        if (k == 1)
            continue;
        const int to = k - 1;
        const int from = k - 2;
        for (int column = 0; column < Columns; ++column)
            ScoreTableView->item(to, column)->setText(ScoreTableView->item(from, column)->text());
        setImage(to, ImageOf(from));
    }
}

void TScoreBoard::ReWriteNumbers() {
    for (int row = 0; row < scores::TableSize; ++row)
        ScoreTableView->item(row, RankColumn)->setText(RankCaption(row + 1));
}
