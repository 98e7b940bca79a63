// The program after a database failed to open: the failure is reported once, at start-up, with
// the file and the reason; typing, the clock and the settings window go on without repeating it.
#include "data/UConfig.h"
#include "data/UDM.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

const char* const kDatabases[] = {"DB/Work/cfg.mdb", "DB/Work/DB.mdb", "DB/CallBook/CBook.mdb",
                                  "DB/Log/Log_Zelmor.mdb", "DB/Log/Media.mdb"};

enum class Damage { Missing, Garbage, Everything };

void damage(TempDataFolder& f, const QString& file, Damage how) {
    if (how == Damage::Everything) {
        for (const char* db : kDatabases)
            QFile::remove(f.file(QLatin1String(db)));
        return;
    }
    QVERIFY(QFile::remove(f.file(file)));
    if (how == Damage::Garbage) {
        QFile out(f.file(file));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(4096, 'x'));
    }
}

QStringList errorTexts(const ScriptedDialogs& d) {
    QStringList out;
    for (const ShownMessage& m : d.messages)
        if (m.type == DlgType::Error || m.type == DlgType::Warning) out << m.text;
    return out;
}

} // namespace

class TestFailedDatabase : public QObject {
    Q_OBJECT
private slots:
    void reportedOnceAndTheProgramGoesOn_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("how");
        QTest::addColumn<QString>("reported"); // the file the start-up names; empty: nothing said
        QTest::addColumn<bool>("logOpens");    // the start-up ends at the failing database
        for (const char* db : kDatabases) {
            const QString f = QLatin1String(db);
            const QString name = f.section('/', -1);
            // A missing callbook is expected and switched off silently.
            const bool optional = name == QLatin1String("CBook.mdb");
            const bool media = name == QLatin1String("Media.mdb");
            QTest::addRow("missing %s", qPrintable(name))
                << f << int(Damage::Missing) << (optional ? "" : name) << (optional || media);
            QTest::addRow("damaged %s", qPrintable(name)) << f << int(Damage::Garbage) << name << media;
        }
        QTest::addRow("empty folder") << QString() << int(Damage::Everything) << "cfg.mdb" << false;
    }
    void reportedOnceAndTheProgramGoesOn() {
        QFETCH(QString, file);
        QFETCH(int, how);
        QFETCH(QString, reported);
        QFETCH(bool, logOpens);
        AppFixture app([&](TempDataFolder& f) { damage(f, file, Damage(how)); });
        const QStringList atStart = errorTexts(app.dialogs());
        if (reported.isEmpty()) {
            QVERIFY2(atStart.isEmpty(), qPrintable(atStart.join(" | ")));
        } else {
            QVERIFY2(atStart.size() == 1, qPrintable(atStart.join(" | ")));
            QVERIFY2(atStart.first().contains(reported), qPrintable(atStart.first()));
        }

        app.dialogs().clear();
        FMain->EditCall->setFocus();
        QTest::keyClicks(FMain->EditCall, "UA3AAA");
        for (int tick = 0; tick < 3; ++tick) {
            app.clock().advance(1);
            Dialogs::guarded([] { FMain->TimerRealClockTimer(); }); // as its timer runs it
        }
        QTest::keyClicks(FMain->EditCall, "B");
        // Later handlers that cannot work say at most once what is missing.
        QVERIFY2(errorTexts(app.dialogs()).size() <= 1, qPrintable(errorTexts(app.dialogs()).join(" | ")));

        // Save says why nothing can be stored, each time it is pressed, and keeps what was typed.
        app.dialogs().clear();
        FMain->ButtonSave->click();
        if (logOpens) {
            QVERIFY2(errorTexts(app.dialogs()).isEmpty(), qPrintable(errorTexts(app.dialogs()).join(" | ")));
        } else {
            QCOMPARE(errorTexts(app.dialogs()).size(), 1);
            QVERIFY(errorTexts(app.dialogs()).first().contains("Log_Zelmor.mdb"));
            QVERIFY(errorTexts(app.dialogs()).first().contains("Nothing was saved"));
            QCOMPARE(FMain->EditCall->text(), QString("UA3AAAB"));
        }

        app.dialogs().clear();
        FMain->OptionsConfig->trigger();
        QCOMPARE(app.dialogs().modalShown.size(), 1);
        QCOMPARE(app.dialogs().modalShown.first(), static_cast<QWidget*>(FConfig));
        FConfig->show(); // its show and close handlers run as the real modal show runs them
        QVERIFY(FConfig->isVisible());
        FConfig->close();
        QVERIFY2(errorTexts(app.dialogs()).isEmpty(), qPrintable(errorTexts(app.dialogs()).join(" | ")));

        // Without the settings database, Save says that nothing is kept instead of a driver error.
        FConfig->ButtonSave->click();
        const bool settingsOpen = DM->TableCfgCfg->active();
        QCOMPARE(errorTexts(app.dialogs()).size(), settingsOpen ? 0 : 1);
        if (!settingsOpen) QVERIFY(errorTexts(app.dialogs()).first().contains("cfg.mdb"));
    }
};

QTEST_MAIN(TestFailedDatabase)
#include "tst_faileddatabase.moc"
