#include "components/OnlineIP.h"

#include "toolkit/ErrorReport.h"
#include "toolkit/Timer.h"

#include <algorithm>
#include <limits>

// The program's timer drops a tick that comes while the last poll still runs (its error report
// on screen), so reports never pile up one a second; and, like every timer of the program, it
// ticks no faster than the platform's timer resolution.
TOnlineIP::TOnlineIP(QObject *parent) : QObject(parent), timer_(new toolkit::Timer(this)) {
    timer_->onTimer = [this] { PollAddress(); };
    UpdateTimer();
}

// Stopped outright: a host that goes away hears nothing more from its detector.
TOnlineIP::~TOnlineIP() {
    enabled_ = false;
    UpdateTimer();
}

void TOnlineIP::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateTimer();
}

void TOnlineIP::SetDispatchInterval(quint32 milliseconds) {
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    UpdateTimer();
}

// An interval of 0 stops the program's timer; one beyond its range ticks at its longest.
void TOnlineIP::UpdateTimer() {
    timer_->setEnabled(false);
    timer_->setInterval(int(std::min<quint32>(interval_, std::numeric_limits<int>::max())));
    timer_->setEnabled(enabled_);
}

void TOnlineIP::PollAddress() {
    toolkit::guarded([this] {
        ip_ = GetLocalIP();
        const bool wasOnline = online_;
        online_ = !ip_.isEmpty() && !platform::IsLoopbackAddress(ip_);
        if (online_ != wasOnline && OnChanged)
            OnChanged(this);
    });
}

QString TOnlineIP::GetLocalIP() const {
    return platform::LocalAddress(interfaces_ ? interfaces_() : platform::InterfaceAddresses());
}
