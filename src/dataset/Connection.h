#pragma once
// One database file, reached by an ADO-style connection string whose "DBQ=" names the file.

#include "dataset/DbError.h"

#include <QObject>
#include <QSqlDatabase>
#include <QVariant>

class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(const QString& name, QObject* parent = nullptr);
    ~Connection() override;

    void setConnectionString(const QString& s);
    QString connectionString() const;
    // The file named by "DBQ=" up to the next ";" (the whole path, whatever its length), with "\" read as
    // "/".
    static QString databaseFile(const QString& connectionString);

    // Opens the file named by the connection string; a missing file throws DbError (never creates one).
    void open();
    // Opens a file directly (worker threads, tools, tests); missing file throws.
    void openFile(const QString& path);
    void close();
    bool connected() const;
    QString fileName() const;
    QSqlDatabase db() const;

    // Runs one statement with bound values; returns the affected-row count. Throws DbError.
    int execute(const QString& sql, const QVariantList& binds = {});
    // First column of the first row, or an invalid QVariant. Throws DbError.
    QVariant scalar(const QString& sql, const QVariantList& binds = {});

    // The value as it is stored: QDate "yyyy-MM-dd", QTime "HH:mm:ss", QDateTime "yyyy-MM-dd HH:mm:ss"
    // (time only when its date is 1899-12-30), bool 0/1; anything else unchanged. execute() and
    // scalar() bind through it.
    static QVariant storedValue(const QVariant& v);

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

private:
    QString name_;
    QString dbName_; // the QSqlDatabase connection name, unique per Connection
    QString connStr_;
    QString file_;
    int txDepth_ = 0;
    bool txDoomed_ = false; // an inner rollback: the outermost commit rolls back instead
};

// Commits on commit(), rolls back when left by an exception.
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    void commit();

private:
    Connection& c_;
    bool done_ = false;
};
