#include "support/GeneratedLog.h"

#include "awards/AwardMarks.h"
#include "dataset/Connection.h"

#include <QDate>
#include <QRandomGenerator>
#include <QSqlQuery>

void generateLog(const QString& logFile, int contacts) {
    static const char* prefixes[][4] = {{"UA3", "UA", "European Russia", "16"},
                                        {"UA9", "UA9", "Asiatic Russia", "17"},
                                        {"UR5", "UR", "Ukraine", "16"},
                                        {"DL1", "DL", "Fed. Rep. of Germany", "14"},
                                        {"K1", "K", "United States of America", "5"},
                                        {"W6", "K", "United States of America", "3"},
                                        {"JA1", "JA", "Japan", "25"},
                                        {"G4", "G", "England", "14"},
                                        {"F5", "F", "France", "14"},
                                        {"SP9", "SP", "Poland", "15"},
                                        {"OK1", "OK", "Czech Republic", "15"},
                                        {"VK2", "VK", "Australia", "30"},
                                        {"PY2", "PY", "Brazil", "11"},
                                        {"ZS6", "ZS", "South Africa", "38"}};
    static const char* bands[] = {"1.8", "3.5", "7", "10", "14", "18", "21", "24", "28", "50", "144"};
    static const char* modes[] = {"CW", "SSB", "RTTY", "PSK31", "FM"};
    QRandomGenerator rng(1234);
    Connection c(QStringLiteral("generator"));
    c.openFile(logFile);
    c.beginTransaction();
    QSqlQuery q(c.db());
    q.prepare(
        "INSERT INTO Log (LogCall, LogPref, LogObl, LogDate, LogTime, LogBand, LogMode, LogName, LogQth, "
        "LogRxRst, LogTxRst, LogRxQsl, Log1, LogNameLog, LogAwWAZ) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, '599', "
        "'599', ?, 'upd', 1, ?)");
    const QDate start(2015, 1, 1);
    for (int i = 0; i < contacts; ++i) {
        const auto& p = prefixes[rng.bounded(int(std::size(prefixes)))];
        QString suffix;
        for (int k = 0; k < 3; ++k)
            suffix += QChar('A' + rng.bounded(26));
        const QString call = QString::fromLatin1(p[0]) + suffix;
        const QString band = QString::fromLatin1(bands[rng.bounded(int(std::size(bands)))]);
        const QString mode = QString::fromLatin1(modes[rng.bounded(int(std::size(modes)))]);
        const bool cfm = rng.bounded(4) == 0;
        // Contacts in time order, about ten a day.
        const QDate date = start.addDays(i / 10);
        const QString time = QTime(0, 0).addSecs((i % 10) * 8000 + rng.bounded(60)).toString("HH:mm:ss");
        q.addBindValue(call);
        q.addBindValue(QString::fromLatin1(p[1]));
        q.addBindValue(QString::fromLatin1(p[2]));
        q.addBindValue(date.toString(Qt::ISODate));
        q.addBindValue(time);
        q.addBindValue(band);
        q.addBindValue(mode);
        q.addBindValue(QStringLiteral("Op%1").arg(i % 500));
        q.addBindValue(QStringLiteral("City%1").arg(i % 300));
        q.addBindValue(cfm ? QStringLiteral("Y") : QStringLiteral(""));
        q.addBindValue(QString::fromLatin1(p[3]));
        q.exec();
        const QString status = cfm ? QStringLiteral("cfm") : QStringLiteral("wkd");
        AwardMarks::markAwardCell(c, 1, {"DXCC", p[1], "", "", p[2]}, band, mode, status);
        AwardMarks::markAwardCell(c, 1, {"WAZ", p[3], "", "", ""}, band, mode, status);
    }
    c.commit();
}
