// The player after the real start-up, with a fake audio device that writes real WAV files:
// recording while a call is typed, storing with the contact, playing back and deleting.

#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "media/USound.h"
#include "platform/AudioDevice.h"
#include "support/AppFixture.h"
#include "support/FakeAudioDevice.h"
#include "widgets/BoxColour.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <sndfile.h>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

qint64 framesIn(const QString& path) {
    SF_INFO info{};
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!f) return -1;
    sf_close(f);
    return info.frames;
}

int soundRows() {
    return DM->ConnectionMedia->scalar(QStringLiteral("SELECT COUNT(*) FROM Sound")).toInt();
}

QString mainCaptions() {
    return FMain->ButtonRec->text() + "/" + FMain->ButtonPlay->text();
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;
    FakeAudioDevice* audio = nullptr;

    QString temp(const QString& name) const { return app->folder().file("Temp/" + name); }
    QStringList tempWaves() const {
        return QDir(app->folder().file("Temp")).entryList({"*.wav"}, QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    void start(const std::function<void(TempDataFolder&)>& prepare = {}) {
        audio = FakeAudioDevice::install();
        app = std::make_unique<AppFixture>(prepare);
        FMain->ViewSoundAutoSave->setChecked(true);
    }
    // Types a call, records two seconds and stores it with the contact.
    void recordContact(const QString& call) {
        QTest::keyClicks(FMain->EditCall, call);
        audio->recordSeconds(2);
        FMain->EditRSRX->setText("59");
        FMain->EditRSTX->setText("59");
        FMain->ButtonSaveClick();
    }

private slots:
    void cleanup() {
        app.reset();
        Audio::setDevice(nullptr);
    }

    void recordingWhileTypingIsStoredWithTheContact_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("stored"); // null: no recording stored
        QTest::newRow("whole call") << "UA3ABC"
                                    << ""
                                    << "UA3ABC";
        QTest::newRow("three characters") << "UA3"
                                          << ""
                                          << "UA3";
        QTest::newRow("twenty characters, media file of an earlier version") << "UA3ABC/UA9ABCDEF/QRP"
                                                                             << "earlier media file"
                                                                             << "UA3ABC/UA9ABCDEF/QRP";
        QTest::newRow("edit of an older contact") << "UA3ABC"
                                                  << "edit older" << QString();
    }
    void recordingWhileTypingIsStoredWithTheContact() {
        QFETCH(QString, call);
        QFETCH(QString, situation);
        QFETCH(QString, stored);
        start([situation](TempDataFolder& f) {
            QFile(f.file("Temp/old.wav")).open(QIODevice::WriteOnly);
            if (situation.isEmpty()) return;
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "prep");
                db.setDatabaseName(
                    f.file(situation == "edit older" ? "DB/Log/Log_Zelmor.mdb" : "DB/Log/Media.mdb"));
                QVERIFY(db.open());
                if (situation == "earlier media file") {
                    db.exec("DROP TABLE Sound");
                    db.exec("CREATE TABLE Sound (DateTim DATETIME, Callsignal VARCHAR(15) COLLATE NOCASE, "
                            "Sound BLOB)");
                } else if (situation == "edit older") {
                    db.exec(
                        "INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogRxRst, LogTxRst, "
                        "LogNameLog) VALUES ('DL1XYZ', '2024-03-09', '18:00:00', '7', 'CW', '599', '599', "
                        "1)");
                }
            }
            QSqlDatabase::removeDatabase("prep");
        });
        QVERIFY2(tempWaves().isEmpty(), "work files of an earlier run are deleted at start-up");

        QTest::keyClicks(FMain->EditCall, call);
        QCOMPARE(FMain->EditCall->text(), call);
        QCOMPARE(audio->recordCount, 1); // once per contact, not per keystroke
        QCOMPARE(
            bytesOf(temp("LogS.wav")),
            DM->ConnectionCfg->scalar("SELECT Memo FROM Cfg WHERE FormName = 'Fsound' AND Prim = 'StartRec'")
                .toByteArray());
        QCOMPARE(FSound->Label1->text(), QString("Rec"));
        QCOMPARE(mainCaptions(), QString("Abort/Save"));

        audio->recordSeconds(2);
        if (situation == "edit older") {
            FMain->ButtonEditClick(); // the typed contact's recording is not the older one's
            QCOMPARE(FMain->EditCall->text(), QString("DL1XYZ"));
            QCOMPARE(mainCaptions(), QString("Rec/Play"));
        }
        FMain->EditRSRX->setText("59");
        FMain->EditRSTX->setText("59");
        app->clock().set(QDateTime(QDate(2024, 3, 10), QTime(9, 5, 30)));
        FMain->ButtonSaveClick();

        if (stored.isNull()) {
            QCOMPARE(soundRows(), 0);
            QCOMPARE(audio->recordCount, 1);
            QVERIFY(tempWaves().isEmpty());
            return;
        }
        QCOMPARE(soundRows(), 1);
        QCOMPARE(DM->TableSound->field("Callsignal").asString(), stored);
        QCOMPARE(DM->TableSound->field("DateTim").asDateTime(),
                 QDateTime(QDate(2024, 3, 10), QTime(9, 5, 30)));
        const QByteArray wav = DM->TableSound->field("Sound").asBytes();
        QTemporaryFile copy;
        QVERIFY(copy.open());
        copy.write(wav);
        copy.close();
        QCOMPARE(framesIn(copy.fileName()), qint64(16000));
        QVERIFY(tempWaves().isEmpty());
        QCOMPARE(mainCaptions(), QString("Rec/Play"));
        QCOMPARE(FMain->EditCall->text(), QString());
    }

    void playerButtonsStopSaveAndAbort() {
        start();
        // The main window's buttons; the caption language may rename the idle captions.
        FMain->ButtonRec->setText("Запись");
        FMain->EditCall->setText("UA");
        QCOMPARE(audio->recordCount, 1);
        FSound->ButtonRecClick(); // a second Rec starts again from the template
        QCOMPARE(bytesOf(temp("LogS.wav")).size(), Audio::builtInRecordingTemplate().size());

        for (int i = 0; i < 299; ++i)
            FSound->TimerGuageProgresRecTimer();
        QCOMPARE(FSound->Gauge1->maximum(), 300);
        QCOMPARE(FSound->Label1->text(), QString("Stop")); // stopped by itself, waiting
        QCOMPARE(mainCaptions(), QString("Abort/Save"));
        QVERIFY(FSound->ButtonSave->isEnabled());
        QCOMPARE(soundRows(), 0);

        QTest::mouseClick(FMain->ButtonPlay, Qt::LeftButton); // "Save": Stop, then Save
        QCOMPARE(soundRows(), 1);
        QCOMPARE(DM->TableSound->field("Callsignal").asString(), QString()); // "UA" is too short
        QCOMPARE(mainCaptions(), QString("Запись/Play"));

        QTest::mouseClick(FMain->ButtonRec, Qt::LeftButton);
        QCOMPARE(mainCaptions(), QString("Abort/Save"));
        QTest::mouseClick(FMain->ButtonRec, Qt::LeftButton); // "Abort"
        QCOMPARE(mainCaptions(), QString("Запись/Play"));
        QCOMPARE(soundRows(), 1);
        QVERIFY(tempWaves().isEmpty());

        FSound->ButtonRecClick();
        FSound->close(); // closing the player discards the recording
        QCOMPARE(soundRows(), 1);
        QVERIFY(tempWaves().isEmpty());
    }

    void playBackAndDelete() {
        start();
        recordContact("UA3ABC");
        recordContact("DL1XYZ");
        QCOMPARE(soundRows(), 2);
        DM->TableSound->first();

        QTest::mouseClick(FMain->ButtonPlay, Qt::LeftButton);
        QCOMPARE(audio->played, QStringList{temp("LogP.wav")});
        QCOMPARE(framesIn(temp("LogP.wav")), qint64(16000));
        QCOMPARE(audio->length(), qint64(2000));
        QCOMPARE(mainCaptions(), QString("Rec/Abort"));
        FSound->TimerMiganieTimer();
        QVERIFY(FMain->LabelRP->isVisibleTo(FMain));
        QCOMPARE(textColour(FMain->LabelRP), QColor(0, 255, 0));
        QCOMPARE(FMain->LabelRP->text(), QString("P"));
        FSound->TimerMiganieTimer();
        QVERIFY(!FMain->LabelRP->isVisibleTo(FMain));

        audio->setPosition(300);
        FSound->ButtonPriorClick(); // one second back stops at the start
        QCOMPARE(audio->position(), qint64(0));
        audio->setPosition(1000);
        FSound->TimerGuageProgresPlayTimer();
        QCOMPARE(FSound->Gauge1->value(), 50);
        audio->setPosition(2000); // the end of the recording ends the playback
        FSound->TimerGuageProgresPlayTimer();
        QCOMPARE(FSound->Label1->text(), QString("Stop"));
        QCOMPARE(mainCaptions(), QString("Rec/Play"));
        FSound->TimerMiganieTimer();
        QVERIFY(!FMain->LabelRP->isVisibleTo(FMain));

        FSound->DelDeleteClick();
        QCOMPARE(soundRows(), 1);
        app->dialogs().answer(DlgResult::No);
        FSound->DelClearClick();
        QCOMPARE(soundRows(), 1);
        app->dialogs().answer(DlgResult::Yes);
        FSound->DelClearClick();
        QCOMPARE(app->dialogs().lastText(), QString("Clear Sound LOG ?"));
        QCOMPARE(soundRows(), 0);

        const qsizetype played = audio->played.size();
        FSound->ButtonPlayClick(); // nothing to play
        QVERIFY(FSound->ButtonRec->isEnabled());
        QCOMPARE(audio->played.size(), played);
    }

    void zeroLengthPlaybackEndsAtOnce() {
        start();
        recordContact("UA3ABC");
        audio->reportedLength = 0;
        FSound->ButtonPlayClick();
        QCOMPARE(mainCaptions(), QString("Rec/Abort"));
        FSound->TimerGuageProgresPlayTimer(); // finished at once, no division by the length
        QCOMPARE(FSound->Gauge1->value(), 0);
        QCOMPARE(mainCaptions(), QString("Rec/Play"));
    }

    void noDeviceOneMessageAndTypingGoesOn() {
        start();
        audio->refuseOpen = true;
        QTest::keyClicks(FMain->EditCall, "UA3ABC");
        QCOMPARE(FMain->EditCall->text(), QString("UA3ABC"));
        QCOMPARE(app->dialogs().messages.size(), 1);
        QCOMPARE(app->dialogs().lastText(), QString("No capture device"));
        QCOMPARE(mainCaptions(), QString("Rec/Play"));
        QVERIFY(tempWaves().isEmpty());
        QVERIFY(audio->openCount > 1); // tried again, told once
    }

    // A recording that cannot be stored does not leave the stored contact in the panel, where
    // the next "Save" would store it a second time.
    void recordingNotStoredLeavesTheContactStoredOnce() {
        start();
        DM->ConnectionMedia->execute("CREATE TRIGGER refuse BEFORE INSERT ON Sound "
                                     "BEGIN SELECT RAISE(ABORT, 'disk refused'); END");
        QTest::keyClicks(FMain->EditCall, "UA3ABC");
        audio->recordSeconds(2);
        FMain->EditRSRX->setText("59");
        FMain->EditRSTX->setText("59");
        FMain->ButtonSave->click();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY2(app->dialogs().lastText().contains("disk refused"), qPrintable(app->dialogs().lastText()));
        QCOMPARE(DM->ConnectionLog->scalar("SELECT COUNT(*) FROM Log WHERE LogCall = 'UA3ABC'").toInt(), 1);
        QCOMPARE(soundRows(), 0);
        QCOMPARE(FMain->EditCall->text(), QString());
        FMain->ButtonSave->click();
        QCOMPARE(DM->ConnectionLog->scalar("SELECT COUNT(*) FROM Log WHERE LogCall = 'UA3ABC'").toInt(), 1);
    }
    void undeletableWorkFileIsOneErrorBox() {
        start([](TempDataFolder& f) { QDir().mkpath(f.file("Temp/stuck.wav")); });
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY(app->dialogs().lastText().contains("stuck.wav"));
    }

    void missingTemplateRowRecordsWithBuiltInHeader() {
        start([](TempDataFolder& f) {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "prep");
            db.setDatabaseName(f.file("DB/Work/cfg.mdb"));
            QVERIFY(db.open());
            db.exec("DELETE FROM Cfg WHERE FormName = 'Fsound'");
            db.exec("INSERT INTO Cfg (FormName, Object, Name_Param, Prim, Memo) VALUES "
                    "('FContConf', 'Memo1', 'Lines', 'TFile', 'not a sound')");
            db.close();
        });
        QSqlDatabase::removeDatabase("prep");
        FSound->ButtonRecClick();
        QCOMPARE(bytesOf(temp("LogS.wav")), Audio::builtInRecordingTemplate());
        QCOMPARE(audio->sampleRate, 8000);
    }
};

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
