// The digital-mode program links after the real start-up, against an in-memory desktop that
// plays each program: what reaches the entry panel and what goes back, a program that closes,
// one that is absent, and the shipped desktop that shows no program.
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "station/UFindWind.h"
#include "support/AppFixture.h"
#include "support/FakeDesktopWindows.h"
#include "support/FakeProgramLauncher.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(DigitalProgram)

namespace {

constexpr auto DP = DigitalProgram::DigiPan;
constexpr auto MW = DigitalProgram::MixW;
constexpr auto MV = DigitalProgram::MMVari;
constexpr auto CT = DigitalProgram::CwType;
constexpr auto TT = DigitalProgram::TrueTTY;

const QString kOutOfMemory = QStringLiteral("Нехватка памяти! Закройте все лишние программы и попробуйте еще раз!");

QAction* item(DigitalProgram p) {
    QAction* items[] = {FMain->DigiPan1, FMain->MixW1, FMain->MMVari1, FMain->CwType, FMain->PrTrueTTY};
    return items[static_cast<int>(p)];
}

QLineEdit* programFile(DigitalProgram p) {
    QLineEdit* files[] = {FConfig->EditPrDP, FConfig->EditPrMixW, FConfig->EditPrMMV, FConfig->EditPrCT,
                          FConfig->EditPrTTTY};
    return files[static_cast<int>(p)];
}

// call, name, QTH, report received, report sent, band, note, mode
LinkReading reading(const QStringList& t) {
    return {t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]};
}

const QStringList kStation{"ua3abc", "Ivan", "Moscow", "579", "589", "20m", "", "BPSK"};

// call, name, QTH, report received, report sent, band, mode, note
QStringList entryPanel() {
    return {FMain->EditCall->text(),         FMain->EditName->text(),         FMain->EditQTH->text(),
            FMain->EditRSRX->text(),         FMain->EditRSTX->text(),         FMain->ComboBoxBand->currentText(),
            FMain->ComboBoxMode->currentText(), FMain->EditNote->text()};
}

void fillEntryPanel(const QStringList& t) {
    FMain->EditCall->setText(t[0]);
    FMain->EditName->setText(t[1]);
    FMain->EditQTH->setText(t[2]);
    FMain->EditRSRX->setText(t[3]);
    FMain->EditRSTX->setText(t[4]);
    FMain->ComboBoxBand->setEditText(t[5]);
    FMain->ComboBoxMode->setEditText(t[6]);
    FMain->EditNote->setText(t[7]);
}

const QStringList kBefore{"", "", "", "59", "59", "7", "SSB", "typed note"};

// One poll, as the poll timer runs it: a click of the program's reader button.
void tick(DigitalProgram p) {
    QPushButton* readers[] = {FExtProg->ButtonDigiPan, FExtProg->ButtonMixW, FExtProg->ButtonMMVari,
                              FExtProg->ButtonCwType, FExtProg->ButtonTrueTTY};
    readers[static_cast<int>(p)]->click();
}

// Message boxes that stay open while the program's poll comes again.
class PollDuringMessage : public ScriptedDialogs {
public:
    DlgResult message(const QString& text, DlgType type, DlgButtons buttons) override {
        ScriptedDialogs::message(text, type, buttons);
        tick(DP);
        return DlgResult::Ok;
    }
};

} // namespace

class TestDigitalLinks : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;
    FakeDesktopWindows* desk = nullptr;
    FakeProgramLauncher* launcher = nullptr;
    QString existingFile;

    // Starts the link from its menu item with an existing program file (or the given text).
    void startLink(DigitalProgram p, const QString& file = {}) {
        programFile(p)->setText(file.isEmpty() ? existingFile : file);
        item(p)->trigger();
    }

    QStringList messages() const { return app->dialogs().texts(); }

