// The contest configuration window after the real start-up: the built-in values, the points
// up-downs, configurations saved, reloaded after a restart and deleted, and stored lines that
// are refused as a whole.
#include "app/StartUp.h"
#include "contest/UContest.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "exchange/ContestConfigFile.h"
#include "support/AppFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QtTest>

namespace {

QLineEdit* cell(const QString& name) {
    return FContConf->findChild<QLineEdit*>(name);
}

QSpinBox* upDown(const QString& name) {
    return FContConf->findChild<QSpinBox*>(name);
}

// The contest rows of the settings table: "Object|Name_Param|Prim|Param".
QStringList contestRows() {
    QSqlQuery q = DM->ConnectionCfg->query(
        "SELECT Object, Name_Param, Prim, Param FROM Cfg WHERE FormName = 'FContConf' ORDER BY Num");
    QStringList out;
    while (q.next())
        out << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                           q.value(3).toString()}
                   .join('|');
    return out;
}

QStringList storedLines(const QString& name) {
    const QByteArray memo =
        DM->ConnectionCfg
            ->scalar("SELECT Memo FROM Cfg WHERE FormName = 'FContConf' AND Object = 'ContestConfig' "
                     "AND Name_Param = ?",
                     {name})
            .toByteArray();
    return QString::fromLatin1(memo).split("\r\n");
}

QStringList listed() {
    QStringList out;
    for (int i = 0; i < FContConf->ComboBox1->count(); ++i)
        out << FContConf->ComboBox1->itemText(i);
    return out;
}

void restart() {
    StartUp::destroyObjects();
    StartUp::createObjects();
    StartUp::showMainWindow();
}

// A configuration stored as the default before the start, with some of its lines replaced.
void storeDefault(TempDataFolder& f, const QMap<int, QByteArray>& lines) {
    ContestConfigValues v;
    v.name = "Stored";
    for (int i = 0; i < 56; ++i)
        v.cells << "2";
    v.startDate = QDate(2002, 1, 1);
    v.startTime = QTime(19, 50);
    v.stopDate = QDate(2002, 1, 2);
    v.stopTime = QTime(19, 59);
    QList<QByteArray> bytes = ContestConfigFile::write(v).split('\n');
    for (auto it = lines.begin(); it != lines.end(); ++it)
        bytes[it.key() - 1] = it.value() + '\r';
    Connection c("prepare");
    c.openFile(f.file("DB/Work/cfg.mdb"));
    c.execute("INSERT INTO Cfg (FormName, Object, Name_Param, Prim, Param, Memo) "
              "VALUES ('FContConf', 'ContestConfig', 'Stored', 'TFile', 'File', ?)",
              {bytes.join('\n')});
    c.execute("INSERT INTO Cfg (FormName, Object, Name_Param, Prim, Param) "
              "VALUES ('FContConf', 'DefaultContestConfig', 'DefaultContest', 'String', 'Stored')");
}

void checkBuiltInValues() {
    QCOMPARE(cell("Point18")->text(), QString("3"));
    QCOMPARE(cell("Point18s")->text(), QString("1"));
    QCOMPARE(cell("Point180")->text(), QString("0"));
    QCOMPARE(cell("Point10o")->text(), QString("0"));
    QCOMPARE(cell("PointSatr")->text(), QString("3"));
    QCOMPARE(FContConf->SPoint->value(), 1);
    QCOMPARE(FContConf->EditSen->text(), QString("001"));
    QCOMPARE(FContConf->MaskEdit1->text(), QString("1"));
    QVERIFY(FContConf->RadioGroup1Items[0]->isChecked());
    QCOMPARE(FContConf->ComboBox1->currentText(), QString());
}

} // namespace

class TestContestConf : public QObject {
    Q_OBJECT
private slots:
    void aFreshFolderHasTheBuiltInConfiguration() {
        AppFixture app;
        checkBuiltInValues();
        QVERIFY(contestRows().isEmpty());
        QVERIFY(FContConf->MaskEdit1->isHidden());
    }

    void upDownsStepTheirOwnCell_data() {
        QTest::addColumn<QString>("upDownName");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("cellName");
        QTest::addColumn<QString>("text");
        QTest::newRow("25 steps") << "UpDown14" << 25 << "Point14"
                                  << "2,5";
        QTest::newRow("to the top") << "UpDownSatr" << 100 << "PointSatr"
                                    << "10";
        QTest::newRow("past the top") << "UpDown7o" << 103 << "Point7o"
                                      << "10";
        QTest::newRow("18 MHz") << "UpDown180" << 3 << "Point180"
                                << "0,3";
        QTest::newRow("1.8 MHz untouched") << "UpDown180" << 3 << "Point18"
                                           << "3";
    }
    void upDownsStepTheirOwnCell() {
        QFETCH(QString, upDownName);
        QFETCH(int, steps);
        QFETCH(QString, cellName);
        QFETCH(QString, text);
        AppFixture app;
        for (int i = 0; i < steps; ++i)
            upDown(upDownName)->stepUp();
        QCOMPARE(cell(cellName)->text(), text);
    }

