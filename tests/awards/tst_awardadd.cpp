// The award-reference window after the real start-up: look-ups by typed IOTA number and
// state code, and the window keeping its texts.

#include "awards/UAwardAdd.h"
#include "support/AppFixture.h"

#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace {

struct Island {
    QString name;
    QString entity;
};

// The first island of a number as the reference database holds it, read past the program.
Island islandInDatabase(AppFixture& app, const QString& num) {
    Island island;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("oracle"));
        db.setDatabaseName(app.folder().file(QStringLiteral("\\DB\\Work\\DB.mdb")));
        if (db.open()) {
            QSqlQuery q(db);
            q.prepare(
                QStringLiteral("SELECT IslandName, PrefDXXC FROM IOTA WHERE Num = ? ORDER BY rowid LIMIT 1"));
            q.addBindValue(num);
            if (q.exec() && q.next()) island = {q.value(0).toString(), q.value(1).toString()};
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("oracle"));
    return island;
}

void retype(QLineEdit* e, const QString& text) {
    e->clear();
    QTest::keyClicks(e, text);
}

} // namespace

class TestAwardAdd : public QObject {
    Q_OBJECT

private slots:
    void windowShowsItsGroupsAndLimits();
    void sixthCharacterOfIotaNumberFillsIsland();
    void shorterIotaNumberEmptiesIsland();
    void unknownIotaNumberEmptiesIsland();
    void stateTypedInLowerCaseIsLookedUpInUpperCase();
    void twoStatesOneAfterTheOther();
    void quoteInTheBoxesIsNoError_data();
    void quoteInTheBoxesIsNoError();
    void closeKeepsEveryText();
};

void TestAwardAdd::windowShowsItsGroupsAndLimits() {
    AppFixture app;
    QCOMPARE(FAwardAdd->windowTitle(), QStringLiteral("Awards"));
    QVERIFY(FAwardAdd->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!FAwardAdd->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!FAwardAdd->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(FAwardAdd->GroupBoxIOTA->title(), QStringLiteral(" IOTA "));
    QCOMPARE(FAwardAdd->GroupBoxUkrRuss->title(), QStringLiteral(" Ukr Russ "));
    QCOMPARE(FAwardAdd->GroupBoxWas->title(), QStringLiteral(" WAS "));
    QCOMPARE(FAwardAdd->GroupBoxUserAwA->title(), QStringLiteral(" User 1 "));
    QCOMPARE(FAwardAdd->GroupBoxUserAwB->title(), QStringLiteral(" User 2"));
    QCOMPARE(FAwardAdd->Button1->text(), QStringLiteral("Close"));
    QCOMPARE(FAwardAdd->EditIOTANum->maxLength(), 6);
    QCOMPARE(FAwardAdd->EditWASState->maxLength(), 2);
    QCOMPARE(FAwardAdd->findControl(QStringLiteral("EditUBC")), FAwardAdd->EditUBC);

    // top to bottom: the five groups, then the panel with the button (the settings hide some
    // groups; show them all here)
    const QList<QWidget*> order{FAwardAdd->GroupBoxIOTA,    FAwardAdd->GroupBoxUkrRuss,
                                FAwardAdd->GroupBoxWas,     FAwardAdd->GroupBoxUserAwA,
                                FAwardAdd->GroupBoxUserAwB, FAwardAdd->Panel1};
    for (QWidget* w : order)
        w->setVisible(true);
    FAwardAdd->ShowNonModal();
    FAwardAdd->layout()->activate();
    for (int i = 1; i < order.size(); ++i)
        QVERIFY2(order[i]->y() > order[i - 1]->y(), qPrintable(order[i]->objectName()));
    QVERIFY(FAwardAdd->Panel1->isAncestorOf(FAwardAdd->Button1));
}

void TestAwardAdd::sixthCharacterOfIotaNumberFillsIsland() {
    AppFixture app;
    const Island expected = islandInDatabase(app, QStringLiteral("EU-005"));
    QVERIFY(!expected.name.isEmpty());
    FAwardAdd->ShowNonModal();

    QTest::keyClicks(FAwardAdd->EditIOTANum, QStringLiteral("EU-00"));
    QVERIFY(FAwardAdd->EditIOTAName->text().isEmpty());
    QTest::keyClicks(FAwardAdd->EditIOTANum, QStringLiteral("5"));
    QCOMPARE(FAwardAdd->EditIOTAName->text(), expected.name);
    QCOMPARE(FAwardAdd->EditIOTADXCC->text(), expected.entity);

    // a key that leaves the text as it is looks it up again with the same result
    QTest::keyClick(FAwardAdd->EditIOTANum, Qt::Key_Left);
    QCOMPARE(FAwardAdd->EditIOTAName->text(), expected.name);
    QCOMPARE(FAwardAdd->EditIOTADXCC->text(), expected.entity);
    QVERIFY(app.dialogs().messages.isEmpty());
}

void TestAwardAdd::shorterIotaNumberEmptiesIsland() {
    AppFixture app;
    FAwardAdd->ShowNonModal();
    QTest::keyClicks(FAwardAdd->EditIOTANum, QStringLiteral("eu-005"));
    QCOMPARE(FAwardAdd->EditIOTANum->text(), QStringLiteral("EU-005"));
    QVERIFY(!FAwardAdd->EditIOTAName->text().isEmpty());

    QTest::keyClick(FAwardAdd->EditIOTANum, Qt::Key_Backspace);
    QCOMPARE(FAwardAdd->EditIOTANum->text(), QStringLiteral("EU-00"));
    QVERIFY(FAwardAdd->EditIOTAName->text().isEmpty());
    QVERIFY(FAwardAdd->EditIOTADXCC->text().isEmpty());
}

void TestAwardAdd::unknownIotaNumberEmptiesIsland() {
    AppFixture app;
    FAwardAdd->ShowNonModal();
    retype(FAwardAdd->EditIOTANum, QStringLiteral("EU-005"));
    QVERIFY(!FAwardAdd->EditIOTADXCC->text().isEmpty());
    FAwardAdd->EditIOTANum->setText(QStringLiteral("ZZ-99"));
    QTest::keyClicks(FAwardAdd->EditIOTANum, QStringLiteral("9"));
    QCOMPARE(FAwardAdd->EditIOTANum->text(), QStringLiteral("ZZ-999"));
    QVERIFY(FAwardAdd->EditIOTAName->text().isEmpty());
    QVERIFY(FAwardAdd->EditIOTADXCC->text().isEmpty());
    QVERIFY(app.dialogs().messages.isEmpty());
}

void TestAwardAdd::stateTypedInLowerCaseIsLookedUpInUpperCase() {
    AppFixture app;
    FAwardAdd->ShowNonModal();
    QTest::keyClicks(FAwardAdd->EditWASState, QStringLiteral("ca"));
    QCOMPARE(FAwardAdd->EditWASState->text(), QStringLiteral("CA"));
    QCOMPARE(FAwardAdd->EditWASName->text(), QStringLiteral("California"));
    QTest::keyClick(FAwardAdd->EditWASState, Qt::Key_Backspace);
    QVERIFY(FAwardAdd->EditWASName->text().isEmpty());
}

void TestAwardAdd::twoStatesOneAfterTheOther() {
    AppFixture app;
    FAwardAdd->ShowNonModal();
    retype(FAwardAdd->EditWASState, QStringLiteral("NY"));
    QCOMPARE(FAwardAdd->EditWASName->text(), QStringLiteral("New York"));
    retype(FAwardAdd->EditWASState, QStringLiteral("tx"));
    QCOMPARE(FAwardAdd->EditWASName->text(), QStringLiteral("Texas"));
    retype(FAwardAdd->EditWASState, QStringLiteral("QQ"));
    QVERIFY(FAwardAdd->EditWASName->text().isEmpty());
    QVERIFY(app.dialogs().messages.isEmpty());
}

void TestAwardAdd::quoteInTheBoxesIsNoError_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("nameBox");
    QTest::newRow("IOTA number") << "EditIOTANum"
                                 << "EU'005"
                                 << "EditIOTAName";
    QTest::newRow("IOTA number of quotes") << "EditIOTANum"
                                           << "''''''"
                                           << "EditIOTAName";
    QTest::newRow("state") << "EditWASState"
                           << "'x"
                           << "EditWASName";
    QTest::newRow("state of quotes") << "EditWASState"
                                     << "''"
                                     << "EditWASName";
}

