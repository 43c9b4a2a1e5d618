#include "components/OnlineIP.h"
#include "support/Printing.h"
#include "toolkit/ErrorReport.h"

#include <QNetworkInterface>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <stdexcept>

namespace {

using platform::InterfaceAddress;
using Interfaces = std::vector<InterfaceAddress>;

const InterfaceAddress Lo{"lo", "127.0.0.1", true, true};
const InterfaceAddress Eth{"eth0", "192.0.2.2", true, false};
const InterfaceAddress Wlan{"wlan0", "10.1.2.3", true, false};
const InterfaceAddress EthDown{"eth0", "192.0.2.2", false, false};

// A detector as the main window stores it: switched off before any tick, polling the given
// interfaces only when a test asks it to.
struct Detector {
    Detector() {
        ip.SetEnabled(false);
        ip.setInterfaceSource([this] {
            ++queries;
            return interfaces;
        });
        ip.OnChanged = [this](QObject *sender) {
            EXPECT_EQ(sender, &ip);
            ++changes;
        };
    }
    QTimer *timer() { return ip.findChild<QTimer *>(); }

    TOnlineIP ip;
    Interfaces interfaces;
    int queries = 0;
    int changes = 0;
};

// The main window's stored values for the results are ignored; only a poll sets them, and a
// detector stored disabled never polls.
TEST(OnlineIP, NeverEnabledIsOfflineWithoutAnAddress) {
    Detector d;
    d.interfaces = {Lo, Eth};
    EXPECT_TRUE(d.ip.setProperty("Online", true));
    EXPECT_TRUE(d.ip.setProperty("IP", QStringLiteral("127.0.0.1")));
    QTest::qWait(2 * 55);
    EXPECT_FALSE(d.ip.Online());
    EXPECT_EQ(d.ip.IP(), "");
    EXPECT_EQ(d.queries, 0);
}

TEST(OnlineIP, ArmsOneTimerOnlyWhileEnabledWithAnInterval) {
    TOnlineIP fresh;
    ASSERT_EQ(fresh.findChildren<QTimer *>().size(), 1);
    EXPECT_TRUE(fresh.findChild<QTimer *>()->isActive()); // enabled, 1000 ms, from creation

    Detector d;
    QTimer *timer = d.timer();
    EXPECT_FALSE(timer->isActive());
    d.ip.SetEnabled(true);
    ASSERT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);
    const int armed = timer->timerId();
    d.ip.SetEnabled(true); // the same value: the running interval is not started afresh
    d.ip.SetDispatchInterval(1000);
    EXPECT_EQ(timer->timerId(), armed);

