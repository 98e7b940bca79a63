#include "dataset/TableSchema.h"

#include "dataset/Connection.h"
#include "dataset/FilterParser.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlField>
#include <QSqlRecord>
#include <QStringList>

namespace {

// What PRAGMA table_info does not tell: each column's collation and AUTOINCREMENT.
struct ColumnTraits {
    bool noCase = false;
    bool autoInc = false;
};

// The declaration's column pieces, split at top-level commas, comments blanked.
struct Piece {
    QString text;
    int from = 0; // offset of the piece in the declaration
};

std::vector<Piece> columnPieces(const QString& createSql) {
    std::vector<Piece> pieces;
    const int open = createSql.indexOf(QLatin1Char('('));
    const int close = createSql.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close <= open) return pieces;
    Piece piece{QString(), open + 1};
    int depth = 0;
    QChar quote;
    for (int i = open + 1; i < close; ++i) {
        const QChar c = createSql[i];
        if (quote.isNull() && c == QLatin1Char('-') && createSql.mid(i, 2) == QLatin1String("--")) {
            const int eol = createSql.indexOf(QLatin1Char('\n'), i);
            const int stop = eol < 0 || eol > close ? close : eol;
            piece.text += QString(stop - i, QLatin1Char(' '));
            i = stop - 1;
            continue;
        }
        if (quote.isNull() && c == QLatin1Char('/') && createSql.mid(i, 2) == QLatin1String("/*")) {
            const int end = createSql.indexOf(QLatin1String("*/"), i + 2);
            const int stop = end < 0 || end + 2 > close ? close : end + 2;
            piece.text += QString(stop - i, QLatin1Char(' '));
            i = stop - 1;
            continue;
        }
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('`')) {
            quote = c;
        } else if (c == QLatin1Char('[')) {
            quote = QLatin1Char(']');
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (c == QLatin1Char(',') && depth == 0) {
            pieces.push_back(piece);
            piece = Piece{QString(), i + 1};
            continue;
        }
        piece.text += c;
    }
    pieces.push_back(piece);
    return pieces;
}

// The column a piece declares, or empty for a table constraint.
QString pieceColumn(const QString& piece, int* nameEnd = nullptr) {
    static const QRegularExpression nameRe(
        QStringLiteral(R"re(^\s*(?:"([^"]+)"|\[([^\]]+)\]|`([^`]+)`|(\S+)))re"));
    static const QStringList constraints = {QStringLiteral("CONSTRAINT"), QStringLiteral("PRIMARY"),
                                            QStringLiteral("UNIQUE"), QStringLiteral("CHECK"),
                                            QStringLiteral("FOREIGN")};
    const auto m = nameRe.match(piece);
    if (!m.hasMatch()) return {};
    QString name;
    for (int i = 1; i <= 4 && name.isEmpty(); ++i)
        name = m.captured(i);
    if (m.captured(4) == name && constraints.contains(name.toUpper())) return {};
    if (nameEnd) *nameEnd = m.capturedEnd();
    return name;
}

QHash<QString, ColumnTraits> columnTraits(const QString& createSql) {
    static const QRegularExpression noCaseRe(QStringLiteral(R"(\bCOLLATE\s+["'`]?NOCASE\b)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression autoIncRe(QStringLiteral(R"(\bAUTOINCREMENT\b)"),
                                              QRegularExpression::CaseInsensitiveOption);
    QHash<QString, ColumnTraits> out;
    for (const Piece& p : columnPieces(createSql)) {
        const QString name = pieceColumn(p.text);
        if (name.isEmpty()) continue;
        out.insert(name.toLower(),
                   ColumnTraits{noCaseRe.match(p.text).hasMatch(), autoIncRe.match(p.text).hasMatch()});
    }
    return out;
}

FieldType metaFieldType(const QSqlField& f) {
    switch (f.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return FieldType::Integer;
    case QMetaType::Double:
        return FieldType::Float;
    case QMetaType::Bool:
        return FieldType::Boolean;
    case QMetaType::QByteArray:
        return FieldType::Blob;
    default:
        return FieldType::Text;
    }
}

} // namespace

namespace TableSchema {

std::optional<Entry> find(Connection& c, const QString& name) {
    QSqlQuery m = c.query(QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE type IN ('table', "
                                         "'view') AND name = ? COLLATE NOCASE"),
                          {name});
    if (!m.next()) return std::nullopt;
    return Entry{m.value(1).toString(), m.value(0).toString() == QLatin1String("view"),
                 m.value(2).toString()};
}

FieldType declaredType(const QString& declared, int& size) {
    const QString t = declared.toUpper();
    size = 0;
    if (t.contains(QLatin1String("BOOL")) || t == QLatin1String("BIT")) return FieldType::Boolean;
    if (t.contains(QLatin1String("INT"))) return FieldType::Integer;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) ||
        t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("MEMO")) || t.isEmpty()) {
        static const QRegularExpression sizeRe(QStringLiteral(R"(\(\s*(\d+))"));
        const auto m = sizeRe.match(t);
        if (m.hasMatch()) size = m.captured(1).toInt();
        return FieldType::Text;
    }
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME"))) return FieldType::DateTime;
    if (t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")) ||
        t.contains(QLatin1String("REAL")))
        return FieldType::Float;
    if (t.contains(QLatin1String("DEC")) || t.contains(QLatin1String("NUM")) ||
        t.contains(QLatin1String("MONEY")) || t.contains(QLatin1String("CURRENCY")))
        return FieldType::Decimal;
    if (t.contains(QLatin1String("BLOB")) || t.contains(QLatin1String("BINARY"))) return FieldType::Blob;
    return FieldType::Text;
}

