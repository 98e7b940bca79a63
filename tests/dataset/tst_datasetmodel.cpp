// The grids' view of a dataset: display formats, columns, and the current row followed both ways.

#include "DataTestDb.h"
#include "dataset/DatasetModel.h"
#include "widgets/DBGrid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct GridFixture {
    GridFixture() {
        db.createLog();
        db.addQso(u"UA1ABC"_s, "2024-03-10", "09:05:30", "20M", 1);
        db.addQso(u"DL1XYZ"_s, "2024-03-09", "21:40:00", "40M", 1);
        db.addQso(u"JA1AA"_s, "2024-03-11", "08:00:00", "20M", 1);
        log.setConnection(&db.conn);
        log.setTableName(u"Log"_s);
        source.setDataSet(&log);
    }
    DataTestDb db;
    Dataset log;
    DataSource source;
};

void addLogColumns(DatasetModel& m) {
    m.addColumn({u"LogCall"_s, u"Callsignal"_s, true, {}, 0});
    m.addColumn({u"LogDate"_s, u"Date"_s, true, u"dd.mm.yy"_s, 0});
    m.addColumn({u"LogTime"_s, u"Time"_s, true, u"hh:mm"_s, 0});
    m.addColumn({u"LogBand"_s, u"Band"_s, false, {}, 0});
}

QString cell(const QAbstractItemModel& m, int row, int column) {
    return m.data(m.index(row, column)).toString();
}

} // namespace

class DatasetModelTest : public QObject {
    Q_OBJECT
private slots:
    void dateTimeFormats_data();
    void dateTimeFormats();
    void displayTexts_data();
    void displayTexts();
    void modelShowsVisibleColumnsWithHeadings();
    void modelFollowsCurrentRowAndResetsWithTheRows();
    void disabledSourceLeavesTheModelAsItWasUntilEnabled();
    void postedEditRefreshesItsRowOnly();
    void gridSelectionFollowsTheDatasetAndMovesIt();
    void gridSignalsForTheWindowsHandlers();
    void readOnlyGridDoesNotEdit();
};

void DatasetModelTest::dateTimeFormats_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("text");
    const QDateTime morning(QDate(2024, 3, 10), QTime(9, 5, 30));
    const QDateTime evening(QDate(2024, 3, 10), QTime(21, 5, 7));
    const QDateTime timeOnly(QDate(1899, 12, 30), QTime(9, 5, 30));
    QTest::newRow("grid date") << "dd.mm.yy" << morning << "10.03.24";
    QTest::newRow("grid time: mm after hh is minutes") << "hh:mm" << morning << "09:05";
    QTest::newRow("nn is minutes") << "hh:nn:ss" << morning << "09:05:30";
    QTest::newRow("month, then minutes") << "yyyy-mm-dd hh:mm" << morning << "2024-03-10 09:05";
    QTest::newRow("short forms, slash is the date separator")
        << "d/m/yyyy h:n:s" << morning << "10.3.2024 9:5:30";
    QTest::newRow("names") << "ddd dd mmm yyyy, mmmm" << morning << "Sun 10 Mar 2024, March";
    QTest::newRow("twelve-hour clock") << "hh:nn am/pm" << evening << "09:05 pm";
    QTest::newRow("a/p") << "h:nn A/P" << evening << "9:05 P";
    QTest::newRow("quoted text kept")
        << "'Date:' dd.mm.yyyy \"at\" t" << morning << "Date: 10.03.2024 at 09:05";
    QTest::newRow("long time") << "tt" << evening << "21:05:07";
    QTest::newRow("c") << "c" << morning << "10.03.2024 09:05:30";
    QTest::newRow("time only under a date format") << "dd.mm.yy" << timeOnly << "30.12.99";
    QTest::newRow("invalid") << "dd.mm.yy" << QDateTime() << "";
}

void DatasetModelTest::dateTimeFormats() {
    QFETCH(QString, format);
    QFETCH(QDateTime, value);
    QFETCH(QString, text);
    QCOMPARE(DatasetModel::formatDateTime(value, format), text);
}

