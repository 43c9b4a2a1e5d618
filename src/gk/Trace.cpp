#include "gk/Trace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace gk {

QString TraceSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(TraceWindowCaption);
    return QDir(QDir::tempPath())
        .filePath(QString("%1-%2").arg(TraceWindowCaption).arg(::getuid()));
}

void Trace(const QString &text) {
    const QByteArray path = QFile::encodeName(TraceSocketPath());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::size_t(path.size()) >= sizeof address.sun_path)
        return;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));

    // A socket somebody else made where ours belongs gets nothing of ours.
    struct stat found {};
    if (::lstat(path.constData(), &found) != 0 || !S_ISSOCK(found.st_mode) ||
        found.st_uid != ::getuid())
        return;

    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return;
    // A local connection is made at once or refused at once (nobody listening, or a viewer
    // whose queue of connections is full); the text then fits the empty socket's buffer.
    if (::connect(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
        QByteArray message = text.left(TraceLengthLimit).toUtf8();
        message.append('\0');
        [[maybe_unused]] const ssize_t sent = ::send(
            socket, message.constData(), std::size_t(message.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    ::close(socket);
}

} // namespace gk
