#pragma once

// A device that reads like a pipe: no size and no position to ask, so readers must take the
// bytes as they come.

#include <QByteArray>
#include <QIODevice>

#include <algorithm>

class Pipe : public QIODevice {
public:
    explicit Pipe(const QByteArray &bytes) : bytes(bytes) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return bytes.size() - offset + QIODevice::bytesAvailable();
    }
    // How far the reader went, which a sequential device does not report as its position.
    qint64 consumed() const { return offset - QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *to, qint64 max) override {
        const qint64 n = std::min<qint64>(max, bytes.size() - offset);
        std::copy_n(bytes.constData() + offset, n, to);
        offset += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray bytes;
    qint64 offset = 0;
};
