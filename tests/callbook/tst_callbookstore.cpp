// The callbook table's window-free side: the panel's two-digit birth year, and the import and
// export of the exchange file against a real callbook database.
#include "data/CallbookStore.h"
#include "dataset/Connection.h"
#include "exchange/CallbookExchange.h"
#include "support/TempDataFolder.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QtTest>

namespace {

const QDate kToday(2024, 3, 10);

QStringList fileLines(const QStringList& entries) {
    return CallbookExchange::header(int(entries.size())) + entries;
}

QBuffer* bufferOf(const QStringList& lines, QObject* parent) {
    auto* b = new QBuffer(parent);
    b->open(QIODevice::WriteOnly);
    CallbookExchange::writeLines(*b, lines);
    b->close();
    b->open(QIODevice::ReadOnly);
    return b;
}

} // namespace

class TestCallbookStore : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDataFolder> folder;
    std::unique_ptr<Connection> cb;

    // Every column of every entry, as SQLite quotes it (NULL and '' differ), by call.
    QStringList rows(const QString& where = "1 = 1") {
        QStringList out;
        QSqlQuery q(cb->db());
        q.exec("SELECT "
               "quote(Call)||'|'||quote(Name)||'|'||quote(QTH)||'|'||quote(QTHLoc)||'|'||quote(Note)||'|'||"
               "quote(EMail)||'|'||quote(Other)||'|'||quote(UpdateStamp)||'|'||quote(Birthday) FROM CB_W "
               "WHERE " +
               where + " ORDER BY Call");
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

private slots:
    void init() {
        folder = std::make_unique<TempDataFolder>();
        cb = std::make_unique<Connection>("cb");
        cb->openFile(folder->file("DB/CallBook/CBook.mdb"));
        cb->execute("INSERT INTO CB_W VALUES ('UA3ABC', 'Ivan', 'Moscow', 'KO85TS', 'QSL via buro', "
                    "'ivan@mail.ru', 0, '2024-03-01', '1970-05-15')");
    }
    void cleanup() {
        cb.reset();
        folder.reset();
    }

    void twoDigitBirthYear_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("stored");
        QTest::newRow("last century") << "15.05.70" << QDate(1970, 5, 15);
        QTest::newRow("this century") << "05.05.05" << QDate(2005, 5, 5);
        QTest::newRow("today") << "10.03.24" << QDate(2024, 3, 10);
        QTest::newRow("tomorrow is a century ago") << "11.03.24" << QDate(1924, 3, 11);
        QTest::newRow("leap day") << "29.02.00" << QDate(2000, 2, 29);
        QTest::newRow("no such day") << "31.02.80" << QDate();
        QTest::newRow("unfinished") << "15.05.7 " << QDate();
    }
    void twoDigitBirthYear() {
        QFETCH(QString, typed);
        QFETCH(QDate, stored);
        QCOMPARE(CallbookStore::birthdayFromPanel(typed, kToday), stored);
        if (stored.isValid()) QCOMPARE(CallbookStore::birthdayToPanel(stored), typed);
    }

    void importsLines_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<int>>("counts"); // count, added, updated, short call, bad
        QTest::addColumn<QStringList>("expected");
        const QString ivan =
            "'UA3ABC'|'Ivan'|'Moscow'|'KO85TS'|'QSL via buro'|'ivan@mail.ru'|27|'2024-03-10'|'1970-05-15'";
        QTest::newRow("known call keeps what the line does not improve")
            << fileLines({"UA3ABC:;Al:;M:;KO85T:;abcd:;@mail.ru:;27:;01.01.2024:;0:;"})
            << QList<int>{1, 0, 1, 0, 0} << QStringList{ivan};
        QTest::newRow("known call in lower case is replaced, not added")
            << fileLines({"ua3abc:;Ivan Petrov:;Tula:;KO85TT:;new note:;i@x.ru:;27:;0:;01.02.1971:;"})
            << QList<int>{1, 0, 1, 0, 0}
            << QStringList{
                   "'UA3ABC'|'Ivan Petrov'|'Tula'|'KO85TT'|'new note'|'i@x.ru'|27|'2024-03-10'|'1971-02-01'"};
        QTest::newRow("new call without birthday")
            << fileLines({"dl1xyz:;Hans:;Berlin:;JO62QM:;:;hans@x.de:;27:;0:;0:;"})
            << QList<int>{1, 1, 0, 0, 0}
            << QStringList{"'DL1XYZ'|'Hans'|'Berlin'|'JO62QM'|''|'hans@x.de'|27|'2024-03-10'|'00:00:00'",
                           "'UA3ABC'|'Ivan'|'Moscow'|'KO85TS'|'QSL via "
                           "buro'|'ivan@mail.ru'|0|'2024-03-01'|'1970-05-15'"};
        QTest::newRow("short call skipped but counted")
            << fileLines({"UA:;x:;", "DL1XYZ:;Hans:;"}) << QList<int>{2, 1, 0, 1, 0} << QStringList{};
        QTest::newRow("bad lines skipped, the rest imported")
            << fileLines({"DL1AAA:;A:;", "garbage", "DL1CCC:;C:;", "DL1DDDDDDDDDDDDDDDDDD:;too long:;"})
            << QList<int>{4, 2, 0, 0, 2} << QStringList{};
        QTest::newRow("a birthday that is no date reads as none")
            << fileLines({"UA3ABC:;Ivan Petrov:;:;:;:;:;27:;0:;1970-05-16:;",
                          "DL1BBB:;Bob:;::;::;::;::;::;::;xx-yy-zzzz:;"})
            << QList<int>{2, 1, 1, 0, 0}
            << QStringList{
                   "'UA3ABC'|'Ivan Petrov'|'Moscow'|'KO85TS'|'QSL via buro'|'ivan@mail.ru'|27|'2024-03-10'|"
                   "'1970-05-15'",
                   "'DL1BBB'|'Bob'|':'|':'|':'|':'|27|'2024-03-10'|'00:00:00'"};
        QTest::newRow("value holding the separator")
            << fileLines({"DL2AAA:;Jo:\\;hn:;"}) << QList<int>{1, 1, 0, 0, 0}
            << QStringList{"'DL2AAA'|'Jo:;hn'|''|''|''|''|27|'2024-03-10'|'00:00:00'"};
        QTest::newRow("header only") << fileLines({}) << QList<int>{0, 0, 0, 0, 0} << QStringList{};
        QTest::newRow("short file") << QStringList{"Zelmor-Callbook", "x", "y"} << QList<int>{0, 0, 0, 0, 0}
                                    << QStringList{};
    }
    void importsLines() {
        QFETCH(QStringList, lines);
        QFETCH(QList<int>, counts);
        QFETCH(QStringList, expected);
        QList<int> progress;
        const auto r = CallbookStore::importFile(
            *cb, *bufferOf(lines, this), kToday, [&](int done, int total) { progress << done << total; }, 2);
        QCOMPARE((QList<int>{r.count, r.added, r.updated, r.shortCall, r.bad}), counts);
        QCOMPARE(progress.mid(progress.size() - 2), (QList<int>{r.count, r.count}));
        for (const QString& row : expected)
            QVERIFY2(rows().contains(row), qPrintable(rows().join("\n")));
        QCOMPARE(rows().size(), 1 + r.added);
    }

    // A full disk stops the import with the cause the error box explains to the user.
    void aFullDiskStopsTheImportSayingSo() {
        cb->scalar(QString("PRAGMA max_page_count = %1").arg(cb->scalar("PRAGMA page_count").toInt()));
        QStringList entries;
        for (int i = 0; i < 3000; ++i)
            entries << QString("DL%1:;%2:;").arg(i).arg(QString(200, 'n'));
        try {
            CallbookStore::importFile(*cb, *bufferOf(fileLines(entries), this), kToday);
            QFAIL("the import went on past a full disk");
        } catch (const DbError& e) {
            QCOMPARE(e.kind(), DbError::Kind::DiskFull);
        }
    }

    // Whatever the bytes, the import ends, stores nothing longer than its column and leaves a
    // sound database; every line lands in exactly one of the counts.
    void anyBytesAreImportedWithoutHarm_data() {
        QTest::addColumn<QByteArray>("bytes");
        auto random = [](qsizetype size, quint32 seed) {
            QRandomGenerator g(seed);
            QByteArray b(size, Qt::Uninitialized);
            for (char& c : b)
                c = char(g.bounded(256));
            return b;
        };
        QByteArray head;
        for (const QString& l : fileLines({}))
            head += l.toLatin1() + "\r\n";
        const QByteArray entry =
            "DL1ABC:;Hans:;Berlin:;JO62QM:;note:;h@x.de:;27:;01.01.2024:;02.03.1970:;\r\n";
        QTest::newRow("random bytes") << random(64 * 1024, 1);
        QTest::newRow("random bytes after a header") << head + random(64 * 1024, 2);
        QTest::newRow("cut inside an entry") << head + entry + entry.left(30);
        QTest::newRow("cut inside the header") << head.left(20);
        QTest::newRow("10 MB of random bytes") << random(10 << 20, 3);
        QTest::newRow("one line of 10 MB") << head + "DL1ABC:;" + QByteArray(10 << 20, 'x') + ":;";
        QTest::newRow("one line of 10 MB of separators")
            << head + "DL1ABC" + QByteArray(10 << 20, ':').replace("::", ":;");
        QTest::newRow("one line of 10 MB of escaped separators")
            << head + "DL1ABC:;" + QByteArray(10 << 20, ':').replace("::", ":\\;");
        QTest::newRow("NULs") << head + QByteArray("DL\0ABC:;\0\0:;", 13) + QByteArray(4096, '\0') + "\r\n" +
                                     entry;
        QTest::newRow("line ends only") << head + QByteArray(1 << 16, '\n') + QByteArray(1 << 16, '\r');
        QTest::newRow("invalid UTF-8 in a UTF-8 file") << head + "R0AA:;\xD0\x98\xD0:;\r\n" + entry;
    }
    void anyBytesAreImportedWithoutHarm() {
        QFETCH(QByteArray, bytes);
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        const auto r = CallbookStore::importFile(*cb, in, kToday);
        QCOMPARE(r.added + r.updated + r.shortCall + r.bad, r.count);
        QCOMPARE(rows().size(), 1 + r.added);
        QCOMPARE(
            cb->scalar("SELECT MAX(MAX(length(Call)) > 20, MAX(length(Name)) > 50, MAX(length(QTH)) > 50, "
                       "MAX(length(QTHLoc)) > 10, MAX(length(Note)) > 250, MAX(length(EMail)) > 50) "
                       "FROM CB_W")
                .toInt(),
            0);
        QCOMPARE(cb->scalar("PRAGMA integrity_check").toString(), QString("ok"));
    }

    void exportThenImportGivesSameEntries() {
        cb->execute("DELETE FROM CB_W");
        const QStringList names{"Иван", "O'Brien", "tnx:;73", "a:\\;b", "", "Пётр «Петя» №1 – Ёлкин"};
        const QVariant birthdays[] = {QDate(1970, 5, 15), CallbookStore::noBirthday(),
                                      QDateTime(QDate(1980, 1, 2), QTime(10, 30, 0))};
        for (int i = 0; i < 501; ++i) {
            CallbookEntry e{QString("UA%1AB").arg(i, 4, 10, QChar('0')),
                            names.at(i % names.size()),
                            "QTH " + QString::number(i),
                            "KO85TS",
                            i % 7 ? "note:;" + QString::number(i) : "",
                            QString("op%1@x.ru").arg(i),
                            0,
                            {},
                            birthdays[i % 3]};
            CallbookStore::insert(*cb, e, kToday);
        }
        cb->execute("INSERT INTO CB_W VALUES ('UA9OLD', 'Old', '', '', '', '', 0, '2020-01-01', '00:00:00')");
        const QStringList before = rows("Other <> 0");
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        QCOMPARE(CallbookStore::exportChanged(*cb, file), 501);
        const QByteArray bytes = file.data();
        QVERIFY(bytes.contains("\r\n501:;" + QByteArray(57, '-') + "\r\n"));
        QCOMPARE(bytes.count("\r\n"), 5 + 501);
        QVERIFY(bytes.contains(
            "UA0000AB:;\xC8\xE2\xE0\xED:;QTH 0:;KO85TS:;:;op0@x.ru:;27:;10.03.2024:;15.05.1970:;\r\n"));

        cb->execute("DELETE FROM CB_W");
        file.close();
        file.open(QIODevice::ReadOnly);
        const auto r = CallbookStore::importFile(*cb, file, kToday);
        QCOMPARE(r.count, 501);
        QCOMPARE(r.added, 501);
        QCOMPARE(rows(), before);
    }
};

QTEST_GUILESS_MAIN(TestCallbookStore)
#include "tst_callbookstore.moc"
