#include "dataset/FilterParser.h"

#include "dataset/DbError.h"
#include "dataset/StoredValue.h"

#include <QRegularExpression>

namespace {

enum class Tok { End, Name, String, Number, Date, LParen, RParen, Comma, Op };

struct Token {
    Tok kind = Tok::End;
    QString text;
    int pos = 0;
    bool bracketed = false; // [Name]: never a keyword
};

// Why a text was refused; turned into a DbError that also names the whole text.
struct Refusal {
    QString reason;
};

bool isNameStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

std::vector<Token> tokenize(const QString& s) {
    std::vector<Token> out;
    const int n = s.size();
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        t.pos = i + 1;
        if (c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char(',')) {
            t.kind = c == QLatin1Char('(') ? Tok::LParen : c == QLatin1Char(')') ? Tok::RParen : Tok::Comma;
            t.text = c;
            ++i;
        } else if (c == QLatin1Char('[')) {
            const int close = s.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0) throw Refusal{QStringLiteral("unterminated [ at position %1").arg(t.pos)};
            t.kind = Tok::Name;
            t.text = s.mid(i + 1, close - i - 1).trimmed();
            t.bracketed = true;
            i = close + 1;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote stands for one quote character inside the text.
            t.kind = Tok::String;
            // '' is an empty text, not NULL: a null QString would bind as NULL.
            t.text = QStringLiteral("");
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (s[j] == c) {
                    if (j + 1 < n && s[j + 1] == c) {
                        t.text += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                t.text += s[j++];
            }
            if (!closed) throw Refusal{QStringLiteral("unterminated quote at position %1").arg(t.pos)};
            i = j + 1;
        } else if (c == QLatin1Char('#')) {
            const int close = s.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0) throw Refusal{QStringLiteral("unterminated # at position %1").arg(t.pos)};
            t.kind = Tok::Date;
            t.text = s.mid(i + 1, close - i - 1);
            i = close + 1;
        } else if (c.isDigit() ||
                   ((c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.')) && i + 1 < n &&
                    (s[i + 1].isDigit() || s[i + 1] == QLatin1Char('.')))) {
            static const QRegularExpression number(
                QStringLiteral(R"([+-]?(?:\d+(?:\.\d*)?|\.\d+)(?:[eE][+-]?\d+)?)"));
            const auto m = number.match(s, i, QRegularExpression::NormalMatch,
                                        QRegularExpression::AnchorAtOffsetMatchOption);
            if (!m.hasMatch()) throw Refusal{QStringLiteral("bad number at position %1").arg(t.pos)};
            t.kind = Tok::Number;
            t.text = m.captured();
            i += m.capturedLength();
            if (i < n && isNameChar(s[i]))
                throw Refusal{QStringLiteral("bad number at position %1").arg(t.pos)};
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('=')) {
            t.kind = Tok::Op;
            t.text = c;
            ++i;
            if (c == QLatin1Char('<') && i < n && (s[i] == QLatin1Char('>') || s[i] == QLatin1Char('='))) {
                t.text += s[i++];
            } else if (c == QLatin1Char('>') && i < n && s[i] == QLatin1Char('=')) {
                t.text += s[i++];
            }
        } else if (isNameStart(c)) {
            int j = i + 1;
            while (j < n && isNameChar(s[j]))
                ++j;
            t.kind = Tok::Name;
            t.text = s.mid(i, j - i);
            i = j;
        } else {
            throw Refusal{QStringLiteral("unexpected \"%1\" at position %2").arg(c).arg(t.pos)};
        }
        out.push_back(t);
    }
    Token end;
    end.pos = n + 1;
    out.push_back(end);
    return out;
}

QString describe(const Token& t) {
    switch (t.kind) {
    case Tok::End:
        return QStringLiteral("the end");
    case Tok::String:
        return QStringLiteral("'%1' at position %2").arg(t.text).arg(t.pos);
    case Tok::Date:
        return QStringLiteral("#%1# at position %2").arg(t.text).arg(t.pos);
    default:
        return QStringLiteral("\"%1\" at position %2").arg(t.text).arg(t.pos);
    }
}

class Parser {
public:
    Parser(const QString& text, const std::vector<FilterColumn>& columns)
        : toks_(tokenize(text)), columns_(columns) {}

    SqlCondition filter() {
        SqlCondition c;
        if (peek().kind == Tok::End) return c;
        c.where = orList();
        if (peek().kind != Tok::End) throw Refusal{QStringLiteral("unexpected %1").arg(describe(peek()))};
        c.binds = binds_;
        return c;
    }

