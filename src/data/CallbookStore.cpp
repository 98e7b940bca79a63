#include "data/CallbookStore.h"
#include "dataset/StoredValue.h"

#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "exchange/CallbookExchange.h"
#include "platform/DateText.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace CallbookStore {

namespace {

// A stored date-time split into its day and time of day. Plain QDate and QTime: building a local
// QDateTime asks the system for the time zone, which costs more than the rest of an import line.
struct DayTime {
    QDate date;
    QTime time;
};

DayTime dayTimeOf(const QVariant& stored) {
    if (!stored.isValid() || stored.isNull()) return {};
    if (stored.typeId() == QMetaType::QString) {
        const QString s = stored.toString().trimmed();
        if (s.size() == 10) return {QDate::fromString(s, QStringLiteral("yyyy-MM-dd")), QTime(0, 0)};
        if (s.size() == 8) return {DateText::zeroDate(), QTime::fromString(s, QStringLiteral("HH:mm:ss"))};
        if (s.size() == 19)
            return {QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd")),
                    QTime::fromString(s.mid(11), QStringLiteral("HH:mm:ss"))};
    }
    const QDateTime dt = StoredValue::dateTimeOf(stored);
    return {dt.date(), dt.time()};
}

// The value to store for a day and a time of day (a day alone is stored as a date).
QVariant storedDayTime(const DayTime& v) {
    const QString day = v.date.toString(QStringLiteral("yyyy-MM-dd"));
    if (v.time == QTime(0, 0)) return day;
    const QString time = v.time.toString(QStringLiteral("HH:mm:ss"));
    return v.date == DateText::zeroDate() ? time : day + QLatin1Char(' ') + time;
}

} // namespace

QVariant noBirthday() {
    return QStringLiteral("00:00:00");
}

bool isZeroDate(const QVariant& stored) {
    const DayTime v = dayTimeOf(stored);
    return !v.date.isValid() || !v.time.isValid() ||
           (v.date == DateText::zeroDate() && v.time == QTime(0, 0));
}

