#include "dataset/Connection.h"

#include "dataset/FilterParser.h"
#include "dataset/StoredValue.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <atomic>
#include <sqlite3.h>
#include <utility>

namespace {

std::atomic<int> connectionCounter{0};

QString driverText(const QSqlError& e) {
    const QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    return text.isEmpty() ? QStringLiteral("Unknown database error") : text;
}

// SQLITE_BUSY: another connection holds the lock.
bool isBusy(const QSqlError& e) {
    return e.nativeErrorCode() == QLatin1String("5");
}

// What a failed write tells the user, from SQLite's result code (primary or extended).
DbError::Kind writeFault(const QSqlError& e) {
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    if (!ok) return DbError::Kind::Other;
    switch (code & 0xff) {
    case SQLITE_FULL:
        return DbError::Kind::DiskFull;
    case SQLITE_IOERR:
        return DbError::Kind::DiskIo;
    case SQLITE_READONLY:
        return DbError::Kind::ReadOnly;
    case SQLITE_CANTOPEN:
        return DbError::Kind::CannotOpen;
    default:
        return DbError::Kind::Other;
    }
}

} // namespace

DbError failedWrite(const QSqlError& e) {
    return DbError(driverText(e), writeFault(e));
}

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
        // Reads never wait; writes set their own wait.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        if (!db.open()) {
            const QString why = driverText(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(dbName_);
            throw DbError(QStringLiteral("Database file \"%1\": cannot open (%2)").arg(path, why),
                          DbError::Kind::CannotOpen);
        }
        // A file that is not a database opens fine; its first read fails.
        QSqlQuery probe(db);
        const bool readable = probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) &&
                              probe.exec(QStringLiteral("PRAGMA foreign_keys=OFF")) &&
                              probe.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        if (!readable) {
            const QString why = driverText(probe.lastError());
            probe = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(dbName_);
            throw DbError(QStringLiteral("Database file \"%1\": cannot open (%2)").arg(path, why),
                          DbError::Kind::CannotOpen);
        }
        // Readers go on while another program writes. A file that cannot switch (a read-only
        // folder, another program holding it right now) keeps its rollback journal and works as before.
        probe.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    }
    file_ = path;
    txDepth_ = 0;
    txDoomed_ = false;
    busyTimeout_ = 0;
    lockReported_ = false;
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

void Connection::setWriteWait(int ms) {
    writeWait_ = std::max(0, ms);
}

int Connection::writeWait() const {
    return writeWait_;
}

void Connection::setBusyTimeout(int ms) {
    if (ms == busyTimeout_) return;
    QSqlQuery q(db());
    if (q.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(ms))) busyTimeout_ = ms;
}

void Connection::fail(const QSqlError& e, Access access) {
    const QString why = driverText(e);
    if (!isBusy(e)) throw DbError(why, access == Access::Read ? DbError::Kind::Other : writeFault(e));
    const QString text = QStringLiteral("The database file \"%1\" is used by another program (%2).")
                             .arg(QFileInfo(file_).fileName(), why);
    if (access == Access::Read) {
        if (lockReported_) throw DbLockRepeated(text);
        lockReported_ = true;
    }
    throw DbError(text, DbError::Kind::Locked);
}

QSqlQuery Connection::run(const QString& sql, const QVariantList& binds, Access access) {
    QSqlDatabase d = db();
    if (!d.isOpen()) throw DbError(QStringLiteral("The database connection is not open"));
    // Inside a transaction the write lock is held already; only its end may wait for readers.
    const bool startsWrite = access == Access::Write && txDepth_ == 0;
    if (startsWrite) refuseWhenMoved();
    const bool waits = access == Access::Commit || startsWrite;
    if (waits) setBusyTimeout(writeWait_);
    QSqlQuery q(d);
    q.setForwardOnly(true);
    bool ok = q.prepare(sql);
    if (ok) {
        for (const QVariant& b : binds)
            q.addBindValue(StoredValue::bound(b));
        ok = q.exec();
    }
    if (waits) setBusyTimeout(0);
    if (!ok) fail(q.lastError(), access);
    if (access == Access::Read) lockReported_ = false;
    return q;
}

sqlite3* Connection::sqliteHandle() const {
    const QSqlDatabase d = db();
    if (!d.isOpen()) return nullptr;
    const QVariant handle = d.driver()->handle();
    return qstrcmp(handle.typeName(), "sqlite3*") == 0 ? *static_cast<sqlite3* const*>(handle.constData())
                                                       : nullptr;
}

