// The QSL label windows after the real start-up: the template kept across a restart, a label
// filled from a logged contact, printed (to a recording printer and to PDF), and the QSL-sent
// date written only after a print that succeeded.

#include "app/StartUp.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "media/LabelTemplate.h"
#include "media/ULabPrin.h"
#include "media/ULabel.h"
#include "platform/QtLabelPrinter.h"
#include "support/AppFixture.h"
#include "support/FakeLabelPrinter.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Two contacts of book 1, the second one current after start-up.
void logTwoContacts(TempDataFolder& f) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "prep");
        db.setDatabaseName(f.file("DB/Log/Log_Zelmor.mdb"));
        db.open();
        QSqlQuery q(db);
        q.prepare(
            "INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogTxRst, LogRxRst, LogRxQsl, "
            "LogNotepad, LogNameLog) VALUES (?, ?, ?, ?, ?, ?, '59', ?, ?, 1)");
        for (const QVariantList& r :
             {QVariantList{"DL1XYZ", "2024-03-09", "18:00:00", "7", "CW", "599", "Y", "73"},
              QVariantList{"RA3VIA", "2024-03-10", "09:05:30", "14", "SSB", "59", "", "via DL1ABC"}}) {
            for (const QVariant& v : r)
                q.addBindValue(v);
            q.exec();
        }
    }
    QSqlDatabase::removeDatabase("prep");
}

QString placed(std::initializer_list<std::pair<int, QString>> items) {
    QString line;
    for (const auto& [column, text] : items)
        line = line.leftJustified(column - 1, ' ') + text;
    return line;
}

QStringList memo(const QPlainTextEdit* m) {
    return m->toPlainText().split('\n');
}

} // namespace

class TestLabels : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;
    FakeLabelPrinter* printer = nullptr;

    QString txQsl() {
        return DM->ConnectionLog->scalar("SELECT LogTxQsl FROM Log WHERE LogCall = 'RA3VIA'").toString();
    }
    // "QSL label Config", closed again: the label files are written.
    void closeTemplateWindow() {
        app->dialogs().onModal([](QWidget* w) {
            static_cast<TFlabel*>(w)->reject();
            return 0;
        });
        FMain->OptionsQSLLabel->trigger();
    }
    // "Print QSL Label": the window shown and activated.
    void openPrintWindow() {
        app->dialogs().onModal([](QWidget*) {
            FLabPrint->FormActivate();
            return 0;
        });
        FMain->TolsPrintQSL->trigger();
    }
    QStringList leftWorkFiles() const {
        return QDir(app->folder().path()).entryList({"*.tmp"}) +
               QDir(app->folder().file("Temp")).entryList({"*.tmp"});
    }

