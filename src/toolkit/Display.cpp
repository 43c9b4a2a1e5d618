#include "toolkit/Display.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace toolkit {

namespace {

QString waylandSocketPath(const QByteArray &name) {
    if (name.startsWith('/'))
        return QString::fromLocal8Bit(name);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return {};
    return QDir(QString::fromLocal8Bit(runtime)).filePath(QString::fromLocal8Bit(name));
}

// Empty when the compositor answers; otherwise why not.
QString tryWayland() {
    if (!qgetenv("WAYLAND_SOCKET").isEmpty())
        return {};
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty())
        return QStringLiteral("Wayland (WAYLAND_DISPLAY is not set)");
    const QString path = waylandSocketPath(name);
    const QString what =
        QStringLiteral("Wayland (WAYLAND_DISPLAY=%1)").arg(QString::fromLocal8Bit(name));
    if (path.isEmpty())
        return what + QStringLiteral(": XDG_RUNTIME_DIR is not set");
    sockaddr_un address{};
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.size() >= qsizetype(sizeof address.sun_path))
        return what + QStringLiteral(": the socket's name is too long");
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    const int connected =
        ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    const int error = errno;
    ::close(fd);
    if (connected == 0)
        return {};
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

QString tryX11() {
    const QByteArray name = qgetenv("DISPLAY");
    if (name.isEmpty())
        return QStringLiteral("X11 (DISPLAY is not set)");
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error == 0)
        return {};
    return QStringLiteral("X11 (DISPLAY=%1): no X server answered")
        .arg(QString::fromLocal8Bit(name));
}

// The status a lost display ends the program with; 0 while none is asked for. Read by an exit
// handler, which no object reaches.
std::atomic<int> lossStatus{0};

void endForLostDisplay() {
    const int status = lossStatus.load();
    if (status == 0)
        return;
    std::fflush(stderr);
    ::_exit(status);
}

// The toolkit's one exit while the program runs is the one its X11 platform takes when the
// display connection broke (it has said so on standard error by then).
extern "C" void exitForLostDisplay() {
    endForLostDisplay();
}

// The Wayland platform leaves at once, past every exit handler, when its connection breaks;
// the warning it gives just before is the only word of it.
QtMessageHandler toolkitMessages = nullptr;

void watchForLostWayland(QtMsgType type, const QMessageLogContext &context,
                         const QString &message) {
    if (toolkitMessages)
        toolkitMessages(type, context, message);
    if (type == QtWarningMsg && message.startsWith(QLatin1String("The Wayland connection")))
        endForLostDisplay();
}

// The kinds of display the toolkit will try, and whether the player named them.
struct Wanted {
    bool wayland = false;
    bool x11 = false;
    bool named = false;
};

Wanted wantedDisplays(int argc, const char *const *argv) {
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            platforms = argv[i + 1];
    }
    if (platforms.isEmpty())
        return {true, true, false};
    Wanted wanted{false, false, true};
    for (const QByteArray &platform : platforms.split(';')) {
        const QByteArray name = platform.split(':').constFirst();
        if (name.startsWith("wayland"))
            wanted.wayland = true;
        else if (name == "xcb")
            wanted.x11 = true;
        else if (!name.isEmpty())
            return {}; // a platform of another kind, which needs no display or finds its own
    }
    return wanted;
}

} // namespace

DisplayProbe probeDisplays(int argc, const char *const *argv) {
    const Wanted wanted = wantedDisplays(argc, argv);
    DisplayProbe probe;
    QStringList failures;
    if (wanted.wayland) {
        const QString failure = tryWayland();
        probe.wayland = failure.isEmpty();
        if (!probe.wayland)
            failures << failure;
    }
    if (wanted.x11) {
        const QString failure = tryX11();
        probe.x11 = failure.isEmpty();
        if (!probe.x11)
            failures << failure;
    }
    probe.tried = failures.join(QStringLiteral(", "));
    return probe;
}

bool needsDisplay(int argc, const char *const *argv) {
    const Wanted wanted = wantedDisplays(argc, argv);
    return wanted.wayland || wanted.x11;
}

QByteArray answeringPlatform(int argc, const char *const *argv, const DisplayProbe &probe) {
    if (wantedDisplays(argc, argv).named || probe.wayland == probe.x11)
        return {};
    return probe.wayland ? "wayland" : "xcb";
}

DisplayLossStatus::DisplayLossStatus(int status) {
    static const bool registered = std::atexit(exitForLostDisplay) == 0;
    if (!registered)
        return;
    lossStatus = status;
    toolkitMessages = qInstallMessageHandler(watchForLostWayland);
}

DisplayLossStatus::~DisplayLossStatus() {
    if (lossStatus.exchange(0) != 0)
        qInstallMessageHandler(toolkitMessages);
}

} // namespace toolkit
