#include "gk/ScreenSaver.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace gk {

namespace {

const char *const Service = "org.freedesktop.ScreenSaver";
const char *const Path = "/org/freedesktop/ScreenSaver";
const char *const Interface = "org.freedesktop.ScreenSaver";

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), bus_(bus) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    release();
}

void ScreenSaverInhibitor::hold(const QString &application, const QString &reason) {
    if (wanted_)
        return;
    wanted_ = true;
    if (cookie_ || asking_ || !bus_.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "Inhibit");
    call << application << reason;
    asking_ = true;
    auto *watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusPendingReply<uint32_t> reply = *finished;
                answered(reply.isValid() ? std::optional<uint32_t>(reply.value()) : std::nullopt);
            });
}

void ScreenSaverInhibitor::answered(std::optional<uint32_t> cookie) {
    asking_ = false;
    if (!cookie)
        return; // no screen saver on this bus: there is nothing to hold off
    if (wanted_)
        cookie_ = cookie;
    else
        uninhibit(*cookie); // released while the desktop was answering
}

void ScreenSaverInhibitor::release() {
    wanted_ = false;
    if (cookie_) {
        uninhibit(*cookie_);
        cookie_.reset();
    }
}

void ScreenSaverInhibitor::uninhibit(uint32_t cookie) {
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "UnInhibit");
    call << cookie;
    bus_.send(call);
}

} // namespace gk
