#include "scores/ScoreFile.h"

#include "platform/Bytes.h"
#include "platform/CodePage.h"
#include "platform/ConfigFolder.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace scores {

namespace {

using FileRead = platform::detail::ReadStatus;

QString systemReason(int error, const char *otherwise) {
    return error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                      : QString::fromLatin1(otherwise);
}

QString numberList(const QList<int> &positions) {
    QStringList names;
    for (int p : positions)
        names << QString::number(p);
    return names.join(QStringLiteral(", "));
}

} // namespace

std::optional<int32_t> ScoreValue(const QString &field) {
    const qsizetype first = field.startsWith('-') ? 1 : 0;
    if (field.size() == first)
        return std::nullopt;
    for (qsizetype i = first; i < field.size(); ++i) {
        if (field[i] < u'0' || field[i] > u'9')
            return std::nullopt;
    }
    bool fits = false;
    const int value = field.toInt(&fits, 10);
    return fits ? std::optional<int32_t>(value) : std::nullopt;
}

int GetHighScorePosition(const ScoreTable &table, int32_t score) {
    int result = 0;
    for (int k = TableSize; k >= 1; --k) {
        const std::optional<int32_t> stored = ScoreValue(table[k - 1].Score);
        if (!stored || *stored <= score)
            result = k;
    }
    return result;
}

QString CutToField(const QString &text) {
    if (text.size() <= FieldCapacity)
        return text;
    QString cut = text.left(FieldCapacity);
    if (cut.back().isHighSurrogate())
        cut.chop(1); // half a character is no character
    return cut;
}

int InsertScore(ScoreTable &table, int32_t score, const QString &name, const QString &date) {
    const int position = GetHighScorePosition(table, score);
    if (position == 0)
        return 0;
    for (int p = TableSize; p > position; --p)
        table[p - 1] = table[p - 2];
    table[position - 1] = {QString::number(score), CutToField(name), CutToField(date)};
    return position;
}

void ClearNonScores(ScoreTable &table) {
    for (ScoreRecord &record : table) {
        if (!ScoreValue(record.Score))
            record.Score.clear();
    }
}

QByteArray EncodeScoreTable(const ScoreTable &table) {
    platform::ByteWriter out(FileSize);
    for (const ScoreRecord &record : table) {
        for (const QString *field : {&record.Score, &record.Name, &record.Date})
            out.shortString(platform::Windows1252::Encode(*field), FieldCapacity);
    }
    return out.take();
}

ScoreFileRead ParseScoreFile(QByteArrayView bytes, ScoreTable &table) {
    ScoreFileRead read;
    platform::ByteReader reader(bytes);
    const auto field = [&reader] {
        return platform::Windows1252::Decode(reader.shortString(FieldCapacity));
    };
    for (int p = 0; p < TableSize && reader.has(RecordSize); ++p) {
        ScoreRecord &record = table[p];
        record.Score = field();
        record.Name = field();
        record.Date = field();
        ++read.records;
    }
    if (read.records < TableSize) {
        read.problems << QStringLiteral("it holds %1 bytes where a table has %2, so only %3 of "
                                        "its ten entries could be read")
                             .arg(bytes.size())
                             .arg(FileSize)
                             .arg(read.records);
    }
    QList<int> notNumbers;
    for (int p = 0; p < read.records; ++p) {
        // An empty score is an empty place, as the entries a short file lacked are once written.
        if (!table[p].Score.isEmpty() && !ScoreValue(table[p].Score))
            notNumbers << p + 1;
    }
    if (!notNumbers.isEmpty()) {
        read.problems << (notNumbers.size() == 1
                              ? QStringLiteral("the score of entry %1 is not a whole number")
                              : QStringLiteral("the scores of entries %1 are not whole numbers"))
                             .arg(numberList(notNumbers));
    }
    if (!read.problems.isEmpty())
        read.status = ReadStatus::Damaged;
    return read;
}

ScoreFileRead ReadScoreFile(const QString &fileName, ScoreTable &table) {
    QByteArray bytes;
    errno = 0;
    // The ten records and no more: whatever a longer file holds after them is ignored.
    switch (platform::detail::ReadWholeFile(platform::Files::Resolve(fileName), &bytes, FileSize)) {
    case FileRead::Missing:
        return {ReadStatus::Missing, 0, {}};
    case FileRead::Failed: {
        const QString reason = systemReason(errno, "the system gave no reason");
        return {ReadStatus::Damaged, 0, {QStringLiteral("it cannot be read (%1)").arg(reason)}};
    }
    case FileRead::Read:
        break;
    }
    return ParseScoreFile(bytes, table);
}

ScoreFileLock::ScoreFileLock(const QString &fileName)
    : lock_(platform::Files::Resolve(fileName), platform::detail::FileLock::Exclusive) {}

WriteResult WriteScoreFile(const QString &fileName, const ScoreTable &table) {
    const ScoreFileLock lock(fileName);
    return WriteScoreFileLocked(fileName, table, lock);
}

