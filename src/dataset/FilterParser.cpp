#include "dataset/FilterParser.h"

#include "dataset/DbError.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

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

    QString sort() {
        QStringList parts;
        if (peek().kind == Tok::End) return {};
        for (;;) {
            const Token name = take();
            if (name.kind != Tok::Name)
                throw Refusal{QStringLiteral("expected a field name, found %1").arg(describe(name))};
            QString part = FilterParser::quoted(column(name).name);
            if (keyword(peek(), "DESC")) {
                take();
                part += QStringLiteral(" DESC");
            } else if (keyword(peek(), "ASC")) {
                take();
            }
            parts << part;
            const Token sep = take();
            if (sep.kind == Tok::End) break;
            if (sep.kind != Tok::Comma) throw Refusal{QStringLiteral("unexpected %1").arg(describe(sep))};
        }
        return parts.join(QStringLiteral(", "));
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
            take();
            const QString inner = orList();
            const Token close = take();
            if (close.kind != Tok::RParen)
                throw Refusal{QStringLiteral("expected \")\", found %1").arg(describe(close))};
            return QLatin1Char('(') + inner + QLatin1Char(')');
        }
        return condition();
    }

    QString condition() {
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
                const QString stored = FilterParser::storedDateTime(t.text);
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
            const QString stored = FilterParser::storedDateTime(t.text);
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
    const std::vector<FilterColumn>& columns_;
    QVariantList binds_;
};

int fullYear(const QString& y) {
    const int v = y.toInt();
    if (y.size() > 2) return v;
    return v < 30 ? 2000 + v : 1900 + v; // the framework's two-digit year window
}

} // namespace

SqlCondition FilterParser::parseFilter(const QString& filter, const std::vector<FilterColumn>& columns) {
    try {
        return Parser(filter, columns).filter();
    } catch (const Refusal& r) {
        throw DbError(QStringLiteral("Filter \"%1\" cannot be applied: %2").arg(filter, r.reason));
    }
}

QString FilterParser::parseSort(const QString& sort, const std::vector<FilterColumn>& columns) {
    try {
        return Parser(sort, columns).sort();
    } catch (const Refusal& r) {
        throw DbError(QStringLiteral("Sort \"%1\" cannot be applied: %2").arg(sort, r.reason));
    }
}

QString FilterParser::storedDateTime(const QString& text) {
    QString s = text.trimmed();
    QDate date;
    QTime time;
    static const QRegularExpression dateRe(QStringLiteral(
        R"(^(?:(\d{4})-(\d{1,2})-(\d{1,2})|(\d{1,2})/(\d{1,2})/(\d{4}|\d{2})|(\d{1,2})\.(\d{1,2})\.(\d{4}|\d{2}))(?=$|[\sT]))"));
    const auto dm = dateRe.match(s);
    if (dm.hasMatch()) {
        if (!dm.captured(1).isEmpty())
            date = QDate(dm.captured(1).toInt(), dm.captured(2).toInt(), dm.captured(3).toInt());
        else if (!dm.captured(4).isEmpty()) // month first, as ADO reads "/" dates
            date = QDate(fullYear(dm.captured(6)), dm.captured(4).toInt(), dm.captured(5).toInt());
        else
            date = QDate(fullYear(dm.captured(9)), dm.captured(8).toInt(), dm.captured(7).toInt());
        if (!date.isValid()) return {};
        s = s.mid(dm.capturedLength());
        if (s.startsWith(QLatin1Char('T'))) s = s.mid(1);
        s = s.trimmed();
    }
    if (!s.isEmpty()) {
        static const QRegularExpression timeRe(
            QStringLiteral(R"(^(\d{1,2}):(\d{2})(?::(\d{2}))?(?:\.\d+)?\s*([AaPp][Mm])?$)"));
        const auto tm = timeRe.match(s);
        if (!tm.hasMatch()) return {};
        int h = tm.captured(1).toInt();
        const QString ampm = tm.captured(4).toUpper();
        if (!ampm.isEmpty()) {
            if (h < 1 || h > 12) return {};
            if (ampm == QLatin1String("PM") && h < 12) h += 12;
            if (ampm == QLatin1String("AM") && h == 12) h = 0;
        }
        time = QTime(h, tm.captured(2).toInt(), tm.captured(3).toInt());
        if (!time.isValid()) return {};
    }
    if (date.isValid() && time.isValid())
        return date.toString(QStringLiteral("yyyy-MM-dd ")) + time.toString(QStringLiteral("HH:mm:ss"));
    if (date.isValid()) return date.toString(QStringLiteral("yyyy-MM-dd"));
    if (time.isValid()) return time.toString(QStringLiteral("HH:mm:ss"));
    return {};
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
