// The window-free parts of the digital-mode links: MixW's status bar and the search by caption
// around the logbook's own window.
#include "station/DigitalLink.h"
#include "support/FakeDesktopWindows.h"

#include <QtTest>

namespace {
class SilentPanel : public LinkPanel {
public:
    QString entryText(EntryBox) const override { return {}; }
    void setEntryText(EntryBox, const QString&) override {}
    bool editingStoredContact() const override { return false; }
    bool autoLookup() const override { return false; }
    void runCallbookLookup() override {}
    void showMessage(const QString&) override {}
    void hold(DigitalProgram, const LinkReading&) override {}
    void endLink(DigitalProgram) override {}
};
} // namespace

class TestDigitalLinkSearch : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Desktop::setWindows(nullptr); }

    void splitsMixWStatus_data() {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("call, name and QTH") << "UA3ABC (Ivan, Moscow)" << QStringList{"UA3ABC", "Ivan", "Moscow"};
        QTest::newRow("no comma") << "UA3ABC (Ivan Moscow)" << QStringList{"UA3ABC", "Ivan Moscow", ""};
        QTest::newRow("call alone") << " UA3ABC " << QStringList{"UA3ABC", "", ""};
        QTest::newRow("second comma stays in the QTH")
            << "DL1AB(Hans,Berlin, DE)" << QStringList{"DL1AB", "Hans", "Berlin, DE"};
        QTest::newRow("no closing bracket") << "DL1AB (Hans" << QStringList{"DL1AB", "Hans", ""};
    }
    void splitsMixWStatus() {
        QFETCH(QString, status);
        QFETCH(QStringList, parts);
        const MixWStation s = splitMixWStatus(status);
        QCOMPARE((QStringList{s.call, s.name, s.qth}), parts);
    }

    void searchesNearestAboveThenBelow_data() {
        QTest::addColumn<QStringList>("captions"); // top to bottom; "*" is the logbook
        QTest::addColumn<int>("found");            // index into captions; -1 none
        QTest::newRow("nearest above") << QStringList{"DigiPan a", "DigiPan b", "*", "DigiPan c"} << 1;
        QTest::newRow("below when none above") << QStringList{"Editor", "*", "xDigiPan", "DigiPan d"} << 2;
        QTest::newRow("exact case") << QStringList{"*", "digipan"} << -1;
        QTest::newRow("caption read as 34 characters")
            << QStringList{"*", QString(34, 'x') + "DigiPan", QString(27, 'y') + "DigiPan"} << 2;
    }
    void searchesNearestAboveThenBelow() {
        QFETCH(QStringList, captions);
        QFETCH(int, found);
        auto* desk = FakeDesktopWindows::install();
        QList<WindowHandle> handles;
        for (const QString& c : captions)
            handles << (c == "*" ? desk->ownWindow() : desk->addTopLevel("Afx", c));
        desk->restack(handles);
        SilentPanel panel;
        DigitalLink link(DigitalProgram::DigiPan, panel);
        QCOMPARE(link.findMainWindow(), found < 0 ? 0 : handles[found]);
    }
};

QTEST_MAIN(TestDigitalLinkSearch)
#include "tst_digitallinksearch.moc"
