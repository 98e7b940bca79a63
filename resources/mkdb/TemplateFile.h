#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// One SQLite template database. It is written under a temporary name and only takes its real name
// in finish(), so a failed run never leaves a half-written file behind.
class TemplateFile {
public:
    TemplateFile(const QString& path, const QString& schemaFile);
    ~TemplateFile();
    TemplateFile(const TemplateFile&) = delete;
    TemplateFile& operator=(const TemplateFile&) = delete;

    void insert(const QString& table, const QStringList& columns, const QList<QVariantList>& rows);
    // Statements beyond the schema file (created by the program's own code).
    void run(const QStringList& statements);
    void finish();

private:
    void exec(const QString& sql);
    void close();

    QString path_;
    QString tempPath_;
    QString connection_;
};

// The statements of a schema file, without "--" comments.
QStringList splitSqlStatements(const QString& text);
