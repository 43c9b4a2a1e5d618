#pragma once

#include "components/Services.h"
#include "scores/ScoreFile.h"
#include "ui_ScoreBoardU.h"

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <cstdint>

namespace toolkit {
class ImageList;
}

// The high score window: the ten best scores with their names and dates, read from the score
// file at start-up and entered into by AddHighScore. ScoreTable is the table as a value, the
// copy of the file; the rows only show it.
class TScoreBoard : public QDialog, public Ui::TScoreBoard {
    Q_OBJECT

public:
    explicit TScoreBoard(const Services &services = Services::none(), QWidget *parent = nullptr);

    // Components without a window of their own.
    toolkit::ImageList *ImageList1 = nullptr; // the rows' arrows: 0 cyan, 1 red
    enum RowImage { Ordinary = 0, JustEntered = 1 };

    scores::ScoreTable ScoreTable;
    // The table's file, found at creation (see scores::LocateScoreFile); empty without one.
    QString DataFile;

    // The position, 1 to 10, that a score would take in ScoreTable; 0 when it does not make it.
    int GetHighScorePosition(int32_t score) const;

    void FormCreate();
    void FormClose();
    void BannerImageClick();
    // Writes ScoreTable; false, after a message, when it was not written.
    bool WriteScoreTabletoFile(const QString &FileName);
    // Reads the file into ScoreTable and shows it.
    void ReadScoreTableFromFile(const QString &FileName);
    void SaveClick();
    void LoadClick();
    // Enters a score under the table's lock, after reading the file afresh, so that an entry
    // another game made meanwhile stays; shows the table with the new row marked. False when
    // the score no longer makes the table.
    bool AddHighScore(int32_t Score, const QString &Name);
    // The rows show ScoreTable, each with its rank caption; a marked row keeps its red arrow.
    void ShowTable();
    void MarkRow(int row);

    // The rank caption of position p: " 1." to " 9.", then "10.".
    static QString RankCaption(int position);
    // Which arrow row `row` (0 to 9) shows.
    int ImageOf(int row) const;

private:
    void createComponents();
    void createRows();
    void setImage(int row, int image);
    bool reportRead(const QString &fileName, const scores::ScoreFileRead &read);
    bool reportWrite(const QString &fileName, const scores::WriteResult &written);
    void reportDamage(const QString &fileName, const scores::ScoreFileRead &read);

    const Services &services_;
    // Locked by AddHighScore while it reads, inserts and writes.
    scores::ScoreStore store_;
    // The damage last reported, so that the same damage is reported once.
    QString reportedDamage_;
    // A read-only table is reported once; the game plays on without writing it.
    bool readOnlyReported_ = false;
    // The file read last is damaged and its bytes could not be kept aside.
    bool writeBlocked_ = false;
};

// The application's high score window, set as the program creates it.
extern TScoreBoard *ScoreBoard;
