#pragma once
// A small SQLite database in a temporary folder, with tables declared the way the shipped
// databases declare theirs.

#include "dataset/Connection.h"

#include <QFile>
#include <QTemporaryDir>

class DataTestDb {
public:
    DataTestDb() : conn(QStringLiteral("test")) {
        path = dir.filePath(QStringLiteral("test.db"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.close();
        conn.openFile(path);
    }

    void exec(const QString& sql, const QVariantList& binds = {}) { conn.execute(sql, binds); }

    // Log with the columns the tests use; rows (call, date, time, band, book).
    void createLog() {
        exec(QStringLiteral(
            "CREATE TABLE Log (LogNom INTEGER PRIMARY KEY AUTOINCREMENT, "
            "LogCall VARCHAR(20) COLLATE NOCASE, LogRep VARCHAR(10) COLLATE NOCASE, "
            "LogDate DATETIME, LogTime DATETIME, LogBand VARCHAR(6) COLLATE NOCASE, "
            "LogNameLog INTEGER, LogFreq DECIMAL(18), LogQsl BOOLEAN, LogNote TEXT COLLATE NOCASE)"));
    }
    qint64 addQso(const QString& call, const QString& date, const QString& time, const QString& band,
                  int book) {
        exec(QStringLiteral(
                 "INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogNameLog) VALUES (?, ?, ?, ?, ?)"),
             {call, date, time, band, book});
        return conn.scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    }

    QTemporaryDir dir;
    QString path;
    Connection conn;
};
