#include "dataset/Connection.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>
#include <atomic>

namespace {

std::atomic<int> connectionCounter{0};

QString driverText(const QSqlError& e) {
    const QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    return text.isEmpty() ? QStringLiteral("Unknown database error") : text;
}

} // namespace

Connection::Connection(const QString& name, QObject* parent)
    : QObject(parent), name_(name),
      dbName_(QStringLiteral("zelmor-%1-%2").arg(name).arg(++connectionCounter)) {
    setObjectName(name);
}

Connection::~Connection() {
    close();
}

void Connection::setConnectionString(const QString& s) {
    connStr_ = s;
}

QString Connection::connectionString() const {
    return connStr_;
}

QString Connection::databaseFile(const QString& connectionString) {
    const int at = connectionString.indexOf(QLatin1String("DBQ="), 0, Qt::CaseInsensitive);
    if (at < 0) return {};
    const int from = at + 4;
    // The file runs up to the next key; a ";" inside a folder name does not end it.
    int end = connectionString.indexOf(QLatin1String(";DefaultDir="), from, Qt::CaseInsensitive);
    if (end < 0) end = connectionString.indexOf(QLatin1Char(';'), from);
    QString path = connectionString.mid(from, end < 0 ? -1 : end - from).trimmed();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A folder ending in "\" joined with a path starting with "\" gives "\\".
    static const QRegularExpression slashes(QStringLiteral("/{2,}"));
    path.replace(slashes, QStringLiteral("/"));
    return path;
}

void Connection::open() {
    const QString file = databaseFile(connStr_);
    if (file.isEmpty())
        throw DbError(QStringLiteral("Connection %1: the connection string names no file").arg(name_));
    openFile(file);
}

void Connection::openFile(const QString& path) {
    close();
    // QSQLITE would silently create a missing file.
    if (!QFileInfo(path).isFile()) throw DbError(QStringLiteral("Database file \"%1\" not found").arg(path));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), dbName_);
        db.setDatabaseName(path);
        if (!db.open()) {
            const QString why = driverText(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(dbName_);
            throw DbError(QStringLiteral("Database file \"%1\": cannot open (%2)").arg(path, why));
        }
        // A file that is not a database opens fine; its first read fails.
        QSqlQuery probe(db);
        const bool readable = probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) &&
                              probe.exec(QStringLiteral("PRAGMA foreign_keys=OFF")) &&
                              probe.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) &&
                              probe.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        if (!readable) {
            const QString why = driverText(probe.lastError());
            probe = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(dbName_);
            throw DbError(QStringLiteral("Database file \"%1\": cannot open (%2)").arg(path, why));
        }
    }
    file_ = path;
    txDepth_ = 0;
    txDoomed_ = false;
}

void Connection::close() {
    if (!QSqlDatabase::contains(dbName_)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(dbName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(dbName_);
    file_.clear();
    txDepth_ = 0;
    txDoomed_ = false;
}

bool Connection::connected() const {
    return QSqlDatabase::contains(dbName_) && QSqlDatabase::database(dbName_, false).isOpen();
}

QString Connection::fileName() const {
    return file_;
}

QSqlDatabase Connection::db() const {
    return QSqlDatabase::database(dbName_, false);
}

QVariant Connection::storedValue(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::QDate: {
        const QDate d = v.toDate();
        return d.isValid() ? QVariant(d.toString(QStringLiteral("yyyy-MM-dd"))) : QVariant();
    }
    case QMetaType::QTime: {
        const QTime t = v.toTime();
        return t.isValid() ? QVariant(t.toString(QStringLiteral("HH:mm:ss"))) : QVariant();
    }
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid()) return {};
        // The framework's zero date carries a time of day only.
        if (dt.date() == QDate(1899, 12, 30)) return dt.time().toString(QStringLiteral("HH:mm:ss"));
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    default:
        return v;
    }
}

namespace {

QSqlQuery run(const QSqlDatabase& db, const QString& sql, const QVariantList& binds) {
    if (!db.isOpen()) throw DbError(QStringLiteral("The database connection is not open"));
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) throw DbError(driverText(q.lastError()));
    for (const QVariant& b : binds)
        q.addBindValue(Connection::storedValue(b));
    if (!q.exec()) throw DbError(driverText(q.lastError()));
    return q;
}

} // namespace

int Connection::execute(const QString& sql, const QVariantList& binds) {
    QSqlQuery q = run(db(), sql, binds);
    return q.numRowsAffected();
}

QVariant Connection::scalar(const QString& sql, const QVariantList& binds) {
    QSqlQuery q = run(db(), sql, binds);
    return q.next() ? q.value(0) : QVariant();
}

void Connection::beginTransaction() {
    if (txDepth_ == 0) {
        QSqlDatabase d = db();
        if (!d.isOpen()) throw DbError(QStringLiteral("The database connection is not open"));
        if (!d.transaction()) throw DbError(driverText(d.lastError()));
        txDoomed_ = false;
    }
    ++txDepth_;
}

void Connection::commit() {
    if (txDepth_ == 0) throw DbError(QStringLiteral("No transaction is active"));
    if (--txDepth_ > 0) return;
    QSqlDatabase d = db();
    if (txDoomed_) {
        txDoomed_ = false;
        d.rollback();
        throw DbError(QStringLiteral("The transaction was rolled back"));
    }
    if (!d.commit()) {
        const QString why = driverText(d.lastError());
        d.rollback();
        throw DbError(why);
    }
}

void Connection::rollback() {
    if (txDepth_ == 0) return;
    if (--txDepth_ > 0) {
        txDoomed_ = true;
        return;
    }
    txDoomed_ = false;
    QSqlDatabase d = db();
    if (!d.rollback()) throw DbError(driverText(d.lastError()));
}

bool Connection::inTransaction() const {
    return txDepth_ > 0;
}

Transaction::Transaction(Connection& c) : c_(c) {
    c_.beginTransaction();
}

Transaction::~Transaction() {
    if (done_) return;
    try {
        c_.rollback();
    } catch (const DbError&) {
        // A destructor cannot report; the failure that brought us here is already on its way.
    }
}

void Transaction::commit() {
    done_ = true;
    c_.commit();
}