WriteResult WriteScoreFileLocked(const QString &fileName, const ScoreTable &table,
                                 const ScoreFileLock &,
                                 const platform::detail::ReplaceSeams &seams) {
    const QString path = platform::Files::Resolve(fileName);
    if (!platform::detail::MayReplace(path))
        return {false, QStringLiteral("the file is read-only"), true};
    errno = 0;
    if (platform::detail::ReplaceFile(path, EncodeScoreTable(table), seams))
        return {};
    return {false, systemReason(errno, "the new table could not take the old one's place")};
}

void ScoreStore::lock(const QString &fileName) {
    lock_.reset();
    lockedFile_ = fileName;
    lock_.emplace(fileName);
}

void ScoreStore::unlock() {
    lock_.reset();
    lockedFile_.clear();
}

WriteResult ScoreStore::write(const QString &fileName, const ScoreTable &table) {
    if (lock_ && fileName == lockedFile_)
        return WriteScoreFileLocked(fileName, table, *lock_);
    return WriteScoreFile(fileName, table);
}

ScoreStore::Entry ScoreStore::enter(const QString &fileName, ScoreTable &table, int32_t score,
                                    const QString &name, const QString &date,
                                    const std::function<bool(const ScoreFileRead &)> &mayWrite) {
    // Another game may have entered a score since this one read the file: it is read afresh
    // under the lock, and the lock is kept until the new table is written.
    const bool lockedBefore = locked();
    if (!lockedBefore)
        lock(fileName);
    Entry entry;
    entry.read = ReadScoreFile(fileName, table);
    entry.position = InsertScore(table, score, name, date);
    if (entry.position != 0) {
        ClearNonScores(table);
        if (!mayWrite || mayWrite(entry.read))
            entry.written = write(fileName, table);
    }
    if (!lockedBefore)
        unlock();
    return entry;
}

namespace {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
};

std::optional<FileIdentity> identityOf(const QString &path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

bool sameBytes(const QString &a, const QString &b) {
    QByteArray first, second;
    return platform::detail::ReadWholeFile(a, &first) == FileRead::Read &&
           platform::detail::ReadWholeFile(b, &second) == FileRead::Read && first == second;
}

} // namespace

std::optional<QString> KeepDamagedFile(const QString &fileName) {
    const QString path = platform::Files::Resolve(fileName);
    const std::optional<FileIdentity> file = identityOf(path);
    if (!file)
        return std::nullopt;
    for (int n = 1; n < 100; ++n) {
        const QString kept =
            path + (n == 1 ? QStringLiteral(".damaged") : QStringLiteral(".damaged-%1").arg(n));
        if (const std::optional<FileIdentity> other = identityOf(kept)) {
            if ((other->device == file->device && other->inode == file->inode) ||
                sameBytes(path, kept))
                return kept;
            continue;
        }
        // A second name keeps even bytes that cannot be read; the table's next write replaces
        // the file by a rename and leaves them under this name.
        if (::linkat(AT_FDCWD, QFile::encodeName(path).constData(), AT_FDCWD,
                     QFile::encodeName(kept).constData(), AT_SYMLINK_FOLLOW) == 0)
            return kept;
        if (errno == EEXIST)
            continue;
        QByteArray bytes;
        if (platform::detail::ReadWholeFile(path, &bytes) == FileRead::Read &&
            platform::detail::ReplaceFile(kept, bytes))
            return kept;
        return std::nullopt;
    }
    return std::nullopt;
}

bool FolderWritable(const QString &folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

ScoreFileLocation LocateScoreFile(const QString &programFolder, const FolderTest &writable) {
    using platform::Files::FileExists;
    using platform::Files::Resolve;
    ScoreFileLocation where;
    const QString name = QString::fromLatin1(FileName);
    const QString folder = programFolder.endsWith('/') ? programFolder : programFolder + '/';

    const QString beside = Resolve(folder + name);
    where.searched << beside;
    const bool besideExists = FileExists(beside);
    if (besideExists && writable(folder)) {
        where.path = beside;
        return where;
    }

    const QString dataFolder = platform::DataFolder();
    const QString own = Resolve(dataFolder + '/' + name);
    where.searched << own;
    const QString shared =
        Resolve(QDir::cleanPath(folder + QStringLiteral("../share/games/gorbulax")) + '/' + name);
    where.searched << shared;
    const QString shipped = besideExists ? beside : FileExists(shared) ? shared : QString();
    if (FileExists(own) || shipped.isEmpty()) {
        where.path = FileExists(own) ? own : QString();
        return where;
    }

    // The first run of an installed program: the user's own copy of the shipped table. Under
    // the table's lock, so that a game started at the same moment cannot copy it over an
    // entry this one has already made.
    QDir().mkpath(dataFolder);
    const ScoreFileLock lock(own);
    QByteArray bytes;
    if (FileExists(own) || (platform::detail::ReadWholeFile(shipped, &bytes) == FileRead::Read &&
                            platform::detail::ReplaceFile(own, bytes))) {
        where.path = Resolve(own);
        return where;
    }
    where.path = shipped;
    where.problem = QStringLiteral("The high score table could not be copied to\n%1\nso the "
                                   "scores of this run cannot be kept.")
                        .arg(own);
    return where;
}

} // namespace scores
