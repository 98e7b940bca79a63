// Filling the QSL label from a contact and the texts of the label files.

#include "media/LabelTemplate.h"
#include "support/HostileBytes.h"

#include <QtTest>

class TestLabelTemplate : public QObject {
    Q_OBJECT

private slots:
    void builtInTemplateHasItsColumns() {
        const QStringList t = LabelTemplate::builtInTemplate();
        QCOMPARE(t.size(), 16);
        QCOMPARE(t[0], QString(26, ' '));
        QCOMPARE(t[7].indexOf("<CALL>") + 1, 22);
        QCOMPARE(t[7].indexOf("<VIA>") + 1, 74);
        QCOMPARE(t[11].indexOf("<RST>") + 1, 76);
        QCOMPARE(t[14].indexOf("<REMARK>") + 1, 46);
        QCOMPARE(t[15], QString(40, ' '));
    }

    void fillLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("rxQsl");
        QTest::addColumn<QString>("filled");
        const QString line12 = LabelTemplate::builtInTemplate()[11];
        QTest::newRow("every value, no padding")
            << line12 << "UA3ABC"
            << ""
            << ""
            << "       10.03.2024               09:05:30      14        SSB               59";
        QTest::newRow("first call only") << "<CALL> <CALL>"
                                         << "UA3ABC"
                                         << ""
                                         << ""
                                         << "UA3ABC <CALL>";
        QTest::newRow("via manager") << "<CALL> <VIA>"
                                     << "UA3ABC"
                                     << "via DL1ABC"
                                     << ""
                                     << "UA3ABC  DL1ABC";
        QTest::newRow("via in any case") << "<VIA>"
                                         << "UA3ABC"
                                         << "QSL Via DL1ABC"
                                         << ""
                                         << "QSL  DL1ABC";
        QTest::newRow("no via") << "[<VIA>]"
                                << "UA3ABC"
                                << "73"
                                << ""
                                << "[]";
        QTest::newRow("a line break in the note stays on the line")
            << "<CALL> <VIA> 73"
            << "UA3ABC"
            << "via DL1ABC\r\nQSL direct"
            << ""
            << "UA3ABC  DL1ABC  QSL direct 73";
        QTest::newRow("VIA in the call stays") << "<CALL> <VIA>"
                                               << "RA3VIA"
                                               << "via DL1ABC"
                                               << ""
                                               << "RA3VIA  DL1ABC";
        QTest::newRow("card received") << "<REMARK>"
                                       << "UA3ABC"
                                       << ""
                                       << "Y"
                                       << "Tnx QSL";
        QTest::newRow("card not received") << "<REMARK>"
                                           << "UA3ABC"
                                           << ""
                                           << ""
                                           << "Pse QSL";
    }
    void fillLine() {
        QFETCH(QString, line);
        QFETCH(QString, call);
        QFETCH(QString, note);
        QFETCH(QString, rxQsl);
        QFETCH(QString, filled);
        const LabelContact c{call, note, "10.03.2024", "09:05:30", "14", "SSB", "59", rxQsl};
        // As the print window shows it: through its work file.
        QCOMPARE(LabelTemplate::linesOf(LabelTemplate::fileText({LabelTemplate::fillLine(line, c)})),
                 QStringList{filled});
    }

    void fontFile_data() {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("bold italic") << true << true << false << QByteArray("MS Serif\r\n14\r\nBI\r\n");
        QTest::newRow("bold") << true << false << false << QByteArray("MS Serif\r\n14\r\nB\r\n");
        QTest::newRow("italic") << false << true << false << QByteArray("MS Serif\r\n14\r\nI\r\n");
        QTest::newRow("plain") << false << false << false << QByteArray("MS Serif\r\n14\r\nN\r\n");
        QTest::newRow("bold underlined") << true << false << true << QByteArray("MS Serif\r\n14\r\nN\r\n");
    }
    void fontFile() {
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(QByteArray, text);
        const TextFont f{"MS Serif", 14, bold, italic};
        QCOMPARE(LabelTemplate::fontFileText(f, underline), text);
        TextFont back{"Other", 8, !bold, !italic};
        QString error;
        QVERIFY(LabelTemplate::applyFontFile(LabelTemplate::linesOf(text), back, error));
        QCOMPARE(back, (TextFont{"MS Serif", 14, bold && !underline, italic && !underline}));
    }

    void sizeThatIsNoNumberChangesNothing() {
        TextFont f = LabelTemplate::builtInFont();
        QString error;
        QVERIFY(!LabelTemplate::applyFontFile({"Arial", "x", "B"}, f, error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(f, LabelTemplate::builtInFont());
    }

    void hostileLabelFilesAreReadOrRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lines"); // -1: any number
        QTest::addColumn<bool>("fontApplies");
        QTest::newRow("random bytes") << randomBytes(64 * 1024, 7101) << -1 << false;
        QTest::newRow("truncated font file") << QByteArray("Arial\r\n1") << 2 << true;
        QTest::newRow("10 MB without a line break") << QByteArray(10 * 1024 * 1024, 'x') << 1 << false;
        QTest::newRow("a million lines") << QByteArray("12\r\n").repeated(1000000) << 1000000 << true;
        QTest::newRow("NUL bytes") << QByteArray(1000, '\0') << 1 << false;
    }
    void hostileLabelFilesAreReadOrRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lines);
        QFETCH(bool, fontApplies);
        const QStringList read = LabelTemplate::linesOf(bytes);
        if (lines >= 0) QCOMPARE(read.size(), lines);
        TextFont f = LabelTemplate::builtInFont();
        QString error;
        QCOMPARE(LabelTemplate::applyFontFile(read, f, error), fontApplies);
        QCOMPARE(error.isEmpty(), fontApplies);
    }

    void templateLinesKeepBlanksAndCyrillic() {
        const QStringList lines{"  <CALL>  ", "", "Привет", "    "};
        const QByteArray bytes = LabelTemplate::fileText(lines);
        QVERIFY(bytes.startsWith("  <CALL>  \r\n\r\n"));
        QCOMPARE(LabelTemplate::linesOf(bytes), lines);
    }
};

QTEST_APPLESS_MAIN(TestLabelTemplate)
#include "tst_labeltemplate.moc"