    std::vector<SortKey> sort() {
        std::vector<SortKey> parts;
        if (peek().kind == Tok::End) return {};
        for (;;) {
            const Token name = take();
            if (name.kind != Tok::Name)
                throw Refusal{QStringLiteral("expected a field name, found %1").arg(describe(name))};
            SortKey part{column(name).name, false};
            if (keyword(peek(), "DESC")) {
                take();
                part.descending = true;
            } else if (keyword(peek(), "ASC")) {
                take();
            }
            parts.push_back(part);
            const Token sep = take();
            if (sep.kind == Tok::End) break;
            if (sep.kind != Tok::Comma) throw Refusal{QStringLiteral("unexpected %1").arg(describe(sep))};
        }
        return parts;
    }

private:
    const Token& peek() const { return toks_[at_]; }
    Token take() {
        const Token t = toks_[at_];
        if (t.kind != Tok::End) ++at_;
        return t;
    }
    static bool keyword(const Token& t, const char* word) {
        return t.kind == Tok::Name && !t.bracketed &&
               t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    const FilterColumn& column(const Token& t) {
        for (const FilterColumn& c : columns_)
            if (c.name.compare(t.text, Qt::CaseInsensitive) == 0) return c;
        throw Refusal{QStringLiteral("unknown field \"%1\"").arg(t.text)};
    }

    QString orList() {
        QString sql = andList();
        while (keyword(peek(), "OR")) {
            take();
            sql += QStringLiteral(" OR ") + andList();
        }
        return sql;
    }

    QString andList() {
        QString sql = factor();
        while (keyword(peek(), "AND")) {
            take();
            sql += QStringLiteral(" AND ") + factor();
        }
        return sql;
    }

    QString factor() {
        if (peek().kind == Tok::LParen) {
            const Token open = take();
            if (++nesting_ > FilterParser::kMaxNesting)
                throw Refusal{QStringLiteral("parentheses nested deeper than %1 levels at position %2")
                                  .arg(FilterParser::kMaxNesting)
                                  .arg(open.pos)};
            const QString inner = orList();
            --nesting_;
            const Token close = take();
            if (close.kind != Tok::RParen)
                throw Refusal{QStringLiteral("expected \")\", found %1").arg(describe(close))};
            return QLatin1Char('(') + inner + QLatin1Char(')');
        }
        return condition();
    }

    QString condition() {
        if (++conditions_ > FilterParser::kMaxConditions)
            throw Refusal{QStringLiteral("more than %1 conditions").arg(FilterParser::kMaxConditions)};
        const Token name = take();
        if (name.kind != Tok::Name || (!name.bracketed && isReserved(name.text)))
            throw Refusal{QStringLiteral("expected a field name, found %1").arg(describe(name))};
        const FilterColumn& col = column(name);
        const QString field = FilterParser::quoted(col.name);

        if (keyword(peek(), "IS")) {
            take();
            const bool negated = keyword(peek(), "NOT");
            if (negated) take();
            if (!keyword(peek(), "NULL"))
                throw Refusal{QStringLiteral("expected NULL, found %1").arg(describe(peek()))};
            take();
            return field + (negated ? QStringLiteral(" IS NOT NULL") : QStringLiteral(" IS NULL"));
        }

        const Token op = take();
        if (keyword(op, "LIKE")) {
            const Token lit = take();
            if (lit.kind != Tok::String && lit.kind != Tok::Number)
                throw Refusal{QStringLiteral("expected a pattern after LIKE, found %1").arg(describe(lit))};
            if (col.noCase) {
                binds_ << FilterParser::likePattern(lit.text);
                return field + QStringLiteral(" LIKE ? ESCAPE '\\'");
            }
            binds_ << FilterParser::globPattern(lit.text);
            return field + QStringLiteral(" GLOB ?");
        }
        if (op.kind != Tok::Op)
            throw Refusal{QStringLiteral("expected an operator, found %1").arg(describe(op))};

        bool isNull = false;
        const QVariant value = literal(col, isNull);
        if (isNull) {
            if (op.text == QLatin1String("=")) return field + QStringLiteral(" IS NULL");
            if (op.text == QLatin1String("<>")) return field + QStringLiteral(" IS NOT NULL");
            throw Refusal{QStringLiteral("NULL cannot be compared with %1").arg(op.text)};
        }
        binds_ << value;
        return field + QLatin1Char(' ') + op.text + QStringLiteral(" ?");
    }

    QVariant literal(const FilterColumn& col, bool& isNull) {
        const Token t = take();
        switch (t.kind) {
        case Tok::String: {
            if (col.dateTime) {
                const QString stored = StoredValue::dateTimeText(t.text);
                if (!stored.isEmpty()) return stored;
            }
            return t.text;
        }
        case Tok::Number: {
            bool ok = false;
            if (!t.text.contains(QLatin1Char('.')) &&
                !t.text.contains(QLatin1Char('e'), Qt::CaseInsensitive)) {
                const qint64 n = t.text.toLongLong(&ok);
                if (ok) return n;
            }
            const double d = t.text.toDouble(&ok);
            if (!ok) throw Refusal{QStringLiteral("bad number %1").arg(describe(t))};
            return d;
        }
        case Tok::Date: {
            const QString stored = StoredValue::dateTimeText(t.text);
            if (stored.isEmpty()) throw Refusal{QStringLiteral("bad date %1").arg(describe(t))};
            return stored;
        }
        case Tok::Name:
            if (keyword(t, "TRUE")) return 1;
            if (keyword(t, "FALSE")) return 0;
            if (keyword(t, "NULL")) {
                isNull = true;
                return {};
            }
            break;
        default:
            break;
        }
        throw Refusal{QStringLiteral("expected a value, found %1").arg(describe(t))};
    }

    static bool isReserved(const QString& word) {
        static const char* const reserved[] = {"AND", "OR", "NOT", "LIKE", "IS", "NULL", "TRUE", "FALSE"};
        for (const char* r : reserved)
            if (word.compare(QLatin1String(r), Qt::CaseInsensitive) == 0) return true;
        return false;
    }

    std::vector<Token> toks_;
    size_t at_ = 0;
    int nesting_ = 0;
    int conditions_ = 0;
    const std::vector<FilterColumn>& columns_;
    QVariantList binds_;
};

// A refused text as a message shows it: a screenful at most.
QString shown(const QString& text) {
    constexpr int kShown = 200;
    return text.size() <= kShown ? text : text.left(kShown) + QStringLiteral("...");
}

} // namespace