    void configurationsAreSavedReloadedAndDeleted() {
        AppFixture app;
        FContConf->ComboBox1->setEditText("ZZ");
        FContConf->ButtonSav->click();
        FContConf->ComboBox1->setEditText("ARRL DX");
        FContConf->SPoint->setValue(2);
        for (int i = 0; i < 25; ++i)
            upDown("UpDown14")->stepUp();
        FContConf->ButtonSav->click();
        QCOMPARE(app.dialogs().texts(), QStringList({"OK !!!", "OK !!!"}));
        QCOMPARE(contestRows(), QStringList({"ContestConfig|ZZ|TFile|File",
                                             "DefaultContestConfig|DefaultContest|String|ARRL DX",
                                             "ContestConfig|ARRL DX|TFile|File"}));
        const QStringList lines = storedLines("ARRL DX");
        QCOMPARE(lines.size(), 70);
        QCOMPARE(lines.mid(0, 2), QStringList({"ARRL DX", "0"}));
        QCOMPARE(lines[6], QString("2,5"));
        QCOMPARE(lines.mid(58, 9), QStringList({"False", "False", "False", "False", "2", "001", "1",
                                                "01.01.2002", "19:50:00"}));
        QCOMPARE(listed(), QStringList({"ARRL DX", "ZZ"}));
        QVERIFY(!QFile::exists(app.folder().file("Temp/contest.tmp")));

        restart();
        QCOMPARE(FContConf->ComboBox1->currentText(), QString("ARRL DX"));
        QCOMPARE(cell("Point14")->text(), QString("2,5"));
        QCOMPARE(FContConf->SPoint->value(), 2);
        // A load leaves the up-down where it stood: its first step starts from there.
        upDown("UpDown14")->stepUp();
        QCOMPARE(cell("Point14")->text(), QString("0,1"));

        // Saving a name again replaces its bytes in the same row.
        FContConf->ComboBox1->setEditText("ZZ");
        FContConf->SPoint->setValue(7);
        FContConf->ButtonSav->click();
        QCOMPARE(contestRows().size(), 3);
        QCOMPARE(storedLines("ZZ")[62], QString("7"));

        // Deleting: No keeps everything; another configuration keeps the default.
        FContConf->ComboBox1->setEditText("ARRL DX");
        app.dialogs().answer(DlgResult::No);
        FContConf->ButtonDel->click();
        QCOMPARE(contestRows().size(), 3);
        app.dialogs().answer(DlgResult::Yes);
        FContConf->ButtonDel->click();
        QCOMPARE(app.dialogs().lastText(), QString("Delete configuration ARRL DX"));
        QCOMPARE(contestRows(), QStringList({"ContestConfig|ZZ|TFile|File",
                                             "DefaultContestConfig|DefaultContest|String|ZZ"}));
        QCOMPARE(FContConf->ComboBox1->currentText(), QString("ZZ"));
        QCOMPARE(FContConf->SPoint->value(), 7);
        app.dialogs().answer(DlgResult::Yes);
        FContConf->ButtonDel->click();
        QVERIFY(contestRows().isEmpty());

        restart();
        checkBuiltInValues();
    }

    void savesThatCouldNotBeLoadedBackAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("cellText"); // put into Point14s
        QTest::newRow("one") << "A"
                             << "Please enter contest name!" << "";
        QTest::newRow("51") << QString(51, 'W') << "The contest name may have at most 50 characters." << "";
        QTest::newRow("text in a points cell")
            << "CQ WW"
            << "Line 21 of the contest configuration \"CQ WW\" would not be valid (Point14s: \"пять%'\"); "
               "nothing was saved."
            << "пять%'";
    }
    void savesThatCouldNotBeLoadedBackAreRefused() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, cellText);
        AppFixture app;
        if (!cellText.isEmpty()) cell("Point14s")->setText(cellText);
        FContConf->ComboBox1->setEditText(name);
        FContConf->ButtonSav->click();
        QCOMPARE(app.dialogs().texts(), QStringList{message});
        QVERIFY(contestRows().isEmpty());
    }

    void aStoredConfigurationIsLoadedWhole_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("serial on") << 62 << QByteArray("True") << true;
        QTest::newRow("lower-case true") << 59 << QByteArray("true") << true;
        QTest::newRow("bad time") << 67 << QByteArray("xx") << false;
        QTest::newRow("bad info") << 2 << QByteArray("DXCC") << false;
    }
    void aStoredConfigurationIsLoadedWhole() {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(bool, loaded);
        AppFixture app([&](TempDataFolder& f) { storeDefault(f, {{line, text}, {64, "057"}}); });
        if (!loaded) {
            QCOMPARE(app.dialogs().messages.size(), 1);
            QCOMPARE(app.dialogs().messages[0].type, DlgType::Error);
            QVERIFY(app.dialogs().lastText().startsWith(QString("Line %1 ").arg(line)));
            checkBuiltInValues();
            return;
        }
        QVERIFY(app.dialogs().messages.isEmpty());
        QCOMPARE(cell("Point18")->text(), QString("2"));
        QVERIFY(!FContConf->CheckBox1->isChecked());
        const bool serial = line == 62;
        QCOMPARE(FContConf->CheckBoxSen->isChecked(), serial);
        QCOMPARE(!FContConf->MaskEdit1->isHidden(), serial);
        QCOMPARE(!FContConf->UpDown1->isHidden(), serial);
        QCOMPARE(!FContConf->Label21->isHidden(), serial);
        QCOMPARE(FContConf->EditSen->isEnabled(), !serial);
        QCOMPARE(FContConf->EditSen->text(), QString("057"));
    }
};

QTEST_MAIN(TestContestConf)
#include "tst_contestconf.moc"
