#include "TraceViewer.h"

#include "gk/Trace.h"

#include <QHBoxLayout>
#include <QLocalSocket>
#include <QPushButton>
#include <QTime>
#include <QVBoxLayout>

namespace {

// Enough for an afternoon of tracing; the oldest lines go first.
constexpr int KeptLines = 10000;
// A text is at most 255 characters of UTF-8 and its zero byte.
constexpr qint64 LongestMessage = 4 * gk::TraceLengthLimit + 1;

} // namespace

TraceReceiver::TraceReceiver(QObject *parent) : QObject(parent) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &TraceReceiver::accept);
}

TraceReceiver::~TraceReceiver() {
    server_.close();
}

bool TraceReceiver::listen(const QString &path) {
    // Asked first: the server puts its socket in place by renaming it over whatever is there.
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(1000)) {
        error_ = "another trace viewer listens at " + path;
        return false;
    }
    // A socket left by a viewer that ended without taking it away.
    QLocalServer::removeServer(path);
    if (server_.listen(path))
        return true;
    error_ = "cannot listen at " + path + ": " + server_.errorString();
    return false;
}

void TraceReceiver::accept() {
    while (QLocalSocket *connection = server_.nextPendingConnection()) {
        connect(connection, &QLocalSocket::readyRead, this,
                [this, connection] { read(connection); });
        connect(connection, &QLocalSocket::disconnected, this, [this, connection] {
            read(connection);
            connection->deleteLater();
        });
        read(connection);
    }
}

void TraceReceiver::read(QLocalSocket *connection) {
    // One text a connection, ended by its zero byte; a sender that gave up half-way left
    // nothing worth showing.
    while (connection->bytesAvailable() > 0) {
        QByteArray pending = connection->property("pending").toByteArray() + connection->readAll();
        const qsizetype end = pending.indexOf('\0');
        if (end >= 0) {
            emit received(QString::fromUtf8(pending.left(end)));
            pending.clear();
            connection->disconnectFromServer();
        } else if (pending.size() > LongestMessage) {
            pending.clear();
            connection->abort();
        }
        connection->setProperty("pending", pending);
    }
}

QString TraceLine(const QString &text) {
    return QTime::currentTime().toString("hh:mm:ss.zzz") + "  " + text;
}

TraceWindow::TraceWindow(QWidget *parent) : QWidget(parent), list_(new QPlainTextEdit(this)) {
    setWindowTitle(gk::TraceWindowCaption);
    list_->setObjectName("TraceList");
    list_->setReadOnly(true);
    list_->setMaximumBlockCount(KeptLines);
    list_->setLineWrapMode(QPlainTextEdit::NoWrap);
    list_->setFont(QFont("Monospace"));
    auto *clear = new QPushButton("&Clear", this);
    connect(clear, &QPushButton::clicked, list_, &QPlainTextEdit::clear);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(clear);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(640, 320);
}

void TraceWindow::append(const QString &line) {
    list_->appendPlainText(line);
}