void Connection::refuseWhenMoved() {
    sqlite3* h = sqliteHandle();
    int moved = 0;
    if (h && sqlite3_file_control(h, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved)
        throw DbError(QStringLiteral("Database file \"%1\" was deleted or moved while in use").arg(file_),
                      DbError::Kind::Moved);
}

void Connection::exec(const QString& sql, Access access) {
    run(sql, {}, access);
}

QSqlQuery Connection::query(const QString& sql, const QVariantList& binds) {
    return run(sql, binds, Access::Read);
}

int Connection::execute(const QString& sql, const QVariantList& binds) {
    return run(sql, binds, Access::Write).numRowsAffected();
}

QVariant Connection::scalar(const QString& sql, const QVariantList& binds) {
    QSqlQuery q = run(sql, binds, Access::Read);
    return q.next() ? q.value(0) : QVariant();
}

std::vector<qint64> Connection::integers(const QString& sql, const QVariantList& binds) {
    sqlite3* h = sqliteHandle();
    if (!h) throw DbError(QStringLiteral("The database connection is not open"));
    sqlite3_stmt* st = nullptr;
    const auto failed = [&](int code) {
        const QSqlError e(QString(), QString::fromUtf8(sqlite3_errmsg(h)), QSqlError::StatementError,
                          QString::number(code));
        sqlite3_finalize(st);
        fail(e, Access::Read);
    };
    const QByteArray text = sql.toUtf8();
    int rc = sqlite3_prepare_v2(h, text.constData(), int(text.size()), &st, nullptr);
    if (rc != SQLITE_OK) failed(rc);
    // Bound as the driver binds them, so a filter selects the same rows either way.
    int i = 0;
    for (const QVariant& raw : binds) {
        const QVariant b = StoredValue::bound(raw);
        ++i;
        if (b.isNull()) {
            rc = sqlite3_bind_null(st, i);
            continue;
        }
        switch (b.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
            rc = sqlite3_bind_int64(st, i, b.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(st, i, b.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = b.toByteArray();
            rc = sqlite3_bind_blob(st, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QString t = b.toString();
            rc = sqlite3_bind_text16(st, i, t.utf16(), int(t.size() * sizeof(QChar)), SQLITE_TRANSIENT);
            break;
        }
        }
        if (rc != SQLITE_OK) failed(rc);
    }
    std::vector<qint64> out;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        out.push_back(sqlite3_column_int64(st, 0));
    if (rc != SQLITE_DONE) failed(rc);
    sqlite3_finalize(st);
    lockReported_ = false;
    return out;
}

void Connection::beginTransaction() {
    if (txDepth_ == 0) {
        // The write lock now, not at the first write: a lock taken half-way could find the
        // rows read so far changed by another program.
        exec(QStringLiteral("BEGIN IMMEDIATE"), Access::Write);
        txDoomed_ = false;
    }
    ++txDepth_;
}

void Connection::commit() {
    if (txDepth_ == 0) throw DbError(QStringLiteral("No transaction is active"));
    if (txDepth_ > 1) {
        --txDepth_;
        return;
    }
    if (txDoomed_) {
        rollback();
        throw DbError(QStringLiteral("The transaction was rolled back"));
    }
    try {
        exec(QStringLiteral("COMMIT"), Access::Commit);
    } catch (const DbError&) {
        rollback();
        throw;
    }
    txDepth_ = 0;
}

void Connection::rollback() {
    if (txDepth_ == 0) return;
    if (--txDepth_ > 0) {
        txDoomed_ = true;
        return;
    }
    txDoomed_ = false;
    QSqlQuery q(db());
    // SQLite ends a transaction itself on some errors (a full disk); then there is nothing to undo.
    if (!q.exec(QStringLiteral("ROLLBACK")) && !db().isOpen())
        throw DbError(QStringLiteral("The database connection is not open"));
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
        // The error that ended the scope is the one to show.
    }
}

void Transaction::commit() {
    done_ = true;
    c_.commit();
}

LargePageCache::LargePageCache(Connection& c) : c_(c), was_(c.scalar(QStringLiteral("PRAGMA cache_size"))) {
    c_.execute(QStringLiteral("PRAGMA cache_size = -65536"));
}

LargePageCache::~LargePageCache() {
    try {
        c_.execute(QStringLiteral("PRAGMA cache_size = %1").arg(was_.toLongLong()));
    } catch (const DbError&) {
        // The cache size dies with the connection anyway; the first error was reported.
    }
}

IndexesSetAside::IndexesSetAside(Connection& c, const QString& table, const QString& column) : c_(c) {
    if (!c.inTransaction())
        throw DbError(QStringLiteral("Indexes can be set aside only inside a transaction"));
    QStringList names;
    QSqlQuery q = c.query(QStringLiteral("SELECT m.name, m.sql FROM sqlite_master m WHERE m.type = 'index' "
                                         "AND m.tbl_name = ? COLLATE NOCASE AND m.sql IS NOT NULL AND EXISTS "
                                         "(SELECT 1 FROM pragma_index_info(m.name) i WHERE i.name = ? "
                                         "COLLATE NOCASE)"),
                          {table, column});
    while (q.next()) {
        names << q.value(0).toString();
        definitions_ << q.value(1).toString();
    }
    q.finish();
    for (const QString& name : names)
        c.execute(QStringLiteral("DROP INDEX ") + FilterParser::quoted(name));
}

void IndexesSetAside::restore() {
    const QStringList definitions = std::exchange(definitions_, {});
    for (const QString& sql : definitions)
        c_.execute(sql);
}
