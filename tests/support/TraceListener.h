#pragma once

// A trace viewer of the test's own: it listens where gk::Trace sends, in a runtime folder of
// the test's own, and hands back the messages that have arrived, as the bytes before each
// one's zero byte. It reads with plain sockets, sharing nothing with the sender.

#include "gk/Trace.h"
#include "support/Env.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class TraceListener {
public:
    // With `listening` false the folder is there but nobody listens in it.
    explicit TraceListener(bool listening = true, int backlog = 16)
        : runtime_("XDG_RUNTIME_DIR", folder_.path().toLocal8Bit()) {
        if (!listening)
            return;
        socket_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(gk::TraceSocketPath());
        std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
        if (::bind(socket_, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
            ::listen(socket_, backlog) != 0) {
            ::close(socket_);
            socket_ = -1;
        }
    }
    ~TraceListener() {
        if (socket_ >= 0)
            ::close(socket_);
    }
    TraceListener(const TraceListener &) = delete;
    TraceListener &operator=(const TraceListener &) = delete;

    bool listening() const { return socket_ >= 0; }

    // Every message sent since the last call, in the order they were sent.
    QList<QByteArray> messages() {
        QList<QByteArray> arrived;
        if (socket_ < 0)
            return arrived;
        ::fcntl(socket_, F_SETFL, O_NONBLOCK);
        for (int connection; (connection = ::accept(socket_, nullptr, nullptr)) >= 0;) {
            QByteArray bytes;
            char buffer[512];
            for (ssize_t n; (n = ::read(connection, buffer, sizeof buffer)) > 0;)
                bytes.append(buffer, n);
            ::close(connection);
            arrived << bytes;
        }
        return arrived;
    }

    // The texts of the messages, each up to its zero byte.
    QStringList texts() {
        QStringList texts;
        for (const QByteArray &message : messages())
            texts << QString::fromUtf8(message.left(message.indexOf('\0')));
        return texts;
    }

private:
    QTemporaryDir folder_;
    ScopedEnv runtime_;
    int socket_ = -1;
};
