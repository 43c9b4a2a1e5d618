#include "platform/LockedFile.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
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

ReadStatus ReadWholeFile(const QString &path, QByteArray *bytes) {
    bytes->clear();
    const int fd = openRetrying(QFile::encodeName(path), O_RDONLY);
    if (fd < 0)
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
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

bool ReplaceFile(const QString &path, const QByteArray &bytes, const RenameFunction &rename) {
    static std::atomic<unsigned> serial{0};
    const QString target = resolvedTarget(path);

    QString temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        // A name of our own rather than mkstemp(): mkstemp's 0600 would ignore the umask.
        temporary = QStringLiteral("%1.tmp-%2-%3").arg(target).arg(::getpid()).arg(serial++);
        fd = openRetrying(QFile::encodeName(temporary), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    const QByteArray encodedTemporary = QFile::encodeName(temporary);

    struct stat old {};
    bool ok = true;
    // A mended file's permissions are the person's choice; keep them.
    if (::stat(QFile::encodeName(target).constData(), &old) == 0)
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && writeAll(fd, bytes.constData(), bytes.size()) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && rename(temporary, target);
    if (!ok) {
        ::unlink(encodedTemporary.constData());
        return false;
    }
    syncFolder(QFileInfo(target).absolutePath());
    return true;
}

ReadStatus ReadLocked(const QString &path, QByteArray *bytes) {
    // Without the folder there is no lock file either, and nothing to read.
    FileLock lock(path, FileLock::Shared);
    return ReadWholeFile(path, bytes);
}

ModifyStatus ModifyLocked(const QString &path, const FileChange &change,
                          const RenameFunction &rename) {
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
    return ReplaceFile(path, updated, rename) ? ModifyStatus::Replaced : ModifyStatus::Failed;
}

} // namespace platform::detail
