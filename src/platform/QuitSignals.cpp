#include "platform/QuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::array Caught = {SIGTERM, SIGHUP, SIGINT};

// The write end of the pipe, for the handler: a signal handler reaches no object, and writing
// a byte is all it may safely do.
volatile sig_atomic_t signalPipe = -1;

extern "C" void noteSignal(int signal) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    // A full pipe already holds a request to end; one more adds nothing.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe, &byte, 1);
    errno = savedErrno;
}

} // namespace

QuitSignals::QuitSignals(std::function<void(int)> onQuit, QObject *parent)
    : QObject(parent), onQuit_(std::move(onQuit)) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals keep their default: they still end the program
    signalPipe = pipe_[1];
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { drain(); });

    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : Caught)
        ::sigaction(signal, &action, nullptr);
}

QuitSignals::~QuitSignals() {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    for (const int signal : Caught)
        ::sigaction(signal, &standard, nullptr);
    signalPipe = -1;
    for (const int end : pipe_) {
        if (end >= 0)
            ::close(end);
    }
}

void QuitSignals::drain() {
    unsigned char byte = 0;
    while (::read(pipe_[0], &byte, 1) == 1) {
        if (onQuit_)
            onQuit_(byte);
    }
}

} // namespace platform
