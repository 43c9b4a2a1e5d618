#pragma once

// Keeps the desktop's screen saver from starting while a display wants the screen, through
// the freedesktop screen-saver interface (org.freedesktop.ScreenSaver: Inhibit, UnInhibit) on
// the session bus. Without a session bus, or without a screen saver on it, holding it off does
// nothing and nothing fails. The calls never wait for their answers: the desktop's reply comes
// through the event loop.

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace gk {

class ScreenSaverInhibitor : public QObject {
    Q_OBJECT

public:
    // Talks to the screen saver on `bus`.
    explicit ScreenSaverInhibitor(const QDBusConnection &bus, QObject *parent = nullptr);
    // Lets the screen saver go.
    ~ScreenSaverInhibitor() override;

    // Asks the screen saver to stay off, naming the program and why; once is enough while held.
    void hold(const QString &application, const QString &reason);
    // Lets it start again, also when the answer to hold has not come yet.
    void release();
    bool held() const { return wanted_; }
    // The desktop's cookie for the hold, once it has answered.
    std::optional<uint32_t> cookie() const { return cookie_; }

private:
    void answered(std::optional<uint32_t> cookie);
    void uninhibit(uint32_t cookie);

    QDBusConnection bus_;
    bool wanted_ = false;
    bool asking_ = false;
    std::optional<uint32_t> cookie_;
};

} // namespace gk
