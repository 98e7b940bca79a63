// The award status of the typed call: the per-band labels of the four awards and the contest
// window's award cells, after the real start-up.
#include "contest/UContst.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "widgets/BoxColour.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {

void logSql(TempDataFolder& f, const QStringList& statements) {
    Connection c(QStringLiteral("prepare"));
    c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
    for (const QString& s : statements)
        c.execute(s);
}

QString contact(int book, const QString& call = "UA3AA") {
    return QString("INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogNameLog) "
                   "VALUES ('%1', '2024-03-10', '10:00:00', '14', 'CW', %2)")
        .arg(call)
        .arg(book);
}

// An award row with some of its cells: cells as "Band14=wkd,Band70=cfm".
QString mark(int book, const QString& award, const QString& p1, const QString& p2, const QString& cells) {
    QStringList cols{"LogNameLog", "AwName", "Param1", "Param2", "Param3"};
    QStringList values{QString::number(book), "'" + award + "'", "'" + p1 + "'", "'" + p2 + "'", "''"};
    for (const QString& c : cells.split(',', Qt::SkipEmptyParts)) {
        cols << c.section('=', 0, 0);
        values << "'" + c.section('=', 1) + "'";
    }
    return "INSERT INTO AwardMixInfo (" + cols.join(", ") + ") VALUES (" + values.join(", ") + ")";
}

// The coloured labels of a family, in band order: "70:r 14:g" (r red, g green); black ones left out.
QString colours(const QList<QLabel*>& family, const QString& prefix) {
    QStringList out;
    for (QLabel* l : family) {
        const QColor c = textColour(l);
        if (c == QColor(0, 0, 0)) continue;
        const QString tag = c == QColor(255, 0, 0) ? "r" : c == QColor(0, 128, 0) ? "g" : c.name();
        out << l->objectName().mid(prefix.size()) + ":" + tag;
    }
    return out.join(' ');
}

QString colours(const QString& family) {
    if (family == "WAZ") return colours(FMain->LabelWAZ, "LabelWAZ");
    if (family == "UR") return colours(FMain->LabelUR, "LabelUR");
    if (family == "IOTA") return colours(FMain->LabelIOTA, "LabelIOTA");
    return colours(FMain->LabelDX, "LabelDX");
}

// Records each time the contest window's award cells are shown (+) or hidden (-).
class CellsWatch : public QObject {
public:
    QString changes;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::ShowToParent) changes += '+';
        if (e->type() == QEvent::HideToParent) changes += '-';
        return QObject::eventFilter(o, e);
    }
};

} // namespace

class TestAwardStatus : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    void start(const QStringList& statements) {
        app = std::make_unique<AppFixture>([&](TempDataFolder& f) { logSql(f, statements); });
        QApplication::setActiveWindow(FMain);
    }
    void type(const QString& call) {
        FMain->EditCall->clear();
        FMain->EditCall->setText(call);
    }

