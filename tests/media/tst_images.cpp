// The QSL card picture window after the real start-up: storing pictures per call, the prefix
// search, showing a picture with the log's current contact, saving it out and unshowable files.

#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "media/UImage.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

int pictureRows() {
    return DM->ConnectionMedia->scalar(QStringLiteral("SELECT COUNT(*) FROM Pict")).toInt();
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestImages : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;
    QTemporaryDir cards;

    // A picture file of one colour in the cards folder.
    QString card(const QString& name, const QColor& colour = Qt::red, const char* format = "JPG") {
        const QString path = cards.filePath(name);
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(colour);
        image.save(path, format);
        return path;
    }
    void add(const QString& path) {
        app->dialogs().answerOpen(path);
        FImage->ButtonAddClick();
    }
    QStringList workFiles() const { return QDir(app->folder().file("Temp")).entryList({"`*"}, QDir::Files); }
    void addContact(const QString& call) {
        FMain->EditCall->setText(call);
        FMain->EditRSRX->setText("59");
        FMain->EditRSTX->setText("59");
        FMain->ButtonSaveClick();
    }

private slots:
    void init() { app = std::make_unique<AppFixture>(); }
    void cleanup() { app.reset(); }

    void addingTakesTheCallFromTheFileName_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("call");
        QTest::newRow("two dots") << "ua3abc.qsl.jpg"
                                  << "UA3ABC";
        QTest::newRow("no dot") << "dl1xyz"
                                << "DL1XYZ";
        QTest::newRow("cyrillic") << "иван.jpg"
                                  << "ИВАН";
        QTest::newRow("long name keeps its extension") << "UA3ABC_front_side_2024.jpeg"
                                                       << "UA3ABC_FRONT_SIDE_2024";
    }
    void addingTakesTheCallFromTheFileName() {
        QFETCH(QString, file);
        QFETCH(QString, call);
        app->clock().set(QDateTime(QDate(2024, 3, 10), QTime(9, 5, 30)));
        const QString path = card(file, Qt::red, "JPG");
        add(path);
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(app->dialogs().texts().join('|')));
        Dataset* pict = DM->TableImage;
        QCOMPARE(pictureRows(), 1);
        QCOMPARE(pict->field("Call").asString(), call);
        QCOMPARE(pict->field("R1").asString(), file);
        QCOMPARE(pict->field("Date_Time").asDateTime(), QDateTime(QDate(2024, 3, 10), QTime(9, 5, 30)));
        QCOMPARE(pict->field("Fot1").asBytes(), bytesOf(path));
        // Shown, and its work file gone.
        const QColor shown = FImage->picture().pixelColor(30, 20);
        QVERIFY2(shown.red() > 200 && shown.green() < 60, qPrintable(shown.name()));
        QVERIFY(workFiles().isEmpty());

        const QString out = cards.filePath("saved");
        app->dialogs().answerSave(out);
        FImage->ButtonSaveClick();
        QCOMPARE(app->dialogs().fileRequests.last().fileName, file);
        QCOMPARE(bytesOf(out), bytesOf(path));
    }

    void searchByPrefix() {
        for (const QString& call : {"UA1AAA", "UA2BBB", "UA3CCC", "DL1DDD", "DL2EEE"})
            add(card(call + ".jpg"));
        QTest::keyClicks(FImage->EditSearch, "U");
        QCOMPARE(DM->TableImage->recordCount(), 3);
        QVERIFY(FImage->Label1->isVisibleTo(FImage));
        QTest::keyClicks(FImage->EditSearch, "A3");
        QCOMPARE(DM->TableImage->recordCount(), 1);
        QCOMPARE(DM->TableImage->field("Call").asString(), QString("UA3CCC"));
        QTest::keyClick(FImage->EditSearch, Qt::Key_Backspace); // two rows or fewer: the search resets
        QCOMPARE(FImage->EditSearch->text(), QString());
        QCOMPARE(DM->TableImage->recordCount(), 5);

        QTest::keyClicks(FImage->EditSearch, "D");
        QCOMPARE(DM->TableImage->recordCount(), 2);
        FImage->SortDate->click(); // sorting clears the search
        QCOMPARE(FImage->EditSearch->text(), QString());
        QCOMPARE(DM->TableImage->recordCount(), 5);
        QTest::keyClicks(FImage->EditSearch, "*");
        QCOMPARE(FImage->EditSearch->text(), QString());
        QVERIFY(!FImage->Label1->isVisibleTo(FImage));

        FImage->Delete1Click();
        QCOMPARE(pictureRows(), 4);
        app->dialogs().answer(DlgResult::Cancel);
        FImage->Clear1Click();
        QCOMPARE(pictureRows(), 4);
        app->dialogs().answer(DlgResult::Yes);
        FImage->Clear1Click();
        QCOMPARE(app->dialogs().lastText(), QString("Clear Images ?"));
        QCOMPARE(pictureRows(), 0);
    }

    void shownWithTheLogRow() {
        add(card("UA3ABC.jpg", Qt::blue));
        addContact("UA3ABC");
        addContact("DL1XYZ");
        FMain->ViewImagesAutoView->setChecked(true);
        QVERIFY(DM->TableLog->locate("LogCall", "UA3ABC"));
        QVERIFY(FImage->isVisible());
        QCOMPARE(DM->TableImage->field("Call").asString(), QString("UA3ABC"));
        QVERIFY(FImage->picture().pixelColor(30, 20).blue() > 200);
        QVERIFY(DM->TableLog->locate("LogCall", "DL1XYZ"));
        QVERIFY(!FImage->isVisible());
        QVERIFY(DM->TableLog->locate("LogCall", "UA3ABC"));
        QVERIFY(FImage->isVisible());
        FMain->ViewImagesAutoView->setChecked(false);
        QVERIFY(DM->TableLog->locate("LogCall", "DL1XYZ"));
        QVERIFY(FImage->isVisible());
    }

    void unshowableFileIsReportedOnce() {
        const QString notes = cards.filePath("notes.txt");
        QFile f(notes);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
        f.close();
        add(card("UA3ABC.bmp", Qt::green, "BMP"));
        add(notes);
        QCOMPARE(pictureRows(), 2);
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY(FImage->picture().isNull());
        QVERIFY(workFiles().isEmpty());
        DM->TableImage->first();
        QVERIFY(FImage->picture().pixelColor(30, 20).green() > 200);
        DM->TableImage->last();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY(workFiles().isEmpty());

        app->dialogs().answerOpen(cards.filePath("missing.jpg"));
        FImage->ButtonAdd->click();
        QCOMPARE(app->dialogs().messages.size(), 2);
        QVERIFY(app->dialogs().lastText().contains("missing.jpg"));
        QCOMPARE(pictureRows(), 2);
    }
};

QTEST_MAIN(TestImages)
#include "tst_images.moc"
