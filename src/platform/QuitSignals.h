#pragma once

// The signals that ask a program to end: SIGTERM (a logout, a service manager), SIGHUP (its
// terminal went away) and SIGINT (Ctrl+C). Their default ends the program on the spot, in the
// middle of whatever it was writing; here they become a call on the event loop instead, which
// the program answers by closing as its window's close would.

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace platform {

class QuitSignals : public QObject {
public:
    // Catches the three signals from now on; `onQuit` runs on the event loop, once for each
    // signal that arrived, with its number. One object at a time.
    explicit QuitSignals(std::function<void(int)> onQuit, QObject *parent = nullptr);
    // The signals' default comes back.
    ~QuitSignals() override;

    QuitSignals(const QuitSignals &) = delete;
    QuitSignals &operator=(const QuitSignals &) = delete;

private:
    void drain();

    std::function<void(int)> onQuit_;
    int pipe_[2] = {-1, -1};
    QSocketNotifier *notifier_ = nullptr;
};

} // namespace platform