TableColumns tableColumns(Connection& c, const QString& table, const QString& createSql) {
    TableColumns out;
    const QHash<QString, ColumnTraits> traits = columnTraits(createSql);
    QSqlQuery q = c.query(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), {table});
    while (q.next()) {
        FieldDef f;
        f.name = q.value(0).toString();
        f.type = declaredType(q.value(1).toString(), f.size);
        const ColumnTraits t = traits.value(f.name.toLower());
        if (t.autoInc) {
            f.type = FieldType::AutoInc;
            f.readOnly = true;
            f.size = 0;
        }
        out.fields.push_back(f);
        out.columns.push_back(FilterColumn{f.name, t.noCase, f.type == FieldType::DateTime});
    }
    return out;
}

TableColumns queryColumns(Connection& c, const QString& source) {
    TableColumns out;
    QSqlQuery probe = c.query(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(source));
    const QSqlRecord rec = probe.record();
    QHash<QString, TableColumns> origins;
    for (int i = 0; i < rec.count(); ++i) {
        const QSqlField f = rec.field(i);
        FieldDef def;
        def.name = f.name();
        def.type = metaFieldType(f);
        FilterColumn col{def.name, true, false};
        const QString origin = f.tableName().toLower();
        if (!origin.isEmpty()) {
            if (!origins.contains(origin)) {
                const std::optional<Entry> e = find(c, origin);
                origins.insert(origin,
                               e && !e->view ? tableColumns(c, e->name, e->createSql) : TableColumns{});
            }
            const TableColumns& o = origins[origin];
            for (size_t k = 0; k < o.fields.size(); ++k) {
                if (o.fields[k].name.compare(def.name, Qt::CaseInsensitive) != 0) continue;
                def.type = o.fields[k].type == FieldType::AutoInc ? FieldType::Integer : o.fields[k].type;
                def.size = o.fields[k].size;
                col = o.columns[k];
                col.name = def.name;
                break;
            }
        }
        def.readOnly = true;
        out.fields.push_back(def);
        out.columns.push_back(col);
    }
    return out;
}

QString withColumnType(const QString& createSql, const QString& column, const QString& type) {
    static const QRegularExpression typeRe(
        QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z_0-9 ]*?(?:\s*\([^)]*\))?)(?=\s|$))"));
    for (const Piece& p : columnPieces(createSql)) {
        int nameEnd = 0;
        if (pieceColumn(p.text, &nameEnd).compare(column, Qt::CaseInsensitive) != 0) continue;
        const auto m = typeRe.match(p.text.mid(nameEnd));
        if (!m.hasMatch()) return createSql;
        QString out = createSql;
        return out.replace(p.from + nameEnd + m.capturedStart(1), m.capturedLength(1), type);
    }
    return createSql;
}

void rebuildTable(Connection& c, const QString& table, const QString& newCreateSql) {
    const std::optional<Entry> entry = find(c, table);
    if (!entry || entry->view) throw DbError(QStringLiteral("Table \"%1\" does not exist").arg(table));
    const QString name = entry->name;
    const QString quoted = FilterParser::quoted(name);
    const QString temp = name + QStringLiteral("_rebuild");
    QStringList dependents; // indexes and triggers, recreated on the new table
    QSqlQuery dq = c.query(
        QStringLiteral("SELECT sql FROM sqlite_master WHERE tbl_name = ? AND type IN ('index', 'trigger') "
                       "AND sql IS NOT NULL"),
        {name});
    while (dq.next())
        dependents << dq.value(0).toString();
    const bool counted = find(c, QStringLiteral("sqlite_sequence")).has_value();
    const QVariant sequence =
        counted ? c.scalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), {name})
                : QVariant();
    QStringList columns;
    for (const FieldDef& f : tableColumns(c, name, entry->createSql).fields)
        columns << FilterParser::quoted(f.name);
    const QString list = columns.join(QStringLiteral(", "));
    const qint64 rows = c.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(quoted)).toLongLong();

    Transaction tx(c);
    c.execute(QStringLiteral("CREATE TABLE %1 %2")
                  .arg(FilterParser::quoted(temp), newCreateSql.mid(newCreateSql.indexOf(QLatin1Char('(')))));
    c.execute(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3")
                  .arg(FilterParser::quoted(temp), list, quoted));
    if (c.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(FilterParser::quoted(temp))).toLongLong() !=
        rows)
        throw DbError(QStringLiteral("Table \"%1\": the rebuild lost rows").arg(name));
    c.execute(QStringLiteral("DROP TABLE %1").arg(quoted));
    // Views name the table by its name; they are not rewritten, they find the new table under it.
    c.execute(QStringLiteral("PRAGMA legacy_alter_table = ON"));
    try {
        c.execute(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(FilterParser::quoted(temp), quoted));
    } catch (const DbError&) {
        c.execute(QStringLiteral("PRAGMA legacy_alter_table = OFF"));
        throw;
    }
    c.execute(QStringLiteral("PRAGMA legacy_alter_table = OFF"));
    for (const QString& sql : dependents)
        c.execute(sql);
    if (sequence.isValid())
        c.execute(QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = ?"),
                  {sequence, name});
    tx.commit();
}

} // namespace TableSchema
