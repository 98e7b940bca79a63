#include "TemplateFile.h"

#include "InputError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <filesystem>

namespace {

[[noreturn]] void fail(const QString& path, const QString& what, const QSqlError& error) {
    throw InputError({path, 0}, QStringLiteral("%1: %2").arg(what, error.text()));
}

} // namespace

QStringList splitSqlStatements(const QString& text) {
    QStringList statements;
    QString current;
    bool inString = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!inString && c == QLatin1Char('-') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('-')) {
            while (i < text.size() && text.at(i) != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\'')) inString = !inString;
        if (c == QLatin1Char(';') && !inString) {
            if (!current.trimmed().isEmpty()) statements << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty()) statements << current.trimmed();
    return statements;
}

TemplateFile::TemplateFile(const QString& path, const QString& schemaFile)
    : path_(path), tempPath_(path + QStringLiteral(".tmp")), connection_(QStringLiteral("mkdb:") + path) {
    QFile schema(schemaFile);
    if (!schema.open(QIODevice::ReadOnly)) throw InputError({schemaFile, 0}, schema.errorString());
    const QStringList statements = splitSqlStatements(QString::fromUtf8(schema.readAll()));
    if (statements.isEmpty()) throw InputError({schemaFile, 0}, QStringLiteral("no statements"));

    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw InputError({path, 0}, QStringLiteral("cannot create the folder"));
    QFile::remove(tempPath_);
    try {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
            db.setDatabaseName(tempPath_);
            if (!db.open()) fail(path_, QStringLiteral("cannot create"), db.lastError());
        }
        exec(QStringLiteral("BEGIN"));
        for (const QString& statement : statements) {
            QSqlQuery query(QSqlDatabase::database(connection_, false));
            if (!query.exec(statement))
                fail(schemaFile, QStringLiteral("schema statement failed"), query.lastError());
        }
    } catch (...) {
        close();
        QFile::remove(tempPath_);
        throw;
    }
}

TemplateFile::~TemplateFile() {
    if (connection_.isEmpty()) return;
    close();
    QFile::remove(tempPath_);
}

void TemplateFile::exec(const QString& sql) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(sql)) fail(path_, sql, query.lastError());
}

void TemplateFile::run(const QStringList& statements) {
    for (const QString& sql : statements)
        exec(sql);
}

void TemplateFile::insert(const QString& table, const QStringList& columns, const QList<QVariantList>& rows) {
    QStringList marks;
    marks.fill(QStringLiteral("?"), columns.size());
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    if (!query.prepare(sql)) fail(path_, sql, query.lastError());
    for (const QVariantList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i)
            query.bindValue(int(i), row.at(i));
        if (!query.exec()) fail(path_, QStringLiteral("insert into %1").arg(table), query.lastError());
    }
}

void TemplateFile::finish() {
    exec(QStringLiteral("COMMIT"));
    close();
    std::error_code error;
    std::filesystem::rename(tempPath_.toStdString(), path_.toStdString(), error);
    if (error) throw InputError({path_, 0}, QString::fromStdString(error.message()));
    connection_.clear();
}

void TemplateFile::close() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}
