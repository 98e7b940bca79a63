// The transceiver link after the real start-up, against a fake radio on a pseudo-terminal: the
// Devices menu, the poll of the transceiver window, and what the window shows. The poll timer
// is driven by calling its handler; the reader's own 70 ms passes run for real.
#include "logbook/UMain.h"
#include "station/UCtrlTRX.h"
#include "station/UTRXControl.h"
#include "support/AppFixture.h"
#include "support/FakeTs570.h"
#include "widgets/BoxColour.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPort>
#include <QTimer>
#include <QtTest>

class TestTrxLink : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;
    std::unique_ptr<FakeTs570> radio;

    void connectLink() {
        FMain->DeviceTrxConnect->trigger();
        // The test drives the poll itself.
        QVERIFY(FTRXControl->TimerUpdate->isActive());
        FTRXControl->TimerUpdate->stop();
        QTRY_COMPARE(radio->commands().value(0), QString("AI3;"));
    }
    void tick() { FTRXControl->TimerUpdateTimer(); }
    // One poll, then wait until its IF reply is decoded.
    void pollUntilDecoded() {
        const int polls = int(radio->commands().count("IF;"));
        tick();
        QTRY_COMPARE(int(radio->commands().count("IF;")), polls + 1);
        QTRY_COMPARE(TrxReadStatus().inform.Freq, qint32(radio->frequency));
    }

