#include "platform/LockedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::detail {

namespace {

int openRetrying(const QByteArray &path, int flags, mode_t mode = 0) {
    int fd;
    do
        fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool writeAll(int fd, const char *data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

QString resolvedTarget(const QString &path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// Makes the rename itself durable; a folder that cannot be opened or flushed costs only that.
void syncFolder(const QString &folder) {
    const int fd = openRetrying(QFile::encodeName(folder), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool SystemRename(const QString &from, const QString &to) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

FileLock::FileLock(const QString &filePath, Mode mode) {
    fd_ =
        openRetrying(QFile::encodeName(filePath + QStringLiteral(".lock")), O_RDWR | O_CREAT, 0666);
    if (fd_ < 0)
        return;
    int result;
    do
        result = ::flock(fd_, mode == Exclusive ? LOCK_EX : LOCK_SH);
    while (result < 0 && errno == EINTR);
    if (result < 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FileLock::~FileLock() {
    // Closing the last descriptor of the open file releases the lock.
    if (fd_ >= 0)
        ::close(fd_);
}

ReadStatus ReadWholeFile(const QString &path, QByteArray *bytes, qsizetype limit) {
    bytes->clear();
    const int fd = openRetrying(QFile::encodeName(path), O_RDONLY);
    if (fd < 0)
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    char chunk[65536];
    while (bytes->size() < limit) {
        const ssize_t got =
            ::read(fd, chunk, size_t(std::min<qsizetype>(sizeof chunk, limit - bytes->size())));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            bytes->clear();
            return ReadStatus::Failed;
        }
        if (got == 0)
            break;
        bytes->append(chunk, qsizetype(got));
    }
    ::close(fd);
    return ReadStatus::Read;
}

bool MayReplace(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return errno == ENOENT;
    // access() alone would let root through: the mode bits are the owner's word.
    return (info.st_mode & 0222) != 0 && ::access(name.constData(), W_OK) == 0;
}

namespace {

QString temporaryName(const QString &target) {
    static std::atomic<unsigned> serial{0};
    return QStringLiteral("%1.tmp-%2-%3").arg(target).arg(::getpid()).arg(serial++);
}

// The temporary files of `target` ("<name>.tmp-PID-N") whose writer is no longer running: a
// writer that died between its write and its rename. A running writer's file is left alone.
void removeStaleTemporaries(const QString &target) {
    const QFileInfo info(target);
    const QString prefix = info.fileName() + QStringLiteral(".tmp-");
    const QDir folder(info.absolutePath());
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (!name.startsWith(prefix))
            continue;
        const QStringList parts = name.mid(prefix.size()).split(u'-');
        bool isNumber = false;
        const pid_t writer = parts.size() == 2 ? parts[0].toInt(&isNumber) : 0;
        if (!isNumber || writer <= 0 || writer == ::getpid())
            continue;
        if (::kill(writer, 0) != 0 && errno == ESRCH)
            ::unlink(QFile::encodeName(folder.filePath(name)).constData());
    }
}

// Gives the new file's permissions, writes the bytes and flushes them to the disk.
bool writeContents(int fd, const QByteArray &bytes, const struct stat *old,
                   const ReplaceSeams &seams) {
    // A mended file's permissions are the person's choice; keep them.
    bool ok = !old || ::fchmod(fd, old->st_mode & 07777) == 0;
    ok = ok && writeAll(fd, bytes.constData(), bytes.size()) && ::fsync(fd) == 0;
    if (ok && seams.written)
        seams.written();
    return ok;
}

// Names an unnamed file beside `target`, only to rename it at once. Through /proc, or failing
// that the descriptor itself, which needs the right to search any folder.
bool nameUnnamed(int fd, const QString &target, QString *temporary) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporary = temporaryName(target);
        const QByteArray name = QFile::encodeName(*temporary);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) ==
                0 ||
            ::linkat(fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    temporary->clear();
    return false;
}

bool putInPlace(const QString &temporary, const QString &target, const RenameFunction &rename) {
    if (!rename(temporary, target)) {
        const int error = errno;
        ::unlink(QFile::encodeName(temporary).constData());
        errno = error;
        return false;
    }
    syncFolder(QFileInfo(target).absolutePath());
    return true;
}

enum class Unnamed { Replaced, Failed, NotAvailable };

Unnamed replaceThroughUnnamed(const QString &target, const QByteArray &bytes,
                              const struct stat *old, const ReplaceSeams &seams) {
    const int fd = openRetrying(QFile::encodeName(QFileInfo(target).absolutePath()),
                                O_TMPFILE | O_WRONLY, 0666);
    if (fd < 0)
        return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL ? Unnamed::NotAvailable
                                                                         : Unnamed::Failed;
    if (!writeContents(fd, bytes, old, seams)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return Unnamed::Failed;
    }
    QString temporary;
    const bool named = nameUnnamed(fd, target, &temporary);
    ::close(fd);
    if (!named)
        return Unnamed::NotAvailable;
    return putInPlace(temporary, target, seams.rename) ? Unnamed::Replaced : Unnamed::Failed;
}

bool replaceThroughNamed(const QString &target, const QByteArray &bytes, const struct stat *old,
                         const ReplaceSeams &seams) {
    QString temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        // A name of our own rather than mkstemp(): mkstemp's 0600 would ignore the umask.
        temporary = temporaryName(target);
        fd = openRetrying(QFile::encodeName(temporary), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = writeContents(fd, bytes, old, seams);
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        const int error = errno;
        ::unlink(QFile::encodeName(temporary).constData());
        errno = error;
        return false;
    }
    return putInPlace(temporary, target, seams.rename);
}

} // namespace

bool ReplaceFile(const QString &path, const QByteArray &bytes, const ReplaceSeams &seams) {
    const QString target = resolvedTarget(path);
    if (!MayReplace(target)) {
        errno = EACCES;
        return false;
    }
    // Files that writers which died left (the named temporaries, or those of older versions)
    // go first, whichever way this write is made.
    removeStaleTemporaries(target);
    struct stat old {};
    const bool hadOld = ::stat(QFile::encodeName(target).constData(), &old) == 0;
    if (seams.unnamedTemporary) {
        switch (replaceThroughUnnamed(target, bytes, hadOld ? &old : nullptr, seams)) {
        case Unnamed::Replaced:
            return true;
        case Unnamed::Failed:
            return false;
        case Unnamed::NotAvailable:
            break;
        }
    }
    return replaceThroughNamed(target, bytes, hadOld ? &old : nullptr, seams);
}

ReadStatus ReadLocked(const QString &path, QByteArray *bytes) {
    // Without the folder there is no lock file either, and nothing to read.
    FileLock lock(path, FileLock::Shared);
    return ReadWholeFile(path, bytes);
}

ModifyStatus ModifyLocked(const QString &path, const FileChange &change,
                          const ReplaceSeams &seams) {
    FileLock lock(path, FileLock::Exclusive);
    if (!lock.held())
        return ModifyStatus::Failed;
    QByteArray bytes;
    const ReadStatus status = ReadWholeFile(path, &bytes);
    if (status == ReadStatus::Failed)
        return ModifyStatus::Failed;
    std::optional<QByteArray> contents;
    if (status == ReadStatus::Read)
        contents = std::move(bytes);
    QByteArray updated;
    const ModifyStatus decision = change(contents, updated);
    if (decision != ModifyStatus::Replaced)
        return decision;
    if (!MayReplace(path))
        return ModifyStatus::ReadOnly;
    return ReplaceFile(path, updated, seams) ? ModifyStatus::Replaced : ModifyStatus::Failed;
}

} // namespace platform::detail