void DatasetModelTest::displayTexts_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    const int dateTime = int(FieldType::DateTime);
    const int boolean = int(FieldType::Boolean);
    const int decimal = int(FieldType::Decimal);
    QTest::newRow("stored date") << QVariant("2024-03-10") << dateTime << "dd.mm.yy"
                                 << "10.03.24";
    QTest::newRow("stored time") << QVariant("21:40:00") << dateTime << "hh:mm"
                                 << "21:40";
    QTest::newRow("date without format") << QVariant("2024-03-10") << dateTime << ""
                                         << "10.03.2024";
    QTest::newRow("date and time without format") << QVariant("2024-03-10 21:40:00") << dateTime << ""
                                                  << "10.03.2024 21:40:00";
    QTest::newRow("null date") << QVariant() << dateTime << "dd.mm.yy"
                               << "";
    QTest::newRow("text that is no date") << QVariant("soon") << dateTime << "dd.mm.yy"
                                          << "soon";
    QTest::newRow("yes") << QVariant(1) << boolean << ""
                         << "True";
    QTest::newRow("no") << QVariant(0) << boolean << ""
                        << "False";
    QTest::newRow("yes with words") << QVariant(1) << boolean << "Yes;No"
                                    << "Yes";
    QTest::newRow("no with words") << QVariant(0) << boolean << "Yes;No"
                                   << "No";
    QTest::newRow("decimal comma") << QVariant(14.074) << decimal << ""
                                   << "14,074";
    QTest::newRow("fixed decimals") << QVariant(14.074) << decimal << "0.00"
                                    << "14,07";
    QTest::newRow("optional decimals") << QVariant(14.5) << decimal << "0.###"
                                       << "14,5";
}

void DatasetModelTest::displayTexts() {
    QFETCH(QVariant, stored);
    QFETCH(int, type);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QCOMPARE(DatasetModel::displayText(stored, FieldType(type), format), text);
}

void DatasetModelTest::modelShowsVisibleColumnsWithHeadings() {
    GridFixture f;
    DatasetModel m;
    m.setDataSource(&f.source);
    f.log.open();
    // No columns set up: every field under its own name.
    QCOMPARE(m.columnCount(), int(f.log.fieldDefs().size()));
    QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), u"LogCall"_s);

    addLogColumns(m);
    QCOMPARE(m.rowCount(), 3);
    QCOMPARE(m.columnCount(), 3);
    QCOMPARE(m.headerData(0, Qt::Horizontal).toString(), u"Callsignal"_s);
    QCOMPARE(cell(m, 1, 0), u"DL1XYZ"_s);
    QCOMPARE(cell(m, 1, 1), u"09.03.24"_s);
    QCOMPARE(cell(m, 1, 2), u"21:40"_s);
    QVERIFY(!m.columnVisible(u"LogBand"_s));
    m.setColumnVisible(u"LogBand"_s, true);
    QVERIFY(m.columnVisible(u"LogBand"_s));
    QCOMPARE(m.columnCount(), 4);
    QCOMPARE(m.columnOf(u"LogBand"_s), 3);
    QCOMPARE(cell(m, 1, 3), u"40M"_s);
    m.setColumnVisible(u"LogDate"_s, false);
    QCOMPARE(m.columnCount(), 3);
    QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), u"Time"_s);
}

void DatasetModelTest::modelFollowsCurrentRowAndResetsWithTheRows() {
    GridFixture f;
    DatasetModel m;
    addLogColumns(m);
    m.setDataSource(&f.source);
    QCOMPARE(m.currentRow(), -1);
    QSignalSpy current(&m, &DatasetModel::currentRowChanged);
    QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
    f.log.open();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(m.property("currentRow").toInt(), 0);
    f.log.last();
    QCOMPARE(m.currentRow(), 2);
    QCOMPARE(current.count(), 2);
    reset.clear();
    f.log.setFilter(u"LogBand = '20M'"_s);
    f.log.setFiltered(true);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE(m.currentRow(), 0);
    f.log.close();
    QCOMPARE(m.rowCount(), 0);
    QCOMPARE(m.currentRow(), -1);
}

void DatasetModelTest::disabledSourceLeavesTheModelAsItWasUntilEnabled() {
    GridFixture f;
    DatasetModel m;
    addLogColumns(m);
    m.setDataSource(&f.source);
    f.log.open();
    f.source.setEnabled(false);
    f.log.setFilter(u"LogBand = '40M'"_s);
    f.log.setFiltered(true);
    QCOMPARE(m.rowCount(), 3);
    QCOMPARE(cell(m, 2, 0), QString()); // no longer there: empty, never a stale or invalid read
    f.source.setEnabled(true);
    QCOMPARE(m.rowCount(), 1);
    QCOMPARE(cell(m, 0, 0), u"DL1XYZ"_s);
}

