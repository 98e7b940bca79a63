// "Refresh All Logs" after the real start-up: the progress window over the hidden main window,
// the worker's notices applied in order, the windows back at the end, also after an error.
#include "awards/UAwardAdd.h"
#include "awards/UThreadUpdatBase.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "logbook/UProgres.h"
#include "support/AppFixture.h"
#include "widgets/BoxColour.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

// Every mark row without its number, in key order. The readable name of a region, island or
// state is the box's on a save and the contact's country on a rebuild, so it is left out.
QStringList markRows() {
    QSqlQuery q = DM->ConnectionLog->query(
        "SELECT * FROM AwardMixInfo ORDER BY LogNameLog, AwName, Param1, Param2, Param3");
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 1; i < q.record().count(); ++i)
            if (!q.value(i).toString().isEmpty() &&
                !(q.record().fieldName(i) == "Other" &&
                  QString("UkrRus IOTA WAS").contains(q.value(2).toString())))
                cells << q.record().fieldName(i) + "=" + q.value(i).toString();
        rows << cells.join(' ');
    }
    return rows;
}

// The DXCC labels the typed call colours: "70:g 14:r".
QString dxColours(const QString& call) {
    FMain->EditCall->clear();
    FMain->EditCall->setText(call);
    QStringList out;
    for (QLabel* l : FMain->LabelDX) {
        const QColor c = textColour(l);
        if (c != QColor(0, 0, 0)) out << l->objectName().mid(7) + (c == QColor(255, 0, 0) ? ":r" : ":g");
    }
    FMain->EditCall->clear();
    return out.join(' ');
}

// What the gauges showed, in order: "main 3", "dop 5/6" (position of the maximum).
class GaugeLog : public QObject {
public:
    QStringList events;
    bool mainHiddenAtFirst = false;
    explicit GaugeLog(QObject* parent) : QObject(parent) {
        connect(FProgres->GaugeMain, &QProgressBar::valueChanged, this,
                [this](int v) { note("main " + QString::number(v)); });
        connect(FProgres->GaugeDop, &QProgressBar::valueChanged, this, [this](int v) {
            note("dop " + QString::number(v) + "/" + QString::number(FProgres->GaugeDop->maximum()));
        });
    }
    void note(const QString& e) {
        if (events.isEmpty()) mainHiddenAtFirst = !FMain->isVisible() && FProgres->isVisible();
        events << e;
    }
};

} // namespace

class TestRebuild : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    void save(const QString& call, const QString& band, const QString& mode, const QString& qsl) {
        FMain->EditCall->setText(call);
        FMain->ComboBoxBand->setCurrentText(band);
        FMain->ComboBoxMode->setCurrentText(mode);
        FMain->EditQSLRcvd->setText(qsl);
        FMain->ButtonSaveClick();
    }

private slots:
    void init() {
        app = std::make_unique<AppFixture>([](TempDataFolder& f) {
            Connection c("prepare");
            c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
            c.execute("INSERT INTO LogName (Num, Name, Sel) VALUES (2, 'Second', 0)");
        });
        QApplication::setActiveWindow(FMain);
        // Contacts of two books on several bands, modes and QSL states, marked by the save.
        FMain->logBookItem(2)->trigger();
        save("DL1ABC", "21", "CW", "");
        save("JA1XYZ", "21", "RTTY", "Y");
        FMain->logBookItem(1)->trigger();
        save("DL1ABC", "14", "CW", "Y");
        save("UA3ABC", "14", "USB", "");
        FAwardAdd->EditIOTANum->setText("EU-001");
        save("DL2XX", "7", "CW", "");
        save("DL2XX", "7", "CW", "Y");
        app->dialogs().clear();
    }
    void cleanup() { app.reset(); }

    // The rebuilt marks are those the saves wrote; a failure half-way leaves them as they were.
    // Either way the progress window comes and goes and the main window is back, its views re-read.
    void refreshAllLogs_data() {
        QTest::addColumn<bool>("fails");
        QTest::newRow("rebuilt") << false;
        QTest::newRow("failing in the marking pass") << true;
    }
    void refreshAllLogs() {
        QFETCH(bool, fails);
        const QStringList saved = markRows();
        QVERIFY(saved.size() >= 6);
        const QString shown = dxColours("DL3AA");
        QCOMPARE(shown, QString("70:r 14:r"));
        if (fails)
            DM->ConnectionLog->execute(
                "CREATE TRIGGER fail BEFORE INSERT ON AwardMixInfo WHEN (SELECT COUNT(*) "
                "FROM AwardMixInfo) >= 3 BEGIN SELECT RAISE(ABORT, 'injected failure'); END");
        GaugeLog gauges(FMain);

        app->dialogs().defaultAnswer = DlgResult::Yes;
        FMain->LogRefreshClick();
        QVERIFY(AwardRebuildRunning());
        QVERIFY(!FMain->isVisible());
        QVERIFY(FProgres->isVisible());
        QCOMPARE(FProgres->windowModality(), Qt::ApplicationModal);
        QCOMPARE(FProgres->windowTitle(), QString("Update 6 QSOs"));
        QVERIFY(!DM->DataSourceLog->enabled());
        FinishAwardRebuild();

        QVERIFY(gauges.mainHiddenAtFirst);
        const QStringList rising{"main 1",  "main 2",  "main 3",  "main 4",  "main 5",  "main 6",
                                 "dop 1/6", "dop 2/6", "dop 3/6", "dop 4/6", "dop 5/6", "dop 6/6"};
        QCOMPARE(gauges.events.mid(0, rising.size()), rising);
        QCOMPARE(FProgres->GaugeMain->value(), 0);
        QCOMPARE(FProgres->GaugeDop->value(), 0);
        QVERIFY(!AwardRebuildRunning());
        QVERIFY(FMain->isVisible());
        QVERIFY(!FProgres->isVisible());
        QCOMPARE(FProgres->windowModality(), Qt::NonModal);
        QVERIFY(DM->DataSourceLog->enabled());
        QCOMPARE(DM->TableLog->recNo(), DM->TableLog->recordCount());
        QCOMPARE(FAwardAdd->EditIOTANum->text(), QString());
        QCOMPARE(markRows(), saved);
        QCOMPARE(dxColours("DL3AA"), shown);
        if (fails) {
            QCOMPARE(app->dialogs().messages.size(), 3);
            QCOMPARE(app->dialogs().messages.last().type, DlgType::Error);
            QVERIFY(app->dialogs().lastText().contains("injected failure"));
        } else {
            QCOMPARE(app->dialogs().messages.size(), 2); // the notice and the question before the start
        }
    }

    // A second start while one runs does nothing; closing the program waits for the run to end.
    void aSecondStartWhileOneRunsDoesNothing() {
        const QStringList saved = markRows();
        app->dialogs().defaultAnswer = DlgResult::Yes;
        FMain->LogRefreshClick();
        FProgres->setWindowTitle("first");
        StartAwardRebuild();
        QCOMPARE(FProgres->windowTitle(), QString("first"));
        FMain->close();
        QVERIFY(!AwardRebuildRunning());
        QVERIFY(!FProgres->isVisible());
        QVERIFY(DM->DataSourceLog->enabled());
        QCOMPARE(markRows(), saved);
        QCOMPARE(app->dialogs().messages.size(), 2);
    }
};

QTEST_MAIN(TestRebuild)
#include "tst_rebuild.moc"