QDate birthdayFromPanel(const QString& text, const QDate& today) {
    static const QRegularExpression form(QStringLiteral("^(\\d\\d)\\.(\\d\\d)\\.(\\d\\d)$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch()) return {};
    const int day = m.captured(1).toInt(), month = m.captured(2).toInt(), yy = m.captured(3).toInt();
    int year = today.year() / 100 * 100 + yy;
    if (year > today.year()) year -= 100;
    QDate d(year, month, day);
    if (d.isValid() && d > today) d = QDate(year - 100, month, day);
    return d;
}

QString birthdayToPanel(const QVariant& stored) {
    if (isZeroDate(stored)) return QStringLiteral("00.00.00");
    return dayTimeOf(stored).date.toString(QStringLiteral("dd.MM.yy"));
}

namespace {

// A statement prepared once and run many times (the import runs three per line).
class Statement {
public:
    Statement(Connection& c, const QString& sql) : q_(c.db()) {
        if (!c.db().isOpen()) throw DbError(QStringLiteral("The database connection is not open"));
        q_.setForwardOnly(true);
        if (!q_.prepare(sql)) throw DbError(q_.lastError().text());
    }
    QSqlQuery& run(const QVariantList& binds) {
        for (int i = 0; i < binds.size(); ++i)
            q_.bindValue(i, StoredValue::bound(binds.at(i)));
        if (!q_.exec()) throw failedWrite(q_.lastError());
        return q_;
    }

private:
    QSqlQuery q_;
};

const QString kColumns = QStringLiteral("Call, Name, QTH, QTHLoc, Note, EMail, Other, UpdateStamp, Birthday");

CallbookEntry entryOf(const QSqlQuery& q, int first) {
    CallbookEntry e;
    e.call = q.value(first).toString();
    e.name = q.value(first + 1).toString();
    e.qth = q.value(first + 2).toString();
    e.qthLoc = q.value(first + 3).toString();
    e.note = q.value(first + 4).toString();
    e.email = q.value(first + 5).toString();
    e.other = q.value(first + 6).toInt();
    e.updateStamp = q.value(first + 7);
    e.birthday = q.value(first + 8);
    return e;
}

// Texts are stored as texts, an empty one too (the data layer reads a missing one as empty).
QString text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

QVariant birthdayToStore(const QVariant& b) {
    return isZeroDate(b) ? noBirthday() : b;
}

// The statements of one entry: look-up by call, insert, update by row.
struct Statements {
    explicit Statements(Connection& c)
        : select(c, QStringLiteral("SELECT rowid, ") + kColumns +
                        QStringLiteral(" FROM CB_W WHERE Call IN (?, ?) ORDER BY rowid")),
          insert(c, QStringLiteral("INSERT INTO CB_W (") + kColumns +
                        QStringLiteral(") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          update(c,
                 QStringLiteral("UPDATE CB_W SET Other = ?, UpdateStamp = ?, Name = ?, QTH = ?, QTHLoc = ?, "
                                "EMail = ?, Note = ?, Birthday = ? WHERE rowid = ?")) {}

    // The database compares calls without letter case in Latin only; the upper and lower forms
    // find Cyrillic calls too, and the text comparison decides.
    std::optional<Found> find(const QString& call) {
        QSqlQuery& q = select.run({call.toUpper(), call.toLower()});
        while (q.next()) {
            if (q.value(1).toString().trimmed().compare(call, Qt::CaseInsensitive) != 0) continue;
            Found f{q.value(0).toLongLong(), entryOf(q, 1)};
            q.finish();
            return f;
        }
        return std::nullopt;
    }
    void add(const CallbookEntry& e, const QDate& today) {
        insert.run({text(e.call), text(e.name), text(e.qth), text(e.qthLoc), text(e.note), text(e.email),
                    ChangedMark, today, birthdayToStore(e.birthday)});
    }
    void change(qint64 rowId, const CallbookEntry& e, const QDate& today) {
        update.run({ChangedMark, today, text(e.name), text(e.qth), text(e.qthLoc), text(e.email),
                    text(e.note), birthdayToStore(e.birthday), rowId});
    }

    Statement select, insert, update;
};

QString dateText(const QVariant& stored) {
    if (isZeroDate(stored)) return QStringLiteral("0");
    const DayTime v = dayTimeOf(stored);
    if (v.time == QTime(0, 0)) return DateText::shortDate(v.date);
    return DateText::shortDate(v.date) + QLatin1Char(' ') + DateText::longTime(v.time);
}

// A date as the exchange file writes it: "dd.MM.yyyy", a time of day after a blank, or a time alone.
std::optional<DayTime> dayTimeFromFile(const QString& text) {
    const int blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        const QDate d = DateText::parseShortDate(text);
        if (d.isValid()) return DayTime{d, QTime(0, 0)};
        const QTime t = DateText::parseLongTime(text);
        if (t.isValid()) return DayTime{DateText::zeroDate(), t};
        return std::nullopt;
    }
    const QDate d = DateText::parseShortDate(text.left(blank));
    const QTime t = DateText::parseLongTime(text.mid(blank + 1));
    if (!d.isValid() || !t.isValid()) return std::nullopt;
    return DayTime{d, t};
}

// Only the Latin letters of an imported call are raised; the look-up ignores case anyway.
QString upperLatin(const QString& s) {
    QString r = s;
    for (QChar& ch : r)
        if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z')) ch = ch.toUpper();
    return r;
}

} // namespace

std::optional<Found> find(Connection& c, const QString& call) {
    return Statements(c).find(call);
}

void insert(Connection& c, const CallbookEntry& e, const QDate& today) {
    Statements(c).add(e, today);
}

void update(Connection& c, qint64 rowId, const CallbookEntry& e, const QDate& today) {
    Statements(c).change(rowId, e, today);
}

void remove(Connection& c, qint64 rowId) {
    c.execute(QStringLiteral("DELETE FROM CB_W WHERE rowid = ?"), {rowId});
}

int changedCount(Connection& c) {
    return c.scalar(QStringLiteral("SELECT COUNT(*) FROM CB_W WHERE Other <> 0")).toInt();
}

int exportChanged(Connection& c, QIODevice& out, const Progress& progress) {
    const int total = changedCount(c);
    if (!CallbookExchange::writeLines(out, CallbookExchange::header(total)))
        throw FileError(out.errorString());
    Statement all(c, QStringLiteral("SELECT ") + kColumns +
                         QStringLiteral(" FROM CB_W WHERE Other <> 0 ORDER BY rowid"));
    QSqlQuery& q = all.run({});
    QStringList lines;
    int done = 0;
    auto flush = [&] {
        if (!CallbookExchange::writeLines(out, lines)) throw FileError(out.errorString());
        lines.clear();
        if (progress) progress(done, total);
    };
    while (q.next()) {
        const CallbookEntry e = entryOf(q, 0);
        lines.append(CallbookExchange::entryLine({e.call, e.name, e.qth, e.qthLoc, e.note, e.email,
                                                  QString::number(e.other), dateText(e.updateStamp),
                                                  dateText(e.birthday)}));
        if (++done % 1000 == 0) flush();
    }
    flush();
    return done;
}

void clearChangeMarks(Connection& c) {
    c.execute(QStringLiteral("UPDATE CB_W SET Other = 0 WHERE Other > 0"));
}

namespace {

// One line of the exchange file into the table.
void importLine(Statements& st, const QString& line, const QDate& today, ImportResult& r) {
    bool separated = false;
    QStringList p = CallbookExchange::splitEntryLine(line, &separated);
    const QString call = upperLatin(p.at(0));
    if (!separated && !line.trimmed().isEmpty()) {
        ++r.bad;
        return;
    }
    if (call.size() <= 2) {
        ++r.shortCall;
        return;
    }
    if (call.size() > CallWidth) {
        ++r.bad;
        return;
    }
    // Each writer puts its own date format in the file: a birthday that is no date here counts
    // as none, and the rest of the entry is still worth having.
    QString birthdayText = p.at(8);
    QVariant birthday;
    if (!birthdayText.isEmpty() && birthdayText != QLatin1String("0")) {
        const std::optional<DayTime> dt = dayTimeFromFile(birthdayText);
        if (dt)
            birthday = storedDayTime(*dt);
        else
            birthdayText.clear();
    }
    const int widths[] = {CallWidth, NameWidth, QthWidth, QthLocWidth, NoteWidth, EMailWidth};
    for (int i = 1; i < 6; ++i) {
        if (p.at(i).size() <= widths[i]) continue;
        p[i].truncate(widths[i]);
        ++r.cut;
    }
    CallbookEntry in{call, p.at(1), p.at(2), p.at(3), p.at(4), p.at(5), ChangedMark, {}, birthday};

    const std::optional<Found> known = st.find(call);
    if (!known) {
        st.add(in, today);
        ++r.added;
        return;
    }
    // A known entry keeps each stored value that the line does not plainly improve.
    CallbookEntry e = known->entry;
    if (in.name.size() >= 3) e.name = in.name;
    if (in.qth.size() >= 2) e.qth = in.qth;
    if (in.qthLoc.size() >= 6) e.qthLoc = in.qthLoc;
    if (in.note.size() >= 5) e.note = in.note;
    if (in.email.indexOf(QLatin1Char('@')) >= 1) e.email = in.email;
    if (birthdayText.size() >= 8) e.birthday = in.birthday;
    st.change(known->rowId, e, today);
    ++r.updated;
}

} // namespace

ImportResult importFile(Connection& c, QIODevice& in, const QDate& today, const Progress& progress,
                        int batch) {
    const CallbookExchange::LineReader lines(in);
    ImportResult r;
    r.count = std::max(0, lines.lineCount() - CallbookExchange::HeaderLines);
    if (progress) progress(0, r.count);
    Statements st(c);
    int i = 0;
    while (i < r.count) {
        Transaction tx(c);
        const int end = std::min(r.count, i + std::max(1, batch));
        try {
            for (; i < end; ++i) {
                importLine(st, lines.line(CallbookExchange::HeaderLines + i), today, r);
                if (progress && (i + 1) % 100 == 0) progress(i + 1, r.count);
            }
        } catch (const DbError&) {
            // The lines before the failing one stay stored.
            try {
                tx.commit();
            } catch (const DbError&) {
            }
            throw;
        }
        tx.commit();
    }
    if (progress) progress(r.count, r.count);
    return r;
}

} // namespace CallbookStore
