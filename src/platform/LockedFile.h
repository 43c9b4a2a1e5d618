#pragma once

// The file handling that the registry, the profile files and the score table share: an
// advisory lock held for one read or one read-modify-write, and a replacement of the whole file
// that a crash cannot leave half done and that leaves no stray file behind.

#include <QByteArray>
#include <QString>

#include <functional>
#include <limits>
#include <optional>

namespace platform::detail {

using RenameFunction = std::function<bool(const QString &from, const QString &to)>;

bool SystemRename(const QString &from, const QString &to);

// The points at which tests stop or fail a replacement. `written` runs once the new bytes are
// flushed to the disk, before they have a name; `unnamedTemporary` false makes the replacement
// take the named temporary file that a file system without unnamed ones needs.
struct ReplaceSeams {
    RenameFunction rename = SystemRename;
    std::function<void()> written;
    bool unnamedTemporary = true;
};

// Locks "<file>.lock" beside the file rather than the file itself: the file is replaced by a
// rename, and a lock on the replaced file would guard nothing. flock() locks belong to the
// open file, so two stores in one process exclude each other as two processes do.
class FileLock {
public:
    enum Mode { Shared, Exclusive };

    FileLock(const QString &filePath, Mode mode);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

enum class ReadStatus { Read, Missing, Failed };

// Reads the file, or its first `limit` bytes when it is longer.
ReadStatus ReadWholeFile(const QString &path, QByteArray *bytes,
                         qsizetype limit = std::numeric_limits<qsizetype>::max());

// A file its owner has made read-only (no write permission bit left, or none for this user)
// is not replaced, though the folder would allow it: the owner's wish holds even for root, as
// the read-only attribute of the original platform does. A missing file may be written.
bool MayReplace(const QString &path);

// Writes `bytes` to a new file in the same folder, flushes it to the disk and renames it over
// `path` (over the file a symbolic link points to, so the link stays). The new file has no name
// until it is complete (an unnamed temporary file, given a name only to be renamed at once);
// where the file system has no unnamed files, a named one. Temporary files that dead writers
// left beside `path` are removed. On failure the old file is untouched, the new one
// removed and errno says why (EACCES for a file that may not be replaced, see MayReplace).
bool ReplaceFile(const QString &path, const QByteArray &bytes, const ReplaceSeams &seams = {});

// Reads the whole file under the shared lock, so no writer is halfway through it.
ReadStatus ReadLocked(const QString &path, QByteArray *bytes);

enum class ModifyStatus {
    Kept,     // the change left the file as it was; nothing was written
    Replaced, // the file holds what the change made of it
    Refused,  // the change declined, for a reason of the caller's; nothing was written
    ReadOnly, // the change was asked and made new contents, but the file may not be
              // replaced (see MayReplace); nothing was written
    Failed,   // the lock, the read or the replacement failed; the old file stays as it was
};

// A change sees the file's contents (none when there is no file yet) and answers Kept, Refused,
// or Replaced with the new contents in `updated`.
using FileChange =
    std::function<ModifyStatus(const std::optional<QByteArray> &contents, QByteArray &updated)>;

// The read-modify-write of a store: under the exclusive lock, reads the whole file, lets
// `change` decide, and replaces the file as ReplaceFile does. A file there that cannot be read
// is never written over. The file's folder must exist.
ModifyStatus ModifyLocked(const QString &path, const FileChange &change,
                          const ReplaceSeams &seams = {});

} // namespace platform::detail