private slots:
    void init() {
        printer = FakeLabelPrinter::install();
        app = std::make_unique<AppFixture>(logTwoContacts);
        app->clock().set(QDateTime(QDate(2024, 3, 12), QTime(12, 0, 0)));
    }
    void cleanup() {
        app.reset();
        Printing::setPrinter(nullptr);
    }

    void templateIsKeptAcrossARestart() {
        QCOMPARE(memo(Flabel->Memo1), LabelTemplate::builtInTemplate());
        QCOMPARE(memoFont(Flabel->Memo1), LabelTemplate::builtInFont());
        closeTemplateWindow();
        QCOMPARE(bytesOf(app->folder().file("QSL_Lab.hbr")),
                 LabelTemplate::fileText(LabelTemplate::builtInTemplate()));
        QCOMPARE(bytesOf(app->folder().file("QSL_F.hbr")), QByteArray("MS Serif\r\n14\r\nBI\r\n"));

        Flabel->Memo1->setPlainText("  <CALL>  \n\nQSL via <VIA>  ");
        Flabel->chooseFont = [](const QFont&) {
            QFont f("Arial", 12);
            f.setBold(true);
            f.setUnderline(true);
            return std::optional<QFont>(f);
        };
        Flabel->Font1->trigger();
        closeTemplateWindow();
        QCOMPARE(bytesOf(app->folder().file("QSL_F.hbr")), QByteArray("Arial\r\n12\r\nN\r\n"));

        StartUp::destroyObjects();
        StartUp::createObjects();
        QCOMPARE(Flabel->Memo1->toPlainText(), QString("  <CALL>  \n\nQSL via <VIA>  "));
        QCOMPARE(memoFont(Flabel->Memo1), (TextFont{"Arial", 12, false, false}));
        openPrintWindow();
        QCOMPARE(memoFont(FLabPrint->Memo1), (TextFont{"Arial", 12, false, false}));
        QCOMPARE(memo(FLabPrint->Memo1), (QStringList{"  RA3VIA  ", "", "QSL via  DL1ABC  "}));
    }

    void labelIsFilledFromTheLoggedContact() {
        closeTemplateWindow();
        FMain->EditNote->setText("xyz"); // a note being typed is not the contact's
        openPrintWindow();
        const QStringList label = memo(FLabPrint->Memo1);
        QCOMPARE(label.size(), 16);
        QCOMPARE(label[7], placed({{22, "RA3VIA"}, {74, " DL1ABC"}}));
        QCOMPARE(label[11],
                 placed({{8, "10.03.2024"}, {33, "09:05:30"}, {47, "14"}, {57, "SSB"}, {75, "59"}}));
        QCOMPARE(label[14], placed({{46, "Pse QSL"}}));
        QCOMPARE(FLabPrint->Edit1->text(), QString("RA3VIA"));
        QVERIFY(leftWorkFiles().isEmpty());

        FLabPrint->ButtonNextClick(); // on the last contact: the same contact again
        QCOMPARE(memo(FLabPrint->Memo1), label);
        FLabPrint->ButtonPriorClick();
        QCOMPARE(FLabPrint->Edit1->text(), QString("DL1XYZ"));
        QCOMPARE(memo(FLabPrint->Memo1)[7], placed({{22, "DL1XYZ"}, {74, ""}})); // note "73": no via
        QCOMPARE(memo(FLabPrint->Memo1)[14], placed({{46, "Tnx QSL"}}));
        QVERIFY(leftWorkFiles().isEmpty());
        QCOMPARE(QDir::currentPath(), app->folder().path());
    }

    void qslDateIsWrittenOnlyAfterAPrint_data() {
        QTest::addColumn<QString>("labelFile"); // "written": the template window was closed once
        QTest::addColumn<DlgResult>("answer");
        QTest::addColumn<bool>("hasPrinter");
        QTest::addColumn<QString>("date");
        QTest::newRow("yes") << "written" << DlgResult::Yes << true << "12.03.2024";
        QTest::newRow("cancel still prints") << "written" << DlgResult::Cancel << true << "";
        QTest::newRow("no printer") << "written" << DlgResult::Yes << false << "";
        QTest::newRow("fresh data folder: the built-in template")
            << "none" << DlgResult::Yes << true << "12.03.2024";
        QTest::newRow("blank label: nothing printed, no date") << "blank" << DlgResult::Yes << true << "";
    }
    void qslDateIsWrittenOnlyAfterAPrint() {
        QFETCH(QString, labelFile);
        QFETCH(DlgResult, answer);
        QFETCH(bool, hasPrinter);
        QFETCH(QString, date);
        if (labelFile == "written") closeTemplateWindow();
        if (labelFile == "blank") {
            QFile f(app->folder().file("QSL_Lab.hbr"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("   \r\n\r\n");
        }
        openPrintWindow();
        printer->noPrinter = !hasPrinter;
        app->dialogs().answer(answer);
        FLabPrint->Button1Click();
        QCOMPARE(app->dialogs().messages.first().text, QString("Insert Date in Log ?"));
        QCOMPARE(txQsl(), date);
        QCOMPARE(printer->jobs, hasPrinter ? 1 : 0);
        if (hasPrinter) {
            QCOMPARE(printer->lines, memo(FLabPrint->Memo1));
            if (labelFile != "blank") {
                QCOMPARE(printer->lines.size(), 16);
                QCOMPARE(printer->lines[7], placed({{22, "RA3VIA"}, {74, " DL1ABC"}}));
                QCOMPARE(printer->font, LabelTemplate::builtInFont());
            }
        } else {
            QCOMPARE(app->dialogs().lastText(), QString("No printer"));
        }
    }

    // The filled label holds no placeholders; one typed into it stays when the window is
    // activated again.
    void laterActivationKeepsTheFilledLabel() {
        openPrintWindow();
        FLabPrint->Memo1->setPlainText("<CALL> typed");
        FLabPrint->FormActivate();
        QCOMPARE(FLabPrint->Memo1->toPlainText(), QString("<CALL> typed"));
        openPrintWindow(); // a new "Print QSL Label" fills again
        QCOMPARE(FLabPrint->Edit1->text(), QString("RA3VIA"));
        QCOMPARE(memo(FLabPrint->Memo1)[7], placed({{22, "RA3VIA"}, {74, " DL1ABC"}}));
    }

    void printsToPdf() {
        closeTemplateWindow();
        openPrintWindow();
        const QString pdf = app->folder().file("Temp/label.pdf");
        Printing::setPrinter(std::make_unique<QtLabelPrinter>(pdf));
        app->dialogs().answer(DlgResult::No);
        FLabPrint->Button1Click();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY(bytesOf(pdf).startsWith("%PDF"));
        QCOMPARE(txQsl(), QString());
    }

    void sizeThatIsNoNumberKeepsThePrintWindowClosed() {
        QFile f(app->folder().file("QSL_F.hbr"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Arial\r\nx\r\nB\r\n");
        f.close();
        FMain->TolsPrintQSL->trigger();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY(app->dialogs().modalShown.isEmpty());
    }
};

QTEST_MAIN(TestLabels)
#include "tst_labels.moc"
