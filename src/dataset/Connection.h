#pragma once
// One database file, reached by an ADO-style connection string whose "DBQ=" names the file.
//
// Files are kept in SQLite's write-ahead journal, so reading never waits for another program
// that writes: a read fails at once when a lock blocks it all the same, and while that lock
// lasts only its first failure is reported. A write waits at most writeWait() for another
// program's lock, then fails saying the database is used by another program.

#include "dataset/DbError.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <vector>

struct sqlite3;

// The error of a failed write run outside Connection, with the cause a user can act on.
DbError failedWrite(const class QSqlError& e);

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
    // SQLite's own handle under the driver, for the few statements run without it; null when closed.
    sqlite3* sqliteHandle() const;

    // The one prepare-bind-run of the system: a forward-only query over bound values (bound in
    // their stored form), positioned before its first row. A read: never waits for a lock. Throws DbError.
    QSqlQuery query(const QString& sql, const QVariantList& binds = {});
    // Runs one statement that writes; returns the affected-row count. Throws DbError.
    int execute(const QString& sql, const QVariantList& binds = {});
    // First column of the first row, or an invalid QVariant. Throws DbError.
    QVariant scalar(const QString& sql, const QVariantList& binds = {});
    // The first column of every row as integers, read through SQLite itself: a dataset's keys
    // on every keystroke, where a value object per row cost more than the index scan. A read. Throws DbError.
    std::vector<qint64> integers(const QString& sql, const QVariantList& binds = {});

    // How long a write waits for another program's lock (milliseconds).
    void setWriteWait(int ms);
    int writeWait() const;

    // Takes the write lock at once (waiting at most writeWait()); nested calls join the outer one.
    void beginTransaction();
    void commit();
    // Rolls back once; a transaction the database already ended itself (a full disk) is not an error.
    void rollback();
    bool inTransaction() const;

private:
    enum class Access { Read, Write, Commit };
    QSqlQuery run(const QString& sql, const QVariantList& binds, Access access);
    void exec(const QString& sql, Access access);
    [[noreturn]] void fail(const class QSqlError& e, Access access);
    // A file deleted or renamed while open takes every later write with it when the connection
    // closes (it writes on into the unlinked file): asked before each write transaction, one stat.
    void refuseWhenMoved();
    void setBusyTimeout(int ms);

    QString name_;
    QString dbName_; // the QSqlDatabase connection name, unique per Connection
    QString connStr_;
    QString file_;
    int txDepth_ = 0;
    bool txDoomed_ = false; // an inner rollback: the outermost commit rolls back instead
    int writeWait_ = 2000;
    int busyTimeout_ = -1;      // what the driver was last told
    bool lockReported_ = false; // a read failed on a lock and no read has succeeded since
};

// A transaction for the life of a scope: commit() makes it stand; leaving the scope any other way
// (an error) rolls it back, and the error on its way is the one the user sees.
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& c_;
    bool done_ = false;
};

// A bulk write's page cache of 64 MB, the connection's own size back at the end: the index
// pages such a write touches lie all over the indexes, and with the default cache they are
// written out several times over.
class LargePageCache {
public:
    explicit LargePageCache(Connection& c);
    ~LargePageCache();
    LargePageCache(const LargePageCache&) = delete;
    LargePageCache& operator=(const LargePageCache&) = delete;

private:
    Connection& c_;
    QVariant was_;
};

// The indexes of a table that hold one column, dropped for a rewrite of that column in most rows
// and built again from their own stored definitions by restore(): one sort per index instead of
// two B-tree changes per row. Only inside a transaction, so that an error before restore() gets
// them back with the rollback.
class IndexesSetAside {
public:
    IndexesSetAside(Connection& c, const QString& table, const QString& column);
    IndexesSetAside(const IndexesSetAside&) = delete;
    IndexesSetAside& operator=(const IndexesSetAside&) = delete;
    void restore();

private:
    Connection& c_;
    QStringList definitions_;
};