void DatasetModelTest::postedEditRefreshesItsRowOnly() {
    GridFixture f;
    DatasetModel m;
    addLogColumns(m);
    m.setDataSource(&f.source);
    f.log.open();
    f.log.next();
    QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
    f.log.edit();
    f.log.setValue(u"LogCall"_s, u"DL9AA"_s);
    f.log.post();
    QCOMPARE(reset.count(), 0);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toModelIndex().row(), 1);
    QCOMPARE(changed.first().at(1).toModelIndex().row(), 1);
    QCOMPARE(cell(m, 1, 0), u"DL9AA"_s);
}

void DatasetModelTest::gridSelectionFollowsTheDatasetAndMovesIt() {
    GridFixture f;
    DBGrid grid;
    grid.setObjectName(u"DBGridLog"_s);
    grid.setDataSource(&f.source);
    grid.addColumn(u"LogCall"_s, u"Callsignal"_s);
    grid.addColumn(u"LogDate"_s, u"Date"_s, u"dd.mm.yy"_s);
    grid.setRowSelect(true);
    grid.setReadOnly(true);
    grid.resize(400, 200);
    grid.show();
    f.log.open();
    QCOMPARE(grid.currentIndex().row(), 0);
    f.log.last();
    QCOMPARE(grid.currentIndex().row(), 2);
    QVERIFY(grid.selectionModel()->isRowSelected(2, {}));

    QSignalSpy data(&f.log, &Dataset::dataChange);
    grid.setCurrentIndex(grid.model()->index(1, 0));
    QCOMPARE(f.log.recNo(), 2);
    QCOMPARE(data.count(), 1);
    QCOMPARE(grid.currentIndex().row(), 1);

    QTest::keyClick(grid.viewport(), Qt::Key_Up);
    QCOMPARE(f.log.recNo(), 1);
    const QRect third = grid.visualRect(grid.model()->index(2, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(f.log.recNo(), 3);
    QCOMPARE(data.count(), 3);
    QVERIFY(grid.selectionModel()->isRowSelected(2, {}));

    // Filtering the dataset re-selects its current row in the new rows.
    f.log.setFilter(u"LogBand = '20M'"_s);
    f.log.setFiltered(true);
    QCOMPARE(grid.model()->rowCount(), 2);
    QCOMPARE(grid.currentIndex().row(), 0);
}

void DatasetModelTest::gridSignalsForTheWindowsHandlers() {
    GridFixture f;
    DBGrid grid;
    grid.setDataSource(&f.source);
    grid.resize(400, 200);
    grid.show();
    f.log.open();
    QSignalSpy enter(&grid, &DBGrid::enter);
    QSignalSpy exit(&grid, &DBGrid::exitGrid);
    QSignalSpy activate(&grid, &DBGrid::mouseActivate);
    QSignalSpy dbl(&grid, &DBGrid::dblClick);
    QList<int> order;
    connect(&grid, &DBGrid::mouseActivate, &grid, [&] { order << 1; });
    connect(&grid, &DBGrid::enter, &grid, [&] { order << 2; });

    QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&grid, &tabIn);
    QCOMPARE(enter.count(), 1);
    QCOMPARE(activate.count(), 0);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&grid, &out);
    QCOMPARE(exit.count(), 1);
    QFocusEvent windowAway(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&grid, &windowAway);
    QCOMPARE(exit.count(), 1);

    // A click that brings the focus: mouseActivate first, then enter; the press itself adds nothing.
    order.clear();
    QFocusEvent mouseIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&grid, &mouseIn);
    const QPoint onRow = grid.visualRect(grid.model()->index(1, 1)).center();
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, onRow);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, onRow);
    QCOMPARE(order, (QList<int>{1, 2}));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, onRow);
    QCOMPARE(activate.count(), 2);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, onRow);
    QCOMPARE(dbl.count(), 1);
}

void DatasetModelTest::readOnlyGridDoesNotEdit() {
    GridFixture f;
    DBGrid grid;
    grid.setDataSource(&f.source);
    f.log.open();
    const QModelIndex callCell = grid.model()->index(0, 1);
    QVERIFY(grid.model()->flags(callCell) & Qt::ItemIsEditable);
    QVERIFY(!(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable)); // the key
    QVERIFY(grid.model()->setData(callCell, u"UA1XX"_s));
    QCOMPARE(f.db.conn.scalar(u"SELECT LogCall FROM Log WHERE LogNom = 1"_s).toString(), u"UA1XX"_s);
    grid.setReadOnly(true);
    QVERIFY(grid.readOnly());
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!(grid.model()->flags(callCell) & Qt::ItemIsEditable));
    QVERIFY(!grid.model()->setData(callCell, u"UA1YY"_s));
}

QTEST_MAIN(DatasetModelTest)
#include "tst_datasetmodel.moc"
