// The call box's look-up over the shipped reference data: whole-call stations reach their own
// entities, and the window-free look-up answers every call as the call box does.
#include "awards/UAwardAdd.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "logbook/PrefixLookup.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QtTest>

namespace {

struct Answer {
    QString entity, country, cq, itu, continent, oblast, regionEntity, iota;
    bool operator==(const Answer&) const = default;
};

QString text(const Answer& a) {
    return QStringList{a.entity, a.country, a.cq, a.itu, a.continent, a.oblast, a.regionEntity, a.iota}.join(
        '|');
}

// What the call box's datasets show after its look-up of `call`.
Answer callBoxAnswer(const QString& call) {
    FMain->FindPrefix(call);
    if (DM->TablePref->isEmpty()) return {};
    const auto f = [](Dataset* t, const char* name) {
        return t->field(QString::fromLatin1(name)).asString();
    };
    return {f(DM->TableDXCC, "Prefix"),         f(DM->TablePref, "Country"),   f(DM->TablePref, "CQZone"),
            f(DM->TablePref, "ITUZone"),        f(DM->TablePref, "Continent"), f(DM->TableUkrRuss, "Oblast"),
            f(DM->TableUkrRuss, "CountryPref"), FAwardAdd->EditIOTANum->text()};
}

Answer lookupAnswer(PrefixLookup& lookup, const QString& call) {
    const PrefixInfo p = lookup.find(call);
    if (!p.found) return {};
    return {p.dxccEntity, p.country,    p.cqZone,       p.ituZone,
            p.continent,  p.regionCode, p.regionEntity, p.iotaNum};
}

// Calls as they are typed: prefixes, digits and suffixes, portable marks, and the odd mistyped one.
QStringList generatedCalls(const QStringList& prefixes, int count) {
    QRandomGenerator random(20140701);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const QString any = letters + QStringLiteral("0123456789/0123456789/'*%_ #");
    const auto pick = [&](const QString& from) { return from.at(random.bounded(int(from.size()))); };
    QStringList calls;
    while (calls.size() < count) {
        QString call = prefixes.at(random.bounded(int(prefixes.size())));
        switch (random.bounded(4)) {
        case 0: // a suffix after the row's text
            for (int n = random.bounded(1, 4); n > 0; --n)
                call += pick(letters);
            break;
        case 1: // an area digit and a suffix
            call += QString::number(random.bounded(10));
            for (int n = random.bounded(1, 4); n > 0; --n)
                call += pick(letters);
            break;
        case 2: // portable
            call += QStringLiteral("/P");
            break;
        default: // anything
            for (int n = random.bounded(1, 8); n > 0; --n)
                call += pick(any);
        }
        if (random.bounded(10) == 0) call = call.toLower();
        calls << call;
    }
    return calls;
}

// Every prefix and whole-call row; of the many rows that keep longer calls from a whole call's
// entity, every tenth (they all lead to rows the prefixes lead to).
QStringList lookUpRows() {
    QStringList rows;
    QSqlQuery q(DM->ConnectionDB->db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT AllPrefix, Other FROM ALLPREF ORDER BY rowid"))) return rows;
    int afterWholeCall = 0;
    while (q.next())
        if (q.value(1).toString() != QLatin1String("after a whole call") || afterWholeCall++ % 10 == 0)
            rows << q.value(0).toString();
    return rows;
}

} // namespace

class TestPrefixChain : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

private slots:
    void initTestCase() {
        app = std::make_unique<AppFixture>();
        QApplication::setActiveWindow(FMain);
        FConfig->MaskEditLat->setText("55,75");
        FConfig->MaskEditLon->setText("37,62");
    }
    void cleanupTestCase() { app.reset(); }

    void typedCallReachesItsEntity_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("pref");
        QTest::addColumn<QString>("continent");
        const auto row = [](const char* call, const char* country, const char* pref, const char* continent) {
            QTest::newRow(call) << QString(call) << QString(country) << QString(pref) << QString(continent);
        };
        // Stations the country file lists by their whole call.
        row("4U1UN", "United Nations HQ", "4U1U", "NA");
        row("4U1ITU", "ITU HQ", "4U1I", "EU");
        row("3Y0X", "Peter 1 Island", "3Y/p", "SA");
        row("3Y0J", "Bouvet", "3Y/b", "AF");
        row("BS7H", "Scarborough Reef", "BS7", "AS");
        row("VP6D", "Ducie Island", "VP6/d", "OC");
        row("TX9", "Chesterfield Islands", "FK/c", "OC");
        row("3D2C", "Conway Reef", "3D2/c", "OC");
        row("VK0EK", "Heard Island", "VK0H", "AF");
        row("SY2A", "Mount Athos", "SV/a", "EU");
        row("E51MAN", "North Cook Islands", "E5/n", "OC");
        row("VP8ORK", "South Orkney Islands", "VP8/o", "SA");
        row("KC4AAA", "Antarctica", "CE9", "SA");
        // Ordinary calls, some beginning with a whole call.
        row("VP6DB", "Pitcairn Island", "VP6", "OC");
        row("3D2CX", "Fiji", "3D2", "OC");
        row("SY2AB", "Greece", "SV", "EU");
        row("VK0EKA", "Antarctica", "CE9", "SA");
        row("E51AB", "South Cook Islands", "E5/s", "OC");
        row("K1ABC", "United States of America", "K", "NA");
        row("JA1ABC", "Japan", "JA", "AS");
        row("UA3ABC", "European Russia", "UA", "EU");
        row("UA0LAB", "Asiatic Russia", "UA9", "AS");
        row("DL1ABC", "Fed. Rep. of Germany", "DL", "EU");
        row("VK2ABC", "Australia", "VK", "OC");
        row("G4ABC", "England", "G", "EU");
    }
    void typedCallReachesItsEntity() {
        QFETCH(QString, call);
        FMain->EditCall->clear();
        FMain->EditCall->setFocus();
        QTest::keyClicks(FMain->EditCall, call);
        QCOMPARE(FMain->EditCall->text(), call);
        QTEST(FMain->LabelRegion->text(), "country");
        QTEST(FMain->LabelPref->text(), "pref");
        QTEST(FMain->LabelContinent->text(), "continent");
        QVERIFY(app->dialogs().messages.isEmpty());
    }

    void windowFreeLookUpAnswersAsTheCallBox() {
        const QStringList rows = lookUpRows();
        QVERIFY(rows.size() > 1000);
        PrefixLookup lookup(*DM->ConnectionDB);
        QStringList differ;
        int found = 0;
        for (const QStringList& calls : {rows, generatedCalls(rows, 3000)}) {
            for (const QString& call : calls) {
                const Answer box = callBoxAnswer(call);
                const Answer values = lookupAnswer(lookup, call);
                if (!box.entity.isEmpty()) ++found;
                if (!(box == values) && differ.size() < 10)
                    differ << call + ": " + text(box) + " / " + text(values);
            }
        }
        QVERIFY2(differ.isEmpty(), qPrintable(differ.join('\n')));
        QVERIFY(found >= rows.size());
    }
};

QTEST_MAIN(TestPrefixChain)
#include "tst_prefixchain.moc"