void TestAwardAdd::quoteInTheBoxesIsNoError() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, nameBox);
    AppFixture app;
    FAwardAdd->ShowNonModal();
    auto* edit = qobject_cast<QLineEdit*>(FAwardAdd->findControl(box));
    auto* name = qobject_cast<QLineEdit*>(FAwardAdd->findControl(nameBox));
    QVERIFY(edit && name);
    name->setText(QStringLiteral("stale"));
    QTest::keyClicks(edit, text);
    QCOMPARE(edit->text(), text.toUpper());
    QVERIFY2(app.dialogs().messages.isEmpty(), qPrintable(app.dialogs().texts().join('\n')));
    QVERIFY(name->text().isEmpty());
}

void TestAwardAdd::closeKeepsEveryText() {
    AppFixture app;
    FAwardAdd->ShowNonModal();
    QVERIFY(FAwardAdd->isVisible());
    retype(FAwardAdd->EditIOTANum, QStringLiteral("EU-005"));
    retype(FAwardAdd->EditWASState, QStringLiteral("CA"));
    const QList<QLineEdit*> boxes = FAwardAdd->findChildren<QLineEdit*>();
    QVERIFY(boxes.size() >= 14);
    for (QLineEdit* e : boxes)
        if (e->text().isEmpty()) e->setText(e->objectName().right(3));
    QMap<QString, QString> before;
    for (QLineEdit* e : boxes)
        before[e->objectName()] = e->text();

    FAwardAdd->Button1->click();
    QVERIFY(!FAwardAdd->isVisible());
    FAwardAdd->ShowNonModal();
    QVERIFY(FAwardAdd->isVisible());
    for (QLineEdit* e : boxes)
        QCOMPARE(e->text(), before.value(e->objectName()));
    QCOMPARE(FAwardAdd->EditWASName->text(), QStringLiteral("California"));
}

QTEST_MAIN(TestAwardAdd)
#include "tst_awardadd.moc"
