#pragma once

// The high score table and its file "gorbulax.dat": ten records, best first, each three short
// strings (score, name, date) of one length byte and room for 255 characters of code page
// 1252. No header: 10 × 768 = 7680 bytes.
//
// The file is shared by every game the user runs, so every write replaces it whole (a
// temporary file, flushed and renamed over it) under an advisory lock, and a writer that
// inserts an entry re-reads the file under that same lock first.

#include "platform/LockedFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace scores {

inline constexpr int TableSize = 10;
inline constexpr int FieldCapacity = 255;
inline constexpr qsizetype RecordSize = 3 * (1 + FieldCapacity);
inline constexpr qsizetype FileSize = TableSize * RecordSize;
inline constexpr const char *FileName = "gorbulax.dat";

struct ScoreRecord {
    QString Score; // decimal text, as the program writes it
    QString Name;
    QString Date;
    bool operator==(const ScoreRecord &) const = default;
};

// Position p (1 to 10) is element p - 1.
using ScoreTable = std::array<ScoreRecord, TableSize>;

// A Score field's value: decimal digits with an optional leading minus sign, within 32 bits.
// Nothing for any other text, the empty one included.
std::optional<int32_t> ScoreValue(const QString &field);

// The position, 1 to 10, that `score` would take: the first whose stored score is not above
// it, whatever the order of the table; 0 when every stored score is above it. A field that is
// no score (an empty place, or a damaged entry) counts as beaten by any score.
int GetHighScorePosition(const ScoreTable &table, int32_t score);

// A text as a field holds it: cut to its first 255 characters.
QString CutToField(const QString &text);

// Enters a score with its name and date at the position GetHighScorePosition gives: the
// entries from there on move down one place and the tenth drops out (at position 10 only the
// tenth is overwritten). The position, or 0, with the table unchanged, when the score does not
// make it. Name and date are cut to a field's 255 characters.
int InsertScore(ScoreTable &table, int32_t score, const QString &name, const QString &date);

// A table fit to be written: a score that is no number (read from a damaged file, whose bytes
// are kept aside) becomes an empty place that any score may take.
void ClearNonScores(ScoreTable &table);

// The ten records as the file holds them: 7680 bytes, each field's unused room zero.
QByteArray EncodeScoreTable(const ScoreTable &table);

enum class ReadStatus {
    Read,    // ten complete records whose scores are all numbers
    Missing, // no file of that name; the table is unchanged
    Damaged, // see problems; the table holds what could be read
};

struct ScoreFileRead {
    ReadStatus status = ReadStatus::Read;
    int records = 0;      // complete records taken into the table, from position 1 on
    QStringList problems; // what is wrong with the file, one sentence each
};

// Takes the records of a file's bytes into `table`, from position 1 on, as far as they are
// complete: a short file leaves the positions it lacks as they were. Bytes after the tenth
// record are ignored. Never fails: every damage is described in `problems`.
ScoreFileRead ParseScoreFile(QByteArrayView bytes, ScoreTable &table);

// Reads the file (found without regard to letter case) into `table`. A file that exists but
// cannot be read is damaged and leaves the table as it was. Only the ten records are read,
// however long the file.
ScoreFileRead ReadScoreFile(const QString &fileName, ScoreTable &table);

// Holds the table file's advisory lock (exclusive) from construction to destruction: the lock
// of every writer of the table, in this program and in any other game the user runs.
class ScoreFileLock {
public:
    explicit ScoreFileLock(const QString &fileName);
    bool held() const { return lock_.held(); }

private:
    platform::detail::FileLock lock_;
};

struct WriteResult {
    bool ok = true;
    QString problem;       // why the file was not written, for the player
    bool readOnly = false; // its owner has made the file read-only, and it is kept so
};

// Writes the ten records: 7680 bytes to a new file in the same folder, flushed and renamed
// over the old one, so that a crash or a full disk leaves the old table or the new one and
// never a mix, and no stray file. A file its owner has made read-only is not written. The first
// form takes the lock for the write; the second is for a caller that holds it. `seams` lets
// tests stop a write before its last steps.
WriteResult WriteScoreFile(const QString &fileName, const ScoreTable &table);
WriteResult WriteScoreFileLocked(const QString &fileName, const ScoreTable &table,
                                 const ScoreFileLock &,
                                 const platform::detail::ReplaceSeams &seams = {});

// The table's file as a writer sees it over several steps: unlocked, or locked from reading
// the file afresh to writing the new table (lock, read, write, unlock), so that an entry
// another game makes meanwhile waits rather than being lost. A write while unlocked takes the
// lock for itself.
class ScoreStore {
public:
    void lock(const QString &fileName);
    void unlock();
    bool locked() const { return lock_.has_value(); }
    WriteResult write(const QString &fileName, const ScoreTable &table);

    // What entering a score found and did.
    struct Entry {
        ScoreFileRead read;                 // the file as read afresh
        int position = 0;                   // where the score went; 0 when it no longer makes it
        std::optional<WriteResult> written; // nothing when no write was tried
    };
    // Enters a score into the table of `fileName` in one locked step: the file read afresh into
    // `table`, the score inserted, the table written. `mayWrite` sees the read and can keep the
    // table from being written over the file (a damaged one whose bytes could not be kept).
    Entry enter(const QString &fileName, ScoreTable &table, int32_t score, const QString &name,
                const QString &date,
                const std::function<bool(const ScoreFileRead &)> &mayWrite = {});

private:
    QString lockedFile_;
    std::optional<ScoreFileLock> lock_;
};

// Keeps a damaged file's bytes beside it before anything is written over them: a second name
// for the file ("gorbulax.dat.damaged", or ".damaged-2" and on when that is taken by other
// bytes), or a copy where the file system has no second names. A file already kept under
// such a name is not kept twice. The kept file's path, or nothing when it could not be kept.
std::optional<QString> KeepDamagedFile(const QString &fileName);

// Where the table of a program in `programFolder` lives. The program's folder when it holds
// the file and may be written to (the build tree, a portable copy); otherwise the user's data
// folder, which takes a copy of the shipped table (from the program's folder or
// ../share/games/gorbulax/ beside it) the first time. Every name is matched without regard
// to letter case. The program never makes a table up: with no file anywhere, `path` is empty.
struct ScoreFileLocation {
    QString path;
    QStringList searched; // every place looked at, for the message when there is no table
    QString problem;      // set when a shipped table had to be used where it lies, read-only
};
using FolderTest = std::function<bool(const QString &folder)>;
bool FolderWritable(const QString &folder);
ScoreFileLocation LocateScoreFile(const QString &programFolder,
                                  const FolderTest &writable = FolderWritable);

} // namespace scores
