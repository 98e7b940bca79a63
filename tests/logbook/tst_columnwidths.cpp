// Boxes that feed a column of the log take no more characters than the column holds, so what was
// typed is what is stored: nothing is cut silently on the way.
#include "awards/UAwardAdd.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "widgets/TForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

namespace {

// The text size the schema of the open log database declares ("VARCHAR(20)" -> 20).
int declaredWidth(const QString& table, const QString& column) {
    const QString type = DM->ConnectionLog
                             ->scalar(QStringLiteral("SELECT type FROM pragma_table_info(?) WHERE name = ?"),
                                      {table, column})
                             .toString();
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\((\\d+)\\)")).match(type);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QLineEdit* boxNamed(const QString& window, const QString& name) {
    QWidget* w = window == "FConfig" ? static_cast<QWidget*>(FConfig)
                 : window == "FAwardAdd" ? static_cast<QWidget*>(FAwardAdd)
                                         : static_cast<QWidget*>(FMain);
    QObject* control = findNamedChild(w, name);
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->lineEdit();
    return qobject_cast<QLineEdit*>(control);
}

} // namespace

class TestColumnWidths : public QObject {
    Q_OBJECT
private slots:
    void typedTextStopsAtTheColumnWidth_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        const char* const rows[][4] = {
            {"FMain", "EditCall", "Log", "LogCall"},       {"FMain", "EditName", "Log", "LogName"},
            {"FMain", "EditQTH", "Log", "LogQth"},         {"FMain", "EditRSRX", "Log", "LogRxRst"},
            {"FMain", "EditRSTX", "Log", "LogTxRst"},      {"FMain", "EditNote", "Log", "LogNotepad"},
            {"FMain", "EditQTHLoc", "Log", "LogQTHLoc"},   {"FMain", "EditQSLSend", "Log", "LogTxQsl"},
            {"FMain", "EditQSLRcvd", "Log", "LogRxQsl"},   {"FMain", "ComboBoxBand", "Log", "LogBand"},
            {"FMain", "ComboBoxMode", "Log", "LogMode"},   {"FMain", "EditNmTx", "Log", "Log3"},
            {"FMain", "EditNmRx", "Log", "Log2"},          {"FAwardAdd", "EditIOTANum", "Log", "LogAwIOTA"},
            {"FAwardAdd", "EditWASState", "Log", "LogAwWAS"}, {"FConfig", "EditLLogName", "LogName", "Name"},
            {"FConfig", "EditAboutLog", "LogName", "Prim"}, {"FConfig", "EditName", "Log", "LogName"},
            {"FConfig", "EditQth", "Log", "LogQth"},       {"FConfig", "EditI", "Log", "LogNotepad"},
        };
        for (const auto& r : rows)
            QTest::addRow("%s.%s", r[0], r[1]) << r[0] << r[1] << r[2] << r[3];
    }
    void typedTextStopsAtTheColumnWidth() {
        QFETCH(QString, window);
        QFETCH(QString, box);
        QFETCH(QString, table);
        QFETCH(QString, column);
        AppFixture app;
        QLineEdit* e = boxNamed(window, box);
        QVERIFY(e);
        const int width = declaredWidth(table, column);
        QVERIFY(width > 0);
        e->setEnabled(true);
        e->setText(QString(300, QLatin1Char('A')));
        QVERIFY2(e->text().size() <= width, qPrintable(QString::number(e->text().size())));
        QVERIFY(e->text().size() > 0);
    }

    void aLongNameIsStoredAsTyped() {
        AppFixture app;
        FMain->EditCall->setText("DL1ABC");
        FMain->EditName->setText(QString("Maximilian-Alexander von Hohenzollern-Sigmaringen"));
        const QString shown = FMain->EditName->text();
        FMain->ButtonSave->click();
        QVERIFY(app.dialogs().messages.isEmpty());
        QCOMPARE(DM->ConnectionLog->scalar("SELECT LogName FROM Log WHERE LogCall = 'DL1ABC'").toString(), shown);
    }
};

QTEST_MAIN(TestColumnWidths)
#include "tst_columnwidths.moc"
