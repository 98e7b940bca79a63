// The generator's readers of its text inputs: what they take from well-formed files and how they
// refuse malformed ones.
#include "CsvTable.h"
#include "CtyFile.h"
#include "ReferenceData.h"
#include "TemplateFile.h"

#include <QtTest>

class TestTemplateInputs : public QObject {
    Q_OBJECT

private slots:
    void csvKeepsQuotedCommasQuotesAndLineBreaks();
    void csvRefusesMalformedText_data();
    void csvRefusesMalformedText();
    void ctyAppliesOverridesAndKeepsWholeCallsApart();
    void ctyRefusesMalformedText_data();
    void ctyRefusesMalformedText();
    void wholeCallFindsOnlyItsOwnStation_data();
    void wholeCallFindsOnlyItsOwnStation();
    void schemaSplitsIntoStatementsWithoutComments();
};

namespace {

const QStringList header{"FormName", "Object", "En"};

QString errorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const std::exception& e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

} // namespace

void TestTemplateInputs::csvKeepsQuotedCommasQuotesAndLineBreaks() {
    const QString text = "# Source: somewhere\r\n"
                         "FormName,Object,En\r\n"
                         "FMain,Label1,\"Hello, \"\"world\"\"\"\r\n"
                         "FMain,Memo1,\"two\nlines\"\n"
                         "\n"
                         "FMain,Label2,\n";
    const CsvTable csv = CsvTable::parse(text, "language.csv", header);
    QCOMPARE(csv.rows.size(), 3);
    QCOMPARE(csv.rows[0].fields, (QStringList{"FMain", "Label1", "Hello, \"world\""}));
    QCOMPARE(csv.rows[1].fields.last(), QString("two\nlines"));
    QCOMPARE(csv.rows[2].fields, (QStringList{"FMain", "Label2", ""}));
    QCOMPARE(csv.rows[2].line, 7);
}

void TestTemplateInputs::csvRefusesMalformedText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("where");
    QTest::newRow("other header") << "FormName,Object\nFMain,Label1\n"
                                  << "language.csv:1:";
    QTest::newRow("missing field") << "FormName,Object,En\nFMain,Label1,x\nFMain,Label2\n"
                                   << "language.csv:3:";
    QTest::newRow("unclosed quote") << "FormName,Object,En\nFMain,Label1,\"x\n"
                                    << "language.csv:2:";
    QTest::newRow("text after a quote") << "FormName,Object,En\nFMain,Label1,\"x\"y\n"
                                        << "language.csv:2:";
    QTest::newRow("empty file") << ""
                                << "language.csv:1:";
}

void TestTemplateInputs::csvRefusesMalformedText() {
    QFETCH(QString, text);
    QFETCH(QString, where);
    const QString error = errorOf([&] { CsvTable::parse(text, "language.csv", header); });
    QVERIFY2(error.startsWith(where), qPrintable(error));
}

void TestTemplateInputs::ctyAppliesOverridesAndKeepsWholeCallsApart() {
    const QString text = "Asiatic Russia:           17:  30:  AS:   55.88:   -84.08:    -7.0:  UA9:\n"
                         "    R9,=R9AB/1,R9H(18)[31],UA0X<60.5/-160.25>~-12.0~,\n"
                         "    UA0Z{OC};\n"
                         "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\n"
                         "    IT9;\n";
    const QList<CtyEntity> entities = parseCty(text, "cty.dat");
    QCOMPARE(entities.size(), 2);
    const CtyEntity& russia = entities[0];
    QCOMPARE(russia.name, QString("Asiatic Russia"));
    QCOMPARE(russia.primaryPrefix, QString("UA9"));
    QVERIFY(!russia.waeOnly);
    QCOMPARE(russia.place.utcOffset, -7.0);
    QCOMPARE(russia.place.longitude, -84.08);
    QCOMPARE(russia.prefixes.size(), 4);
    QCOMPARE(russia.prefixes[0].prefix, QString("R9"));
    QVERIFY(russia.prefixes[0].place == russia.place);
    QCOMPARE(russia.prefixes[1].prefix, QString("R9H"));
    QCOMPARE(russia.prefixes[1].place.cqZone, 18);
    QCOMPARE(russia.prefixes[1].place.ituZone, 31);
    QCOMPARE(russia.prefixes[1].place.continent, QString("AS"));
    QCOMPARE(russia.prefixes[2].place.latitude, 60.5);
    QCOMPARE(russia.prefixes[2].place.longitude, -160.25);
    QCOMPARE(russia.prefixes[2].place.utcOffset, -12.0);
    QCOMPARE(russia.prefixes[2].place.cqZone, 17);
    QCOMPARE(russia.prefixes[3].place.continent, QString("OC"));
    QCOMPARE(russia.calls.size(), 1);
    QCOMPARE(russia.calls[0].prefix, QString("R9AB/1"));
    QVERIFY(russia.calls[0].place == russia.place);
    QCOMPARE(entities[1].primaryPrefix, QString("IT9"));
    QVERIFY(entities[1].waeOnly);
}

