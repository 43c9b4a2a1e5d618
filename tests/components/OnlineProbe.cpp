// Lets the online detector poll once on its own timer, the machine's interfaces as they are,
// and prints what it found: "online=1 ip=192.0.2.2".
#include "components/OnlineIP.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    TOnlineIP detector;
    detector.setInterfaceSource([&app] {
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
        return platform::InterfaceAddresses();
    });
    detector.SetDispatchInterval(55);
    app.exec();
    std::printf("online=%d ip=%s\n", int(detector.Online()),
                detector.IP().toLocal8Bit().constData());
    return 0;
}