private slots:
    void init() {
        app = std::make_unique<AppFixture>([](TempDataFolder& f) {
            Connection c("seed");
            c.openFile(f.file("DB/CallBook/CBook.mdb"));
            c.execute("INSERT INTO CB_W (Call, Name, QTH) VALUES ('UA3ABC', 'Vanya', 'Tula')");
        });
        FConfig->CheckBoxInternal->setChecked(true);
        FConfig->CheckBoxInternalA->setChecked(true);
        desk = FakeDesktopWindows::install();
        launcher = FakeProgramLauncher::install();
        FExtProg->startWaitMs = 0;
        existingFile = app->folder().file("Programs/program.exe");
        QDir().mkpath(QFileInfo(existingFile).path());
        QFile f(existingFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        fillEntryPanel(kBefore);
    }
    void cleanup() {
        app.reset();
        Desktop::setWindows(nullptr);
        Launching::setLauncher(nullptr);
    }

    void linkCarriesStationBothWays_data() {
        QTest::addColumn<DigitalProgram>("program");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("entry");
        QTest::addColumn<QStringList>("writtenBack");
        QTest::addColumn<bool>("lookedUp");
        auto station = [](int i, const QString& text) {
            QStringList s = kStation;
            s[i] = text;
            return s;
        };
        // entry: call, name, QTH, rst rx, rst tx, band, mode, note
        QTest::newRow("DigiPan 20m") << DP << kStation
                                     << QStringList{"UA3ABC", "Ivan", "Moscow", "579", "589", "14", "SSB", ""}
                                     << QStringList{"name=Ivan", "qth=Moscow"} << true;
        QTest::newRow("DigiPan 160m, note") << DP << station(6, "QSL via buro").replaceInStrings("20m", "160m")
                                            << QStringList{"UA3ABC", "Ivan", "Moscow", "579", "589", "1.8", "SSB",
                                                           "QSL via buro"}
                                            << QStringList{"name=Ivan", "qth=Moscow"} << true;
        QTest::newRow("DigiPan 60m") << DP << station(5, "60m")
                                     << QStringList{"UA3ABC", "Ivan", "Moscow", "579", "589", "7", "SSB", ""}
                                     << QStringList{"name=Ivan", "qth=Moscow"} << true;
        QTest::newRow("DigiPan two-letter call") << DP << station(0, "ua")
                                                 << QStringList{"UA", "Ivan", "Moscow", "579", "589", "14", "SSB", ""}
                                                 << QStringList{} << false;
        QTest::newRow("MixW") << MW << kStation
                              << QStringList{"UA3ABC", "Ivan", "Moscow", "59", "59", "7", "SSB", "typed note"}
                              << QStringList{} << true;
        QTest::newRow("MMVari frequency") << MV << station(5, "14074.000")
                                          << QStringList{"UA3ABC", "Ivan", "", "579", "589", "7", "BPSK", "typed note"}
                                          << QStringList{"band=7", "name=Ivan"} << true;
        QTest::newRow("MMVari band") << MV << station(5, "14")
                                     << QStringList{"UA3ABC", "Ivan", "", "579", "589", "14", "BPSK", "typed note"}
                                     << QStringList{"name=Ivan"} << true;
        QTest::newRow("CwType") << CT << kStation
                                << QStringList{"UA3ABC", "Ivan", "Moscow", "59", "589", "7", "SSB", "typed note"}
                                << QStringList{"name=Ivan", "qth=Moscow"} << true;
        QTest::newRow("TrueTTY") << TT << kStation
                                 << QStringList{"UA3ABC", "Ivan", "Moscow", "59", "589", "7", "SSB", "typed note"}
                                 << QStringList{"name=Ivan", "qth=Moscow"} << true;
    }
    void linkCarriesStationBothWays() {
        QFETCH(DigitalProgram, program);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, entry);
        QFETCH(QStringList, writtenBack);
        QFETCH(bool, lookedUp);
        const FakeProgramWindow w = desk->addProgram(program, reading(shown));
        startLink(program);
        QCOMPARE(launcher->opened, QStringList{existingFile});
        QVERIFY(item(program)->isChecked());
        QVERIFY(FExtProg->timer(program)->isActive());
        QCOMPARE(FExtProg->timer(program)->interval(), 2000);

        tick(program);
        QCOMPARE(entryPanel(), entry);
        QVERIFY(!FMain->LabelPref->text().isEmpty()); // the call box ran its prefix look-up
        const QHash<WindowHandle, QString> field{{w.name, "name"}, {w.qth, "qth"}, {w.band, "band"}};
        QStringList written;
        for (const auto& [box, text] : desk->written)
            written << field.value(box, "?") + '=' + text;
        QCOMPARE(written, writtenBack);
        QCOMPARE(FMain->EditCBName->text(), lookedUp ? QStringLiteral("Vanya") : QString());

        // The same call again, still in small letters: nothing new, no look-up, nothing written.
        FMain->EditCBName->clear();
        tick(program);
        QCOMPARE(FMain->EditCBName->text(), QString());
        QCOMPARE(desk->written.size(), writtenBack.size());
        QCOMPARE(messages(), QStringList{});
    }

    void programGoneEndsLink_data() {
        QTest::addColumn<DigitalProgram>("program");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QStringList>("entry");
        QTest::addColumn<QString>("message");
        QTest::newRow("DigiPan") << DP << false << QStringList{"", "", "", "", "", "14", "CW", ""} << "DigiPan closed!";
        QTest::newRow("MixW") << MW << false << QStringList{"", "", "", "", "", "7", "SSB", "typed note"}
                              << "MixW closed!";
        QTest::newRow("MMVari") << MV << false << QStringList{"", "", "", "", "", "14", "CW", "typed note"}
                                << "MMVari closed!";
        QTest::newRow("CwType") << CT << false << QStringList{"", "", "", "59", "59", "7", "SSB", "typed note"}
                                << "CwType closed!";
        QTest::newRow("TrueTTY") << TT << false << QStringList{"", "", "", "599", "599", "7", "CW", "typed note"}
                                 << "TryeTTY closed!";
        // A stored contact loaded for editing is neither overwritten by a poll nor emptied at the end.
        const QStringList stored{"DL1ABC", "Hans", "Berlin", "57", "58", "3.5", "RTTY", "old"};
        QTest::newRow("DigiPan, editing") << DP << true << stored << "DigiPan closed!";
        QTest::newRow("MMVari, editing") << MV << true << stored << "MMVari closed!";
        QTest::newRow("TrueTTY, editing") << TT << true << stored << "TryeTTY closed!";
    }
    void programGoneEndsLink() {
        QFETCH(DigitalProgram, program);
        QFETCH(bool, editing);
        QFETCH(QStringList, entry);
        QFETCH(QString, message);
        const FakeProgramWindow w = desk->addProgram(program, reading(kStation));
        startLink(program);
        if (editing) {
            fillEntryPanel(entry);
            FMain->EntryState = 0;
        }
        tick(program);
        QVERIFY(FExtProg->timer(program)->isActive());
        desk->remove(w.main);
        tick(program);
        QCOMPARE(entryPanel(), entry);
        QVERIFY(!item(program)->isChecked());
        QVERIFY(!FExtProg->timer(program)->isActive());
        QCOMPARE(messages(), QStringList{message});
        QVERIFY(desk->written.isEmpty() || !editing);
    }

    void startWithoutProgram_data() {
        QTest::addColumn<DigitalProgram>("program");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("shownMessages");
        QTest::addColumn<bool>("linked");
        QTest::newRow("MMVari absent") << MV << "" << "empty" << QStringList{"Not run MMVari!"} << false;
        QTest::newRow("file missing, started by hand")
            << DP << "C:\\" << "program" << QStringList{"File C:\\ not exists !"} << true;
        QTest::newRow("CwType below a foreign TForm1") << CT << "" << "foreign TForm1 above" << QStringList{} << true;
        QTest::newRow("only foreign TForm1s")
            << CT << "" << "foreign TForm1" << QStringList{kOutOfMemory, "Not run CwType!"} << false;
        for (DigitalProgram p : {DP, MW, MV, CT, TT})
            QTest::addRow("shipped desktop, %s", qPrintable(digitalProgramName(p)))
                << p << "" << "shipped" << QStringList{"Not run " + digitalProgramName(p) + '!'} << false;
    }
    void startWithoutProgram() {
        QFETCH(DigitalProgram, program);
        QFETCH(QString, file);
        QFETCH(QString, desktop);
        QFETCH(QStringList, shownMessages);
        QFETCH(bool, linked);
        if (desktop == "program" || desktop == "foreign TForm1 above") desk->addProgram(program, reading(kStation));
        if (desktop.startsWith("foreign")) desk->addTopLevel("TForm1", "Calculator", true);
        if (desktop == "shipped") Desktop::setWindows(nullptr);
        startLink(program, file);
        QCOMPARE(messages(), shownMessages);
        QCOMPARE(item(program)->isChecked(), linked);
        QCOMPARE(FExtProg->timer(program)->isActive(), linked);
        QCOMPARE(launcher->opened.size(), file.isEmpty() ? 1 : 0);
        QCOMPARE(QDir::currentPath(), QDir(app->folder().path()).canonicalPath());
    }

    void startWaitKeepsWindowRunning() {
        Desktop::setWindows(nullptr);
        FExtProg->startWaitMs = 20;
        startLink(DP);
        // Back from the click at once: nothing said yet, the item not ticked.
        QCOMPARE(launcher->opened.size(), 1);
        QCOMPARE(messages(), QStringList{});
        QVERIFY(!item(DP)->isChecked());
        QTRY_COMPARE(messages(), QStringList{"Not run DigiPan!"});
        QVERIFY(!FExtProg->timer(DP)->isActive());
    }

    void startingLinkStopsTheOthers() {
        desk->addProgram(DP, reading(kStation));
        desk->addProgram(MW, reading({"dl1abc", "Hans", "Berlin", "", "", "", "", ""}));
        startLink(DP);
        tick(DP);
        QCOMPARE(FMain->EditCall->text(), "UA3ABC");
        startLink(MW);
        QVERIFY(!FExtProg->timer(DP)->isActive());
        QVERIFY(!item(DP)->isChecked());
        QVERIFY(FExtProg->timer(MW)->isActive() && item(MW)->isChecked());
        tick(MW);
        QCOMPARE(entryPanel().mid(0, 3), (QStringList{"DL1ABC", "Hans", "Berlin"}));
    }

    void readsThroughProgramBuffers_data() {
        QTest::addColumn<DigitalProgram>("program");
        QTest::addColumn<QString>("shownName");
        QTest::addColumn<QString>("shownCall");
        QTest::addColumn<QString>("heldName");
        QTest::addColumn<QString>("heldCall");
        const QString thirty = QStringLiteral("Alexander Ivanovich Petrov");
        const QString forty = QStringLiteral("UA3ABC/P QRV 14074 PSK31 CQ DX CQ DX ABC");
        QTest::newRow("DigiPan box") << DP << thirty << "ua3abc" << thirty.left(24) << "ua3abc";
        QTest::newRow("MixW status bar") << MW << "" << forty << "" << forty.left(34).trimmed();
    }
    void readsThroughProgramBuffers() {
        QFETCH(DigitalProgram, program);
        QFETCH(QString, shownName);
        QFETCH(QString, shownCall);
        QFETCH(QString, heldName);
        QFETCH(QString, heldCall);
        desk->addProgram(program, {shownCall, shownName, "", "", "", "", "", ""});
        startLink(program);
        tick(program);
        QCOMPARE(FExtProg->EditName->text(), heldName);
        QCOMPARE(FExtProg->EditCall->text(), heldCall);
    }

    void furtherProgramsOnlyStart() {
        FConfig->EditPr1->setText(existingFile);
        FConfig->EditPr2->setText("C:\\");
        FMain->Pr51->trigger();
        FMain->Pr61->trigger();
        QCOMPARE(launcher->opened, QStringList{existingFile});
        QCOMPARE(messages(), QStringList{"File C:\\ not exists !"});
    }

    void pollDuringItsMessageOpensNoSecond() {
        // Never linked: the poll asks once, then the link ends.
        Dialogs::setBackend(std::make_unique<PollDuringMessage>());
        auto& shown = static_cast<ScriptedDialogs&>(Dialogs::backend());
        FExtProg->TimerDigiPan->start();
        tick(DP);
        QCOMPARE(shown.texts(), (QStringList{"Please run DigiPan!", "DigiPan closed!"}));
        QVERIFY(!FExtProg->TimerDigiPan->isActive());
    }
};

QTEST_MAIN(TestDigitalLinks)
#include "tst_digitallinks.moc"