private slots:
    void cleanup() { app.reset(); }

    void savesOnTwoBandsColourTheNextLookUp() {
        start({});
        for (auto [call, band, mode, qsl] :
             {std::tuple{"DL1ABC", "14", "SSB", ""}, {"DL2XYZ", "7", "CW", "Y"}}) {
            FMain->EditCall->setText(call);
            FMain->ComboBoxBand->setCurrentText(band);
            FMain->ComboBoxMode->setCurrentText(mode);
            FMain->EditQSLRcvd->setText(qsl);
            FMain->ButtonSaveClick();
        }
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(app->dialogs().texts().join('|')));
        type("DL3AA");
        QCOMPARE(colours("DX"), QString("70:r 14:g"));
        QCOMPARE(colours("WAZ"), QString("70:r 14:g"));
        // Every look-up starts black again.
        type("JA1ABC");
        QCOMPARE(colours("DX"), QString());
    }

    void marksColourTheLabelsOfTheirAward_data() {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("expected");
        const QString inBook1 = contact(1);
        QTest::newRow("DXCC worked and confirmed")
            << QStringList{inBook1, mark(1, "DXCC", "DL", "", "Band14=wkd,Band70=cfm,Band14cw=cfm")}
            << "DL3AA"
            << "DX"
            << "70:r 14:g";
        QTest::newRow("every band of the row")
            << QStringList{inBook1,
                           mark(1, "DXCC", "DL", "",
                                "Band18=wkd,Band35=wkd,Band70=wkd,Band10=wkd,Band14=wkd,Band180=wkd,Band21="
                                "wkd,"
                                "Band24=wkd,Band28=wkd,Band50=wkd,BandSat=cfm,Band144=wkd,Band430=wkd,"
                                "Band1260=cfm")}
            << "DL3AA"
            << "DX"
            << "18:g 35:g 70:g 10:g 14:g 180:g 21:g 24:g 28:g 50:g S:r 144:g 430:g 1260:r";
        QTest::newRow("only 137 and Q")
            << QStringList{inBook1, mark(1, "DXCC", "DL", "", "Band137=wkd,BandQ=cfm")} << "DL3AA"
            << "DX"
            << "";
        QTest::newRow("another book's marks")
            << QStringList{inBook1, contact(2), mark(2, "DXCC", "DL", "", "Band14=cfm")} << "DL3AA"
            << "DX"
            << "";
        QTest::newRow("a lower-case key")
            << QStringList{inBook1, mark(1, "DXCC", "dl", "", "Band14=cfm")} << "DL3AA"
            << "DX"
            << "";
        QTest::newRow("cell texts that are no marks")
            << QStringList{inBook1, mark(1, "DXCC", "DL", "", "Band14=WKD,Band70=x,Band21= cfm,Band28=CFM")}
            << "DL3AA"
            << "DX"
            << "";
        QTest::newRow("a CQ zone") << QStringList{inBook1, mark(1, "WAZ", "14", "", "Band21=cfm")} << "DL3AA"
                                   << "WAZ"
                                   << "21:r";
        QTest::newRow("a region and its entity")
            << QStringList{inBook1, mark(1, "UkrRus", "MA", "UA", "Band28=wkd")} << "UA3ABC"
            << "UR"
            << "28:g";
        QTest::newRow("a region of another entity")
            << QStringList{inBook1, mark(1, "UkrRus", "MA", "UR", "Band28=wkd")} << "UA3ABC"
            << "UR"
            << "";
        QTest::newRow("an island") << QStringList{inBook1, mark(1, "IOTA", "AF-049", "", "BandSat=cfm")}
                                   << "3B8AB"
                                   << "IOTA"
                                   << "S:r";
        QTest::newRow("the empty key of a call without a prefix")
            << QStringList{inBook1, mark(1, "DXCC", "", "", "Band14=wkd"),
                           mark(1, "WAZ", "", "", "Band14=wkd")}
            << "QQ1ABC"
            << "WAZ"
            << "";
        // Marks written by other tools hold null keys, which read as empty ones.
        // Another item first, so the view does not stand on the looked-up one by chance.
        const QString nullKeys = "UPDATE AwardMixInfo SET Param2 = NULLIF(Param2, ''), Param3 = NULL";
        const QString before = mark(1, "DXCC", "JA", "", "Band10=cfm");
        QTest::newRow("null keys of an entity")
            << QStringList{inBook1, before, mark(1, "DXCC", "DL", "", "Band14=wkd"), nullKeys} << "DL3AA"
            << "DX"
            << "14:g";
        QTest::newRow("null keys of a CQ zone")
            << QStringList{inBook1, before, mark(1, "WAZ", "14", "", "Band21=cfm"), nullKeys} << "DL3AA"
            << "WAZ"
            << "21:r";
        QTest::newRow("null key of a region")
            << QStringList{inBook1, before, mark(1, "UkrRus", "MA", "UA", "Band28=wkd"), nullKeys} << "UA3ABC"
            << "UR"
            << "28:g";
        QTest::newRow("null keys of an island")
            << QStringList{inBook1, before, mark(1, "IOTA", "AF-049", "", "BandSat=cfm"), nullKeys} << "3B8AB"
            << "IOTA"
            << "S:r";
        QTest::newRow("a book without contacts (book 0)")
            << QStringList{mark(1, "DXCC", "DL", "", "Band14=wkd")} << "DL3AA"
            << "DX"
            << "";
    }

    void marksColourTheLabelsOfTheirAward() {
        QFETCH(QStringList, statements);
        QFETCH(QString, call);
        QFETCH(QString, family);
        QFETCH(QString, expected);
        start(statements);
        type(call);
        QCOMPARE(colours(family), expected);
        for (const QString& other : {"DX", "WAZ", "UR", "IOTA"})
            if (other != family) QCOMPARE(colours(other), QString());
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(app->dialogs().texts().join('|')));
    }

    void anotherBooksMarksColourOnceThatBookIsChosen() {
        start({"INSERT INTO LogName (Num, Name, Sel) VALUES (2, 'Second', 0)", contact(1), contact(2),
               mark(2, "DXCC", "DL", "", "Band14=wkd")});
        type("DL3AA");
        QCOMPARE(colours("DX"), QString());
        FMain->EditCall->clear();
        FMain->logBookItem(2)->trigger();
        QCOMPARE(app->dialogs().lastText(), QString("New Log: Second"));
        // The contest window's award view follows the book.
        QCOMPARE(DM->TableContestStatistic->filter(), QString("AwName='DXCC' AND LogNameLog=2"));
        type("DL3AA");
        QCOMPARE(colours("DX"), QString("14:g"));
    }

    void contestCellsFollowTheItemOfThePresentedAward_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("contestFilter");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("changes");
        QTest::addColumn<bool>("shown");
        QTest::newRow("DXCC as built, entity in both views") << " DXCC "
                                                             << "AwName='DXCC'"
                                                             << "DL3AA"
                                                             << "+" << true;
        QTest::newRow("DXCC, entity not worked") << " DXCC "
                                                 << "AwName='DXCC'"
                                                 << "JA1ABC"
                                                 << "" << false;
        QTest::newRow("WAZ, zone in both views") << " WAZ "
                                                 << "AwName='WAZ' AND LogNameLog=1"
                                                 << "DL3AA"
                                                 << "+-+" << true;
        QTest::newRow("WAZ, zone missing from the contest view") << " WAZ "
                                                                 << "AwName='DXCC'"
                                                                 << "DL3AA"
                                                                 << "+-+-" << false;
        QTest::newRow("a caption of no award") << " Info "
                                               << "AwName='DXCC'"
                                               << "DL3AA"
                                               << "+-+-" << false;
    }

    void contestCellsFollowTheItemOfThePresentedAward() {
        QFETCH(QString, caption);
        QFETCH(QString, contestFilter);
        QFETCH(QString, call);
        QFETCH(QString, changes);
        QFETCH(bool, shown);
        start({contact(1), mark(1, "DXCC", "DL", "", "Band14=wkd"), mark(1, "WAZ", "14", "", "Band14=wkd")});
        FCont->GroupBoxAwName->setTitle(caption);
        DM->TableContestStatistic->setFilter(contestFilter);
        // Hidden, as the empty call box leaves them.
        FCont->ShowAwardCells(false);
        CellsWatch watch;
        FCont->PanelAwardCells->installEventFilter(&watch);
        FMain->EditCall->setText(call);
        QCOMPARE(watch.changes, changes);
        QCOMPARE(!FCont->PanelAwardCells->isHidden(), shown);
        // The contest window's view stands on the typed call's item when it was found there.
        if (shown)
            QCOMPARE(DM->TableContestStatistic->field("Param1").asString(),
                     caption == " WAZ " ? QString("14") : QString("DL"));
        // Emptying the call hides the cells.
        FMain->EditCall->clear();
        QVERIFY(FCont->PanelAwardCells->isHidden());
    }
};

QTEST_MAIN(TestAwardStatus)
#include "tst_awardstatus.moc"
