// The callbook: a look-up in 100 000 entries, the export of 10 000 changed entries, and the import
// of exchange files of 10 000 and 100 000 entries (half of them known), through the window with
// the longest stall between two repaints of the progress window.
#include "BenchCommon.h"

#include "data/CallbookStore.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "exchange/CallbookExchange.h"
#include "logbook/UMain.h"
#include "logbook/UProgres.h"
#include "support/AppFixture.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>

namespace {

QString callOf(int i) {
    return QString("R%1X").arg(i, 6, 10, QChar('0'));
}

// A callbook of `entries` entries whose change marks are set on every other one.
void seedCallbook(const QString& file, int entries) {
    Connection c("seed");
    c.openFile(file);
    Transaction tx(c);
    for (int i = 0; i < entries; ++i)
        c.execute(
            "INSERT INTO CB_W VALUES (?, ?, 'Moscow', 'KO85TS', 'QSL via buro', 'op@x.ru', ?, '2024-03-01', "
            "'1970-05-15')",
            {callOf(i), i % 3 ? "Ivan" : "Иван", i % 2 ? 27 : 0});
    tx.commit();
}

// An exchange file of `entries` lines; every other call is known to a callbook seeded with as many.
QString writeFile(const QString& path, int entries) {
    QStringList lines = CallbookExchange::header(entries);
    for (int i = 0; i < entries; ++i)
        lines << CallbookExchange::entryLine({callOf(i % 2 ? i : entries * 2 + i), "Petr", "Tula", "KO85TT",
                                              "tnx for QSO", "p@y.ru", "27", "10.03.2024", "15.05.1970"});
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    CallbookExchange::writeLines(f, lines);
    return path;
}

// The gaps between two paints of the progress window.
class PaintGaps : public QObject {
public:
    QElapsedTimer clock;
    double longest = 0;
    qint64 last = -1;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            const qint64 now = clock.nsecsElapsed();
            if (last >= 0) longest = std::max(longest, (now - last) / 1e6);
            last = now;
        }
        return false;
    }
};

void importThroughWindow(AppFixture& fixture, const QString& file, int entries, double budgetSeconds) {
    PaintGaps gaps;
    // Shown and exposed beforehand, so that each repaint of the walk really paints.
    FProgres->show();
    QApplication::processEvents();
    FProgres->installEventFilter(&gaps);
    fixture.dialogs().answerOpen(file);
    gaps.clock.start();
    QElapsedTimer t;
    t.start();
    FMain->ImpNewCallClick();
    const double seconds = t.nsecsElapsed() / 1e9;
    FProgres->removeEventFilter(&gaps);
    const QByteArray what = QString("import %1 lines (half known), window").arg(entries).toUtf8();
    report(what.constData(), seconds, "s", budgetSeconds);
    report("  longest stall between progress repaints", gaps.longest, "ms", 100);
    std::printf("  progress window hidden after: %s\n", FProgres->isVisible() ? "no" : "yes");
    std::printf("  message: %s\n", qPrintable(fixture.dialogs().lastText()));
}

} // namespace

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    {
        AppFixture fixture([](TempDataFolder& f) { seedCallbook(f.file("DB/CallBook/CBook.mdb"), 100000); });
        std::vector<double> looks;
        for (int i = 0; i < 200; ++i) {
            FMain->EditCBCall->setText(callOf(i * 499).toLower());
            QElapsedTimer t;
            t.start();
            FMain->ButtonCBFindZelmorClick();
            looks.push_back(t.nsecsElapsed() / 1e6);
        }
        report("look-up in 100 000 entries, median", median(looks), "ms", 5);

        DM->ConnectionCB->execute("UPDATE CB_W SET Other = CASE WHEN rowid <= 10000 THEN 27 ELSE 0 END");
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QElapsedTimer t;
        t.start();
        const int written = CallbookStore::exportChanged(*DM->ConnectionCB, out);
        report("export 10 000 changed entries", t.nsecsElapsed() / 1e9, "s", 1);
        std::printf("  %d entries, %lld bytes\n", written, static_cast<long long>(out.size()));
    }
    {
        AppFixture fixture([](TempDataFolder& f) { seedCallbook(f.file("DB/CallBook/CBook.mdb"), 10000); });
        importThroughWindow(fixture, writeFile(fixture.folder().file("in10k.cbh"), 10000), 10000, 3);
    }
    {
        AppFixture fixture([](TempDataFolder& f) { seedCallbook(f.file("DB/CallBook/CBook.mdb"), 100000); });
        importThroughWindow(fixture, writeFile(fixture.folder().file("in100k.cbh"), 100000), 100000, 30);
    }
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}