private slots:
    void init() {
        app = std::make_unique<AppFixture>();
        radio = std::make_unique<FakeTs570>();
        TrxSettings.TrxPort = radio->portName();
    }
    void cleanup() {
        app.reset();
        radio.reset();
        QVERIFY(!TrxReaderRunning());
    }

    void connectSendsAutoInfoAndPowerQueryThenPollsEachTick() {
        QVERIFY(!FMain->DeviceTrxControl->isEnabled());
        radio->power = 50;
        connectLink();
        QCOMPARE(radio->received(), QByteArray("AI3;PC;"));
        QVERIFY(FMain->DeviceTrxConnect->isChecked());
        QVERIFY(FMain->DeviceTrxControl->isEnabled());
        QCOMPARE(FTRXControl->TimerUpdate->interval(), 1000);
        QTRY_COMPARE(TrxReadStatus().data.Power, 50);
        tick();
        QCOMPARE(FTRXControl->LabelPC->text(), QString("50"));
        QCOMPARE(FTRXControl->ProgressBarRWRSet->value(), 50);
        tick();
        tick();
        QTRY_COMPARE(radio->received(), QByteArray("AI3;PC;IF;IF;IF;"));
    }

    void windowShowsTheDecodedReplies_data() {
        QTest::addColumn<qint64>("hz");
        QTest::addColumn<bool>("tx");
        QTest::addColumn<QByteArray>("unsolicited");
        QTest::addColumn<int>("sBar");
        QTest::addColumn<int>("powerBar");
        QTest::addColumn<QString>("powerText");
        QTest::addColumn<QColor>("powerColour");
        QTest::addColumn<QString>("band");
        QTest::newRow("receiving") << qint64(7050000) << false << QByteArray("SM0005;FA00007050000;") << 5
                                   << 50 << "50" << QColor(0, 0, 255) << "7";
        QTest::newRow("transmitting") << qint64(14074000) << true << QByteArray("SM0000;FA00014074000;") << 0
                                      << 50 << "50" << QColor(255, 0, 0) << "14";
        QTest::newRow("full scales") << qint64(1840000) << false << QByteArray("SM0030;PC150;FA00001840000;")
                                     << 15 << 100 << "150" << QColor(0, 0, 255) << "1.8";
        QTest::newRow("80 m") << qint64(3573000) << false << QByteArray("SM0000;FA00003573000;") << 0 << 50
                              << "50" << QColor(0, 0, 255) << "3.5";
    }
    void windowShowsTheDecodedReplies() {
        QFETCH(qint64, hz);
        QFETCH(bool, tx);
        QFETCH(QByteArray, unsolicited);
        QFETCH(int, sBar);
        QFETCH(int, powerBar);
        QFETCH(QString, powerText);
        QFETCH(QColor, powerColour);
        QFETCH(QString, band);
        FMain->ComboBoxBand->setEditText("14");
        radio->frequency = hz;
        radio->transmitting = tx;
        connectLink();
        // What the radio sends on its own is read in the pass after the next command.
        radio->sendUnsolicited(unsolicited);
        pollUntilDecoded();
        tick();
        QCOMPARE(FTRXControl->LabelFreq->text(), QString::number(hz));
        QCOMPARE(FTRXControl->ProgressBarSM_PWR->value(), sBar);
        QCOMPARE(FTRXControl->ProgressBarRWRSet->value(), powerBar);
        QCOMPARE(FTRXControl->LabelPC->text(), powerText);
        QCOMPARE(textColour(FTRXControl->LabelPC), powerColour);
        QTRY_COMPARE(FMain->ComboBoxBand->currentText(), band);
    }

    void contactUnderEditKeepsItsBand() {
        connectLink();
        FMain->EntryState = 0;
        FMain->ComboBoxBand->setEditText("21");
        radio->sendUnsolicited("FA00007050000;");
        pollUntilDecoded();
        QCOMPARE(TrxReadStatus().data.BandA, QString("7"));
        QCoreApplication::processEvents();
        QCOMPARE(FMain->ComboBoxBand->currentText(), QString("21"));
        FMain->EntryState = -1;
        radio->sendUnsolicited("PC050;");
        pollUntilDecoded();
        QTRY_COMPARE(FMain->ComboBoxBand->currentText(), QString("7"));
    }

    // Replies are split at ";" in their order; a reply cut by the end of a pass is completed by
    // the next pass, and a pass reads all the bytes that have come.
    void readPassesCompleteCutRepliesAndReadAllBytes() {
        radio->silent = true;
        connectLink();
        radio->sendUnsolicited("PC100;" + FakeTs570::ifReply(21074000, false) + "FA000101");
        tick();
        QTRY_COMPARE(TrxReadStatus().inform.Freq, 21074000);
        QCOMPARE(TrxReadStatus().data.Power, 100);
        QVERIFY(TrxReadStatus().data.FreqA != 10120000);
        radio->sendUnsolicited("20000;PC033;");
        tick();
        QTRY_COMPARE(TrxReadStatus().data.Power, 33);
        QCOMPARE(TrxReadStatus().data.FreqA, 10120000);
        QByteArray burst; // 50 replies of 6 bytes: 300 bytes
        for (int k = 1; k <= 50; ++k)
            burst += "PC" + QByteArray::number(k).rightJustified(3, '0') + ";";
        radio->sendUnsolicited(burst);
        tick();
        QTRY_COMPARE(TrxReadStatus().data.Power, 50);
    }

    void disconnectSendsAutoInfoOffTwiceThenCloses() {
        connectLink();
        tick();
        FMain->DeviceTrxConnect->trigger();
        QVERIFY(!TrxReaderRunning());
        QVERIFY(!FMain->DeviceTrxControl->isEnabled());
        QVERIFY(!FTRXControl->TimerUpdate->isActive());
        // Both commands left the port before it closed.
        QTRY_COMPARE(radio->commands().mid(radio->commands().size() - 2), QStringList({"AI0;", "AI0;"}));
        tick(); // a stray tick after the close sends nothing
        QCoreApplication::processEvents();
        QCOMPARE(radio->commands().last(), QString("AI0;"));
    }

    void reconnectAndSecondOpeningUseOneLink() {
        connectLink();
        FMain->DeviceTrxConnect->trigger();
        QTRY_COMPARE(radio->received(), QByteArray("AI3;PC;AI0;AI0;"));
        radio->clearReceived();
        connectLink();
        QTRY_COMPARE(radio->received(), QByteArray("AI3;PC;"));
        // The hidden Kenwood button opens again: the first link is closed, not left running.
        FMain->ButtonKenw->click();
        QVERIFY(TrxReaderRunning());
        radio->sendUnsolicited("PC077;");
        tick();
        QTRY_COMPARE(TrxReadStatus().data.Power, 77);
        QVERIFY(app->dialogs().messages.isEmpty());
    }

    // A port that cannot be opened, or whose device goes away while connected, is reported once
    // and leaves the link disconnected, its reader ended.
    void failingPortIsReportedOnceAndDisconnects_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("unplug");
        QTest::addColumn<QString>("message");
        QTest::newRow("none chosen") << "None" << false
                                     << " cannot be opened: no port is chosen in the settings";
        // A name of this process alone: the serial layer's lock file is shared by every process.
        QTest::newRow("missing device")
            << "/dev/ttyNoSuchTrx" + QString::number(QCoreApplication::applicationPid()) << false
            << " cannot be opened: no such device";
        QTest::newRow("control character")
            << QStringLiteral("/dev/tty") + QChar(0) + QStringLiteral("S0") << false
            << " cannot be opened: the port name holds a control character";
        QTest::newRow("in use") << "" // the fake radio's port, held by another program
                                << false << " cannot be opened: the device is in use by another program";
        QTest::newRow("unplugged while connected")
            << "" << true
            << " stopped working: the device has gone away (unplugged or switched off). The transceiver is "
               "disconnected.";
    }
    void failingPortIsReportedOnceAndDisconnects() {
        QFETCH(QString, port);
        QFETCH(bool, unplug);
        QFETCH(QString, message);
        QSerialPort otherProgram(radio->portName());
        if (port.isEmpty()) {
            port = radio->portName();
            if (!unplug) QVERIFY(otherProgram.open(QIODevice::ReadWrite));
        }
        TrxSettings.TrxPort = port;
        if (unplug) {
            connectLink();
            pollUntilDecoded();
            radio->unplug();
        } else {
            FMain->DeviceTrxConnect->trigger();
        }
        QTRY_COMPARE(app->dialogs().messages.size(), 1);
        QVERIFY2(app->dialogs().lastText().startsWith("Port " + port + message),
                 qPrintable(app->dialogs().lastText()));
        QVERIFY(!FMain->DeviceTrxConnect->isChecked());
        QVERIFY(!FMain->DeviceTrxControl->isEnabled());
        QVERIFY(!FTRXControl->TimerUpdate->isActive());
        QVERIFY(!TrxReaderRunning());
        tick();
        QCoreApplication::processEvents();
        QCOMPARE(app->dialogs().messages.size(), 1);
    }

    void windowShortensThePollAndSendsAutoInfo2OnClose() {
        connectLink();
        int shownInterval = 0;
        app->dialogs().onModal([&](QWidget* w) {
            w->show();
            shownInterval = FTRXControl->TimerUpdate->interval();
            FTRXControl->reject();
            return 0;
        });
        FMain->DeviceTrxControl->trigger();
        QCOMPARE(shownInterval, 200);
        QCOMPARE(FTRXControl->TimerUpdate->interval(), 1000);
        QTRY_COMPARE(radio->commands().last(), QString("AI2;"));
    }

    void quittingWhileConnectedEndsTheReader() {
        connectLink();
        tick();
        QTRY_VERIFY(radio->commands().contains("IF;"));
        app.reset(); // the program's end: windows destroyed with the link open
        QVERIFY(!TrxReaderRunning());
        QCoreApplication::processEvents();
        QVERIFY(!radio->commands().contains("AI0;"));
    }
};

QTEST_MAIN(TestTrxLink)
#include "tst_trxlink.moc"