void TestTemplateInputs::ctyRefusesMalformedText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("where");
    const QString entity = "Japan:                    25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:\n";
    QTest::newRow("list not closed") << entity + "    JA,JR\n"
                                     << "cty.dat:2:";
    QTest::newRow("next entity before the list ends") << entity + "    JA,\n" + entity + "    JA;\n"
                                                      << "cty.dat:3:";
    QTest::newRow("broken override") << entity + "    JA(25;\n"
                                     << "cty.dat:2:";
    QTest::newRow("zone not a number") << "Japan: x: 45: AS: 36.40: -138.38: -9.0: JA:\n    JA;\n"
                                       << "cty.dat:1:";
    QTest::newRow("field missing") << "Japan: 25: 45: AS: 36.40: -138.38: JA:\n    JA;\n"
                                   << "cty.dat:1:";
    QTest::newRow("list without entity") << "    JA;\n"
                                         << "cty.dat:1:";
}

void TestTemplateInputs::ctyRefusesMalformedText() {
    QFETCH(QString, text);
    QFETCH(QString, where);
    const QString error = errorOf([&] { parseCty(text, "cty.dat"); });
    QVERIFY2(error.startsWith(where), qPrintable(error));
}

void TestTemplateInputs::wholeCallFindsOnlyItsOwnStation_data() {
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("entity");
    QTest::addColumn<QString>("cqZone");
    QTest::newRow("whole call") << "3D2C"
                                << "3D2/c"
                                << "32";
    QTest::newRow("whole call with its own zone") << "3D2CR"
                                                  << "3D2/c"
                                                  << "31";
    QTest::newRow("portable") << "3D2C/P"
                              << "3D2/c"
                              << "32";
    QTest::newRow("longer call") << "3D2CX"
                                 << "3D2"
                                 << "32";
    QTest::newRow("longer than a longer whole call") << "3D2CRX"
                                                     << "3D2"
                                                     << "32";
    QTest::newRow("whole call over six characters") << "3D2CRX7"
                                                    << "3D2"
                                                    << "32";
    QTest::newRow("whole call on a prefix") << "3D2"
                                            << "3D2"
                                            << "32";
    QTest::newRow("other calls") << "3D2AB"
                                 << "3D2"
                                 << "32";
}

void TestTemplateInputs::wholeCallFindsOnlyItsOwnStation() {
    QFETCH(QString, call);
    const QString text = "Fiji:                     32:  56:  OC:  -17.78:  -177.92:   -12.0:  3D2:\n"
                         "    3D2,=3D2AB;\n"
                         "Conway Reef:              32:  56:  OC:  -22.00:  -175.00:   -12.0:  3D2/c:\n"
                         "    =3D2C,=3D2CR(31),=3D2CRX7,=3D2,=3D2/R;\n";
    ReferenceData data(parseCty(text, "cty.dat"));
    data.addWholeCalls();
    const PrefRow* row = data.lookUp(call);
    QVERIFY(row);
    QTEST(row->dxccPrefix, "entity");
    QTEST(row->cqZone, "cqZone");
    QCOMPARE(data.wholeCallsKept, 2);
    QCOMPARE(data.wholeCallsAsPrefix, 1); // 3D2AB
    QCOMPARE(data.wholeCallsTooLong, 1);  // 3D2CRX7
    QCOMPARE(data.wholeCallsShadowed, 2); // 3D2 is a prefix; "3D2/R" is the look-up's variant of 3D2xR
}

void TestTemplateInputs::schemaSplitsIntoStatementsWithoutComments() {
    const QStringList statements = splitSqlStatements("-- the log; with a semicolon in a comment\n"
                                                      "CREATE TABLE A (x TEXT DEFAULT 'a;b');\n"
                                                      "CREATE INDEX A_x ON A (x); -- trailing\n");
    QCOMPARE(statements, (QStringList{"CREATE TABLE A (x TEXT DEFAULT 'a;b')", "CREATE INDEX A_x ON A (x)"}));
}

QTEST_GUILESS_MAIN(TestTemplateInputs)
#include "tst_template_inputs.moc"
