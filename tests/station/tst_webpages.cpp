// The window-free part of the page windows: a page's elements and inner texts, the DX-spot
// page cut into spots with their band and mode, and the call-sign look-up's address and lines.
#include "platform/Cp1251.h"
#include "platform/HtmlElements.h"
#include "station/CallLookup.h"
#include "station/DxSpots.h"
#include "support/HostileBytes.h"

#include <QtTest>

using DxSpots::Spot;

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

class TestWebPages : public QObject {
    Q_OBJECT
private slots:
    void elementsHaveTheBrowsersInnerTexts_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("pre keeps its blanks and lines")
            << "<html><body><pre>K1ABC  14025.0\r\nDL1XYZ   x\n</pre></body></html>"
            << QStringList{"K1ABC  14025.0\r\nDL1XYZ   x\r\n", "", "K1ABC  14025.0\r\nDL1XYZ   x\r\n",
                           "K1ABC  14025.0\r\nDL1XYZ   x\r\n"};
        QTest::newRow("blocks, br, nbsp, collapsed blanks, no script")
            << "<html><head><title>T</title><script>var x;</script></head>"
               "<body><p>a  <b>b</b>\n c</p><div>d<br>e&nbsp;&nbsp;f</div></body></html>"
            << QStringList{"T\r\na b c\r\nd\r\ne  f", "T", "T", "", "a b c\r\nd\r\ne  f", "a b c", "b", "d\r\ne  f",
                           ""};
    }
    void elementsHaveTheBrowsersInnerTexts() {
        QFETCH(QString, html);
        QFETCH(QStringList, texts);
        QCOMPARE(HtmlElements::innerTexts(html), texts);
    }

    void pageBytesAreDecodedByTheirCharset() {
        const QString text = QStringLiteral("Привет");
        const QByteArray cp = "<html><head><meta charset=\"windows-1251\"></head><body>" + Cp1251::encode(text) +
                              "</body></html>";
        QCOMPARE(HtmlElements::innerTexts(HtmlElements::decode(cp)).last(), text);
        const QByteArray utf8 = "<html><body>" + text.toUtf8() + "</body></html>";
        QCOMPARE(HtmlElements::innerTexts(HtmlElements::decode(utf8, "text/html")).last(), text);
    }

    void hostilePagesAreReadOrRefused_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("elements"); // -1: any number, at least html, head and body
        const auto nested = [](const QByteArray& tag, int depth) {
            return "<html><body>" + ("<" + tag + ">").repeated(depth) + "x</body></html>";
        };
        QTest::newRow("random bytes") << randomBytes(64 * 1024, 27) << false << -1;
        QTest::newRow("truncated in a tag") << QByteArray("<html><body><pre>K1ABC  14025.0\r\nDL1</pre><sp") << false
                                            << 4;
        QTest::newRow("10 MB flat") << "<html><body>" + QByteArray(10 * 1024 * 1024, 'x') << true << 0;
        QTest::newRow("4 000 nested div are read 512 deep") << nested("div", 4000) << false << 513;
        QTest::newRow("20 000 nested div") << nested("div", 20000) << true << 0;
        QTest::newRow("100 000 nested b") << nested("b", 100000) << true << 0;
        QTest::newRow("100 000 closed nested div")
            << nested("div", 100000).replace("x<", "x" + QByteArray("</div>").repeated(100000) + "<") << true << 0;
    }
    void hostilePagesAreReadOrRefused() {
        QFETCH(QByteArray, page);
        QFETCH(bool, refused);
        QFETCH(int, elements);
        QString why;
        const QStringList texts = HtmlElements::innerTexts(HtmlElements::decode(page), &why);
        QCOMPARE(!why.isEmpty(), refused);
        if (elements >= 0)
            QCOMPARE(texts.size(), elements);
        else
            QVERIFY(texts.size() >= 3);
    }

    void pageTextIsTheLastTextBeforeTheLastNineElements_data() {
        QTest::addColumn<int>("elements");
        QTest::addColumn<QString>("text");
        QTest::newRow("the tenth from the end is empty") << 14 << "e3";
        QTest::newRow("fewer than ten") << 9 << "";
        QTest::newRow("exactly ten") << 10 << "e0";
    }
    void pageTextIsTheLastTextBeforeTheLastNineElements() {
        QFETCH(int, elements);
        QFETCH(QString, text);
        QStringList texts;
        for (int i = 0; i < elements; ++i) texts << (i < 4 ? QString("e%1").arg(i) : QString());
        QCOMPARE(DxSpots::pageText(texts), text);
    }

    void pageTextIsCutIntoTrimmedLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("each line ended") << " a \r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("last line without a break is kept") << "a\r\nlast line 12" << QStringList{"a", "last line 12"};
        QTest::newRow("LF only is one line") << "a\nb\nc" << QStringList{"a\nb\nc"};
        QTest::newRow("empty lines stay") << "a\r\n\r\nb\r\n" << QStringList{"a", "", "b"};
    }
    void pageTextIsCutIntoTrimmedLines() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(DxSpots::splitSpotText(text), lines);
    }

    void spotLinesGiveTheirFields_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        const QString blanks25(25, ' '), blanks30(30, ' ');
        QTest::newRow("whole spot") << "K1ABC  14025.0 DL1XYZ CQ CQ" + blanks25 + " 1230Z 10 Mar"
                                    << QStringList{"K1ABC", "14025.0", "DL1XYZ", "CQ CQ", "1230Z", "10 Mar"};
        QTest::newRow("call with -@") << "K1ABC-@  7005.0 DL1XYZ up 2" + blanks25 + "   0915Z 11 Mar"
                                      << QStringList{"K1ABC", "7005.0", "DL1XYZ", "up 2", "0915Z", "11 Mar"};
        QTest::newRow("comment of 30 blanks") << "UA9AA  144300.0 UA3DX " + blanks30 + " 0001Z 12 Mar"
                                              << QStringList{"UA9AA", "144300.0", "UA3DX", "", "0001Z", "12 Mar"};
        QTest::newRow("comment of 30 characters")
            << "JA1XX  1296000.0 JH1ZZ 123456789012345678901234567890 2359Z 31 Dec"
            << QStringList{"JA1XX", "1296000.0", "JH1ZZ", "123456789012345678901234567890", "2359Z", "31 Dec"};
        QTest::newRow("fewer fields") << "VK2AB  432200.0" << QStringList{"VK2AB", "432200.0", "", "", "", ""};
    }
    void spotLinesGiveTheirFields() {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        const Spot s = DxSpots::parseSpotLine(line);
        QCOMPARE((QStringList{s.dx, s.freq, s.spotter, s.comment, s.time, s.date}), fields);
    }

    void frequencyGivesBandAndMode_data() {
        QTest::addColumn<QString>("freq");
        QTest::addColumn<QString>("band");
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("mode");
        QTest::newRow("14025.0") << "14025.0" << "14" << true << "CW";
        QTest::newRow("14072.0") << "14072.0" << "14" << true << "BPSK";
        QTest::newRow("14080.0") << "14080.0" << "14" << true << "RTTY";
        QTest::newRow("14230.0 SSTV over SSB") << "14230.0" << "14" << true << "SSTV";
        QTest::newRow("14300.0") << "14300.0" << "14" << true << "SSB";
        QTest::newRow("10140.0") << "10140.0" << "10" << true << "BPSK";
        QTest::newRow("21082.0") << "21082.0" << "21" << true << "BPSK";
        QTest::newRow("24925.0") << "24925.0" << "24" << true << "BPSK";
        QTest::newRow("24935.0") << "24935.0" << "24" << true << "CW";
        QTest::newRow("144300.0 is not 14") << "144300.0" << "144" << true << "FM";
        QTest::newRow("1296000.0") << "1296000.0" << "1260" << true << "FM";
        QTest::newRow("432200.0") << "432200.0" << "430" << true << "FM";
        QTest::newRow("3599.5") << "3599.5" << "3.5" << true << "SSB";
        QTest::newRow("1840.0 is 160 m") << "1840.0" << "1.8" << true << "CW";
        QTest::newRow("2000.0 is still 160 m") << "2000.0" << "1.8" << true << "SSB";
        QTest::newRow("3650.0 is 80 m") << "3650.0" << "3.5" << true << "SSB";
        QTest::newRow("7150.0 is 40 m") << "7150.0" << "7" << true << "SSB";
        QTest::newRow("5357.0 no band") << "5357.0" << "5357.0" << false << "SSB";
        QTest::newRow("not a number") << "abc" << "abc" << false << "SSB";
    }
    void frequencyGivesBandAndMode() {
        QFETCH(QString, freq);
        QFETCH(QString, band);
        QFETCH(bool, known);
        QFETCH(QString, mode);
        const DxSpots::Band b = DxSpots::spotBand(freq);
        QCOMPARE(b.text, band);
        QCOMPARE(b.known, known);
        QCOMPARE(DxSpots::spotMode(freq), mode);
    }

    void lookupShowsTheElementsBelowThePagesHeader_data() {
        QTest::addColumn<int>("elements");
        QTest::addColumn<int>("texts");
        QTest::addColumn<QStringList>("lines");
        QStringList long145{"UA3ABC", "L12", "L13", "L14", "L15", "L16", "L20"};
        for (int i = 29; i <= 40; ++i) long145 << QString("L%1").arg(i);
        QTest::newRow("145 elements") << 145 << 41 << long145;
        QTest::newRow("104 elements") << 104 << 41 << QStringList{"UA3ABC"};
        QTest::newRow("12 usable lines") << 116 << 12 << QStringList{"UA3ABC"};
    }
    void lookupShowsTheElementsBelowThePagesHeader() {
        QFETCH(int, elements);
        QFETCH(int, texts);
        QFETCH(QStringList, lines);
        QStringList page;
        for (int i = 0; i < elements; ++i) page << (i < texts ? QString("L%1").arg(i) : QString("tail"));
        QCOMPARE(CallLookup::memoLines(page, "UA3ABC"), lines);
    }

    void lookupAddressEncodesTheCall_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("query");
        QTest::newRow("plain call") << "UA3ABC/P" << "callsign=UA3ABC/P";
        QTest::newRow("empty") << "" << "callsign=";
        QTest::newRow("& # and blank") << "A&B C#1" << "callsign=A%26B%20C%231";
    }
    void lookupAddressEncodesTheCall() {
        QFETCH(QString, call);
        QFETCH(QString, query);
        const QUrl url = CallLookup::pageUrl("http://127.0.0.1:8", call);
        QCOMPARE(url.path(), QString("/callsign.html"));
        QCOMPARE(url.query(QUrl::FullyEncoded), query);
        QVERIFY(!url.hasFragment());
    }
};

QTEST_GUILESS_MAIN(TestWebPages)
#include "tst_webpages.moc"
