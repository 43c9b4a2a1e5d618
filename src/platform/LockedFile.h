#pragma once

// The file handling that the registry and the profile files share: an advisory lock held for
// one read or one read-modify-write, and a replacement of the whole file that a crash cannot
// leave half done.

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace platform::detail {

using RenameFunction = std::function<bool(const QString &from, const QString &to)>;

bool SystemRename(const QString &from, const QString &to);

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

ReadStatus ReadWholeFile(const QString &path, QByteArray *bytes);

// Writes `bytes` to a new file in the same folder, flushes it to the disk and renames it over
// `path` (over the file a symbolic link points to, so the link stays). On failure the old file
// is untouched and the new one removed.
bool ReplaceFile(const QString &path, const QByteArray &bytes,
                 const RenameFunction &rename = SystemRename);

// Reads the whole file under the shared lock, so no writer is halfway through it.
ReadStatus ReadLocked(const QString &path, QByteArray *bytes);

enum class ModifyStatus {
    Kept,     // the change left the file as it was; nothing was written
    Replaced, // the file holds what the change made of it
    Refused,  // the change declined, for a reason of the caller's; nothing was written
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
                          const RenameFunction &rename = SystemRename);

} // namespace platform::detail
