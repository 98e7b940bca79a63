// The logind session control against a private bus with a fake logind on it.
#include "platform/SessionControl.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QtTest>

namespace {

class FakeLogindSession : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")
public:
    int terminated = 0;
public slots:
    void Terminate() { ++terminated; }
};

} // namespace

class TestSessionControl : public QObject {
    Q_OBJECT
private slots:
    // With the fake on the bus the request is answered once and accepted; without it, refused.
    void terminatesTheSession_data() {
        QTest::addColumn<bool>("registered");
        QTest::newRow("fake logind") << true;
        QTest::newRow("no logind") << false;
    }
    void terminatesTheSession() {
        QFETCH(bool, registered);
        QProcess daemon;
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        QVERIFY(daemon.waitForStarted());
        QTRY_VERIFY(daemon.canReadLine());
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();

        FakeLogindSession session;
        {
            QDBusConnection bus = QDBusConnection::connectToBus(address, "fake-logind");
            QVERIFY(bus.isConnected());
            if (registered) {
                QVERIFY(bus.registerObject("/org/freedesktop/login1/session/auto", &session,
                                           QDBusConnection::ExportAllSlots));
                QVERIFY(bus.registerService("org.freedesktop.login1"));
            }
            int answers = 0;
            bool accepted = false;
            makeLogindSessionControl(address)->requestLogoff([&](bool ok) {
                ++answers;
                accepted = ok;
            });
            QTRY_COMPARE(answers, 1);
            QCOMPARE(accepted, registered);
            QCOMPARE(session.terminated, registered ? 1 : 0);
        }
        QDBusConnection::disconnectFromBus("fake-logind");
        QDBusConnection::disconnectFromBus("zelmor-logoff " + address);
        daemon.kill();
        daemon.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestSessionControl)
#include "tst_sessioncontrol.moc"
