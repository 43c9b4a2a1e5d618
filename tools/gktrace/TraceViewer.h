#pragma once

// The trace viewer's two halves: the receiver, which listens where gk::Trace sends and hands on
// every text that arrives, and the window captioned "GK Trace", which lists them with the time
// they came.

#include <QLocalServer>
#include <QObject>
#include <QPlainTextEdit>
#include <QString>
#include <QWidget>

class QLocalSocket;

class TraceReceiver : public QObject {
    Q_OBJECT

public:
    explicit TraceReceiver(QObject *parent = nullptr);
    ~TraceReceiver() override;

    // Listens at `path`, taking the place of a socket left there by a viewer that has gone;
    // false with the reason in error() when another viewer listens there or the socket cannot
    // be made.
    bool listen(const QString &path);
    QString error() const { return error_; }

signals:
    void received(const QString &text);

private:
    void accept();
    void read(QLocalSocket *connection);

    QLocalServer server_;
    QString error_;
};

// "12:34:56.789  text": a text with the time it arrived.
QString TraceLine(const QString &text);

class TraceWindow : public QWidget {
    Q_OBJECT

public:
    explicit TraceWindow(QWidget *parent = nullptr);
    void append(const QString &line);
    const QPlainTextEdit &list() const { return *list_; }

private:
    QPlainTextEdit *list_;
};