    const struct {
        bool enabled;
        quint32 interval;
        int ticksEvery; // 0: stopped
    } cases[] = {
        {true, 0, 0},
        {false, 500, 0},
        {true, 500, 500},
        {true, 1, 55},
        {true, 4'000'000'000u, INT_MAX},
        {false, 0, 0},
    };
    for (const auto &c : cases) {
        d.ip.SetEnabled(c.enabled);
        d.ip.SetDispatchInterval(c.interval);
        EXPECT_EQ(timer->isActive() ? timer->interval() : 0, c.ticksEvery)
            << c.enabled << " " << c.interval;
    }
    EXPECT_EQ(d.ip.findChildren<QTimer *>().size(), 1);
}

TEST(OnlineIP, TellsOnlineFromTheInterfacesThatAreUp) {
    const struct {
        const char *what;
        Interfaces interfaces;
        QString ip;
        bool online;
    } cases[] = {
        {"no interface at all", {}, "", false},
        {"the loopback only", {Lo}, "127.0.0.1", false},
        {"the loopback switched off", {{"lo", "127.0.0.1", false, true}}, "", false},
        {"the loopback, then another", {Lo, Eth}, "192.0.2.2", true},
        {"another, then the loopback", {Eth, Lo}, "192.0.2.2", true},
        {"two others: the last listed", {Lo, Wlan, Eth}, "192.0.2.2", true},
        {"an interface that is down", {Lo, Wlan, EthDown}, "10.1.2.3", true},
        {"only interfaces that are down", {Lo, EthDown}, "127.0.0.1", false},
        {"the host name's alias, all of 127/8 stays home",
         {Lo, {"dummy0", "127.0.1.1", true, false}},
         "127.0.1.1",
         false},
        {"an address on the loopback interface is the loopback's",
         {{"lo", "10.9.9.9", true, true}},
         "",
         false},
    };
    for (const auto &c : cases) {
        Detector d;
        d.interfaces = c.interfaces;
        d.ip.PollAddress();
        EXPECT_EQ(d.ip.IP(), c.ip) << c.what;
        EXPECT_EQ(d.ip.Online(), c.online) << c.what;
        EXPECT_EQ(d.changes, c.online ? 1 : 0) << c.what;
    }
}

TEST(OnlineIP, CallsOnChangedOnlyWhenAPollChangesOnline) {
    Detector d;
    const struct {
        Interfaces interfaces;
        int changes;
    } polls[] = {
        {{Lo}, 0}, {{Lo, Eth}, 1}, {{Lo, Wlan}, 1}, {{Eth}, 1}, {{}, 2}, {{Lo}, 2}, {{Wlan}, 3},
    };
    for (const auto &poll : polls) {
        d.interfaces = poll.interfaces;
        d.ip.PollAddress();
        EXPECT_EQ(d.changes, poll.changes) << d.ip.IP().toStdString();
    }
}

TEST(OnlineIP, PollsOnItsTimerAndReportsErrorsWithoutStopping) {
    QStringList reports;
    toolkit::setErrorReporter([&](const QString &text) { reports << text; });
    Detector d;
    d.interfaces = {Lo, Eth};
    d.ip.OnChanged = [](QObject *) { throw std::runtime_error("the host failed"); };
    d.ip.SetDispatchInterval(55);
    d.ip.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.queries >= 3; }, 5000));
    EXPECT_TRUE(d.ip.Online());
    EXPECT_EQ(reports, QStringList({"the host failed"})); // only the first poll changed it
    EXPECT_TRUE(d.timer()->isActive());

    d.ip.SetEnabled(false);
    const int queries = d.queries;
    QTest::qWait(3 * 55);
    EXPECT_EQ(d.queries, queries);
    toolkit::setErrorReporter({});
}

// The IPv4 addresses of interfaces that are up and not loopbacks, as Qt's own code finds them.
std::set<QString> addressesByQt() {
    std::set<QString> addresses;
    const auto wanted = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces())
        if ((interface.flags() & wanted) == wanted &&
            !(interface.flags() & QNetworkInterface::IsLoopBack))
            for (const QNetworkAddressEntry &entry : interface.addressEntries())
                if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol &&
                    !entry.ip().isLoopback())
                    addresses.insert(entry.ip().toString());
    return addresses;
}

TEST(OnlineIPOnThisMachine, IsOnlineWithItsRealAddress) {
    const std::set<QString> addresses = addressesByQt();
    if (addresses.empty())
        GTEST_SKIP() << "this machine has no network address other than the loopback";
    TOnlineIP ip;
    ip.SetDispatchInterval(55);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ip.Online(); }, 5000));
    EXPECT_TRUE(addresses.count(ip.IP())) << ip.IP().toStdString();
}

// The probe (OnlineProbe.cpp) run in a network of its own, which has a loopback that is down.
TEST(OnlineIPOnThisMachine, IsOfflineInANetworkOfItsOwn) {
    QString output;
    QString refusal;
    for (const QStringList &how : {QStringList{"-n"}, QStringList{"-r", "-n"}}) {
        QProcess probe;
        probe.start("unshare", how + QStringList{ONLINE_PROBE});
        if (!probe.waitForFinished(20'000)) {
            refusal = "unshare did not finish: " + probe.errorString();
            continue;
        }
        output = QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed();
        if (probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            break;
        refusal = QString::fromLocal8Bit(probe.readAllStandardError()).trimmed();
        output.clear();
    }
    if (output.isEmpty())
        GTEST_SKIP() << "this machine does not allow a network namespace of the test's own ("
                     << refusal.toStdString() << ")";
    EXPECT_EQ(output, "online=0 ip=");
}

} // namespace
