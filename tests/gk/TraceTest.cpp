// The trace sender against a viewer of the test's own, and the screen saver's hold against a
// screen saver of the test's own on a session bus of its own.
#include "gk/Trace.h"
#include "gk/ScreenSaver.h"
#include "support/TraceListener.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

TEST(TraceTest, TextsArriveCutTo255CharactersAndNobodyListeningCostsNothing) {
    {
        TraceListener nobody(false);
        gk::Trace("lost");
        EXPECT_TRUE(QDir(qEnvironmentVariable("XDG_RUNTIME_DIR")).isEmpty())
            << "the sender makes nothing where nobody listens";
    }

    TraceListener viewer;
    ASSERT_TRUE(viewer.listening());
    const QString long300 = QString(300, QChar('x')).replace(0, 1, "A");
    gk::Trace(long300);
    gk::Trace(QString::fromUtf8("Grüße"));
    const QList<QByteArray> messages = viewer.messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], long300.left(255).toUtf8() + '\0') << "255 characters and a zero byte";
    EXPECT_EQ(messages[1], QString::fromUtf8("Grüße").toUtf8() + '\0');
}

TEST(TraceTest, AViewerThatTakesNothingNeverHoldsTheCallerUp) {
    // A viewer that accepts no connections: once its queue is full, the texts are dropped.
    TraceListener stuck(true, 1);
    ASSERT_TRUE(stuck.listening());
    for (int i = 0; i < 200; ++i)
        gk::Trace(QString("text %1").arg(i)); // a blocking send would hang the test here
    const QList<QByteArray> taken = stuck.messages();
    EXPECT_GE(taken.size(), 1);
    EXPECT_LT(taken.size(), 200);
}

namespace {

// A screen saver that hands out cookies and remembers which are still held.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QList<uint> held;
    QStringList callers;

public slots:
    uint Inhibit(const QString &application, const QString &reason) {
        callers << application + ": " + reason;
        held << next_;
        return next_++;
    }
    void UnInhibit(uint cookie) { held.removeAll(cookie); }

private:
    uint next_ = 41;
};

// A session bus of the test's own, gone with the object.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        if (daemon_.waitForReadyRead(10000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        daemon_.kill();
        daemon_.waitForFinished();
    }
    QString address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

} // namespace

TEST(ScreenSaverTest, HoldingAsksTheDesktopOnceAndReleasingGivesTheCookieBack) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon (scripts/setup) did not start";
    QDBusConnection desktop = QDBusConnection::connectToBus(bus.address(), "desktop");
    FakeScreenSaver saver;
    ASSERT_TRUE(desktop.registerService("org.freedesktop.ScreenSaver"));
    ASSERT_TRUE(desktop.registerObject("/org/freedesktop/ScreenSaver", &saver,
                                       QDBusConnection::ExportAllSlots));
    {
        gk::ScreenSaverInhibitor inhibitor(QDBusConnection::connectToBus(bus.address(), "program"));
        inhibitor.hold("gkdemo", "Full screen");
        inhibitor.hold("gkdemo", "Full screen");
        ASSERT_TRUE(QTest::qWaitFor([&] { return inhibitor.cookie().has_value(); }, 5000));
        EXPECT_EQ(saver.callers, QStringList{"gkdemo: Full screen"});
        EXPECT_EQ(saver.held, QList<uint>{41});

        inhibitor.release();
        EXPECT_TRUE(QTest::qWaitFor([&] { return saver.held.isEmpty(); }, 5000));

        // Released before the desktop answered: the cookie goes back as soon as it comes.
        inhibitor.hold("gkdemo", "again");
        inhibitor.release();
        EXPECT_TRUE(QTest::qWaitFor([&] { return saver.callers.size() == 2; }, 5000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return saver.held.isEmpty(); }, 5000));
        EXPECT_FALSE(inhibitor.cookie().has_value());

        inhibitor.hold("gkdemo", "kept to the end");
        ASSERT_TRUE(QTest::qWaitFor([&] { return inhibitor.cookie().has_value(); }, 5000));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return saver.held.isEmpty(); }, 5000))
        << "destroying the hold releases it";
    QDBusConnection::disconnectFromBus("program");
    QDBusConnection::disconnectFromBus("desktop");

    // Without a bus, or without a screen saver on it, nothing happens and nothing fails.
    gk::ScreenSaverInhibitor nowhere(QDBusConnection("not connected"));
    nowhere.hold("gkdemo", "no bus");
    EXPECT_TRUE(nowhere.held());
    nowhere.release();
}

#include "TraceTest.moc"
