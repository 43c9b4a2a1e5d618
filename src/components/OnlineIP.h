#pragma once

// Watches, on a timer, whether the machine has a network address other than the loopback, and
// keeps the answer in Online (and the address in IP) for its hosts to read at no cost. A poll
// asks the kernel for the machine's interfaces: it waits for no name service and sends nothing.

#include "platform/HostAddress.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace toolkit {
class Timer;
}

class TOnlineIP : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(quint32 DispatchInterval READ DispatchInterval WRITE SetDispatchInterval)
    Q_PROPERTY(bool Online READ Online WRITE SetOnline)
    Q_PROPERTY(QString IP READ IP WRITE SetIP)

public:
    // Enabled, polling every 1000 ms; offline with no address until the first poll.
    explicit TOnlineIP(QObject *parent = nullptr);
    ~TOnlineIP() override;

    // Polling runs only while enabled and with an interval other than 0. A change re-arms the
    // timer; setting the value it has does nothing.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    quint32 DispatchInterval() const { return interval_; }
    void SetDispatchInterval(quint32 milliseconds);

    // The results of the last poll. A window description may hold values for them; they are
    // ignored, because only a poll knows.
    bool Online() const { return online_; }
    void SetOnline(bool) {}
    QString IP() const { return ip_; }
    void SetIP(const QString &) {}

    // Called with the detector as sender by a poll that changes Online, and by no other.
    std::function<void(QObject *sender)> OnChanged;

    // Stops the polling timer and starts it afresh when polling is on.
    void UpdateTimer();
    // One poll: IP and Online from the machine's interfaces, then OnChanged on a change. An
    // error on the way (one raised by OnChanged) goes to the error report, and polling goes on.
    void PollAddress();
    // The address a poll finds (see platform::LocalAddress).
    QString GetLocalIP() const;

    // Where the interfaces come from: the machine's, unless a test puts a list of its own here.
    using InterfaceSource = std::function<std::vector<platform::InterfaceAddress>()>;
    void setInterfaceSource(InterfaceSource source) { interfaces_ = std::move(source); }

private:
    toolkit::Timer *timer_;
    bool enabled_ = true;
    quint32 interval_ = 1000;
    bool online_ = false;
    QString ip_;
    InterfaceSource interfaces_;
};