SqlCondition FilterParser::parseFilter(const QString& filter, const std::vector<FilterColumn>& columns) {
    try {
        return Parser(filter, columns).filter();
    } catch (const Refusal& r) {
        throw DbError(QStringLiteral("Filter \"%1\" cannot be applied: %2").arg(shown(filter), r.reason));
    }
}

QString FilterParser::parseSort(const QString& sort, const std::vector<FilterColumn>& columns) {
    QStringList parts;
    for (const SortKey& k : parseSortKeys(sort, columns))
        parts << quoted(k.column) + (k.descending ? QStringLiteral(" DESC") : QString());
    return parts.join(QStringLiteral(", "));
}

std::vector<SortKey> FilterParser::parseSortKeys(const QString& sort,
                                                 const std::vector<FilterColumn>& columns) {
    try {
        return Parser(sort, columns).sort();
    } catch (const Refusal& r) {
        throw DbError(QStringLiteral("Sort \"%1\" cannot be applied: %2").arg(shown(sort), r.reason));
    }
}

QString FilterParser::likePattern(const QString& adoPattern) {
    QString out;
    const int n = adoPattern.size();
    for (int i = 0; i < n; ++i) {
        QChar c = adoPattern[i];
        if (c == QLatin1Char('*') || c == QLatin1Char('%')) {
            out += QLatin1Char('%');
            continue;
        }
        if (c == QLatin1Char('[') && i + 2 < n && adoPattern[i + 2] == QLatin1Char(']')) {
            c = adoPattern[i + 1];
            i += 2;
        }
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

QString FilterParser::globPattern(const QString& adoPattern) {
    QString out;
    const int n = adoPattern.size();
    for (int i = 0; i < n; ++i) {
        QChar c = adoPattern[i];
        if (c == QLatin1Char('*') || c == QLatin1Char('%')) {
            out += QLatin1Char('*');
            continue;
        }
        if (c == QLatin1Char('[') && i + 2 < n && adoPattern[i + 2] == QLatin1Char(']')) {
            c = adoPattern[i + 1];
            i += 2;
        }
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('['))
            out += QLatin1Char('[') + c + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

QString FilterParser::quoted(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}
