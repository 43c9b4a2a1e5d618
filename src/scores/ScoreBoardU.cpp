#include "scores/ScoreBoardU.h"

#include "components/GoToWeb.h"
#include "components/Maker.h"
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

TScoreBoard::TScoreBoard(const Services &services, QWidget *parent)
    : QDialog(parent), services_(services) {
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
    const scores::ScoreFileLocation where = scores::LocateScoreFile(services_.programFolder());
    if (where.path.isEmpty()) {
        // The program does not run without its table: closing the main window ends it.
        toolkit::ShowErrorMessage(missingTableText(where.searched));
        services_.closeProgram();
        return;
    }
    DataFile = where.path;
    if (!where.problem.isEmpty())
        toolkit::ShowErrorMessage(where.problem);
    ReadScoreTableFromFile(DataFile);
}

// The banner opens the maker's site with the program's link opener (the about box's), without
// asking the online detector first.
void TScoreBoard::BannerImageClick() {
    TGoToWeb *const opener = services_.linkOpener;
    if (!opener)
        return;
    opener->Url = maker::HomePage();
    if (!opener->GoToUrl())
        toolkit::ShowErrorMessage(maker::NoConnectionMessage());
}

void TScoreBoard::FormClose() {
    for (int row = 0; row < scores::TableSize; ++row)
        setImage(row, Ordinary);
}

void TScoreBoard::ReadScoreTableFromFile(const QString &FileName) {
    reportRead(FileName, scores::ReadScoreFile(FileName, ScoreTable));
    ShowTable();
}

void TScoreBoard::ShowTable() {
    for (int p = 1; p <= scores::TableSize; ++p) {
        const scores::ScoreRecord &record = ScoreTable[p - 1];
        ScoreTableView->item(p - 1, RankColumn)->setText(RankCaption(p));
        ScoreTableView->item(p - 1, ScoreColumn)->setText(record.Score);
        ScoreTableView->item(p - 1, NameColumn)->setText(record.Name);
        ScoreTableView->item(p - 1, DateColumn)->setText(record.Date);
    }
}

void TScoreBoard::MarkRow(int row) {
    setImage(row, JustEntered);
}

// What a read found, said to the player; true when the table may be written over the file.
bool TScoreBoard::reportRead(const QString &fileName, const scores::ScoreFileRead &read) {
    writeBlocked_ = false;
    if (read.status == scores::ReadStatus::Missing)
        toolkit::ShowMessage(QStringLiteral("Error : Can't find data file %1!").arg(fileName));
    else if (read.status == scores::ReadStatus::Damaged)
        reportDamage(fileName, read);
    return !writeBlocked_;
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
    scores::ClearNonScores(ScoreTable);
    if (writeBlocked_)
        return false;
    return reportWrite(FileName, store_.write(FileName, ScoreTable));
}

bool TScoreBoard::reportWrite(const QString &fileName, const scores::WriteResult &written) {
    if (!written.ok && !(written.readOnly && readOnlyReported_)) {
        readOnlyReported_ = readOnlyReported_ || written.readOnly;
        toolkit::ShowErrorMessage(
            QStringLiteral("The high score table could not be saved in\n%1\n(%2).\n\nThe new "
                           "entry is shown, but the next game will not find it.")
                .arg(fileName, written.problem));
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
    const scores::ScoreStore::Entry entry = store_.enter(
        DataFile, ScoreTable, Score, Name, platform::ShortDate(QDate::currentDate()),
        [this](const scores::ScoreFileRead &read) { return reportRead(DataFile, read); });
    if (entry.position == 0) {
        ShowTable();
        return false;
    }
    // A table that could not be written stays shown as entered, rather than as the old file.
    if (entry.written && reportWrite(DataFile, *entry.written))
        reportRead(DataFile, scores::ReadScoreFile(DataFile, ScoreTable));
    ShowTable();
    MarkRow(entry.position - 1);
    return true;
}
