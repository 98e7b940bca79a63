#include "dataset/StoredValue.h"

#include "dataset/DbError.h"

#include <QRegularExpression>
#include <cmath>

namespace {

QDate zeroDate() {
    return QDate(1899, 12, 30);
}

double parseNumber(const QString& text, bool* ok) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return t.toDouble(ok);
}

int fullYear(const QString& y) {
    const int v = y.toInt();
    if (y.size() > 2) return v;
    return v < 30 ? 2000 + v : 1900 + v; // the framework's two-digit year window
}

bool yesText(const QString& text) {
    const QString t = text.trimmed().toLower();
    return t == QLatin1String("true") || t == QLatin1String("yes") || parseNumber(t, nullptr) != 0;
}

} // namespace

namespace StoredValue {

QVariant bound(const QVariant& v) {
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
        if (dt.date() == zeroDate()) return dt.time().toString(QStringLiteral("HH:mm:ss"));
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    default:
        return v;
    }
}

QVariant forField(const FieldDef& f, const QVariant& v, bool strict) {
    if (!v.isValid() || v.isNull()) return {};
    const auto refuse = [&](const char* what) -> QVariant {
        if (!strict) return bound(v);
        throw DbError(QStringLiteral("\"%1\" is not a valid %2 value for field %3")
                          .arg(v.toString(), QLatin1String(what), f.name));
    };
    const bool isText = v.typeId() == QMetaType::QString;
    switch (f.type) {
    case FieldType::Text: {
        QString t = v.typeId() == QMetaType::Bool
                        ? (v.toBool() ? QStringLiteral("True") : QStringLiteral("False"))
                        : bound(v).toString();
        if (strict && f.size > 0 && t.size() > f.size) t.truncate(f.size);
        return t;
    }
    case FieldType::Integer:
    case FieldType::AutoInc: {
        if (v.typeId() == QMetaType::Bool) return v.toBool() ? 1 : 0;
        if (v.typeId() == QMetaType::Double) return qint64(std::llround(v.toDouble()));
        if (!isText) return v.toLongLong();
        const QString t = v.toString().trimmed();
        if (t.isEmpty()) return {};
        bool ok = false;
        const qint64 n = t.toLongLong(&ok);
        if (ok) return n;
        const double d = parseNumber(t, &ok);
        return ok ? QVariant(qint64(std::llround(d))) : refuse("integer");
    }
    case FieldType::Float:
    case FieldType::Decimal: {
        if (v.typeId() == QMetaType::Bool) return v.toBool() ? 1.0 : 0.0;
        if (!isText) return v.toDouble();
        if (v.toString().trimmed().isEmpty()) return {};
        bool ok = false;
        const double d = parseNumber(v.toString(), &ok);
        return ok ? QVariant(d) : refuse("number");
    }
    case FieldType::Boolean: {
        if (!isText) return v.toDouble() != 0 ? 1 : 0;
        const QString t = v.toString().trimmed().toLower();
        if (t.isEmpty()) return {};
        if (t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("yes")) return 1;
        if (t == QLatin1String("false") || t == QLatin1String("0") || t == QLatin1String("no")) return 0;
        return refuse("yes/no");
    }
    case FieldType::DateTime: {
        if (!isText) {
            if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int ||
                v.typeId() == QMetaType::LongLong)
                return bound(dateTimeOf(v));
            return bound(v);
        }
        if (v.toString().trimmed().isEmpty()) return {};
        const QString s = dateTimeText(v.toString());
        return s.isEmpty() ? refuse("date and time") : QVariant(s);
    }
    case FieldType::Blob:
        return v;
    }
    return v;
}

QString dateTimeText(const QString& text) {
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

QDateTime dateTimeOf(const QVariant& stored) {
    if (!stored.isValid() || stored.isNull()) return {};
    switch (stored.typeId()) {
    case QMetaType::QDateTime:
        return stored.toDateTime();
    case QMetaType::QDate:
        return QDateTime(stored.toDate(), QTime(0, 0));
    case QMetaType::QTime:
        return QDateTime(zeroDate(), stored.toTime());
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong: // days since the zero date, as the framework counts them
        return QDateTime(zeroDate(), QTime(0, 0)).addMSecs(std::llround(stored.toDouble() * 86400000.0));
    default:
        break;
    }
    const QString s = dateTimeText(stored.toString());
    if (s.size() == 8) return QDateTime(zeroDate(), QTime::fromString(s, QStringLiteral("HH:mm:ss")));
    if (s.size() == 10) return QDateTime(QDate::fromString(s, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    if (s.isEmpty()) return {};
    return QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString textOf(const QVariant& stored, FieldType type) {
    if (!stored.isValid() || stored.isNull()) return {};
    switch (type) {
    case FieldType::DateTime: {
        const QString s = dateTimeText(bound(stored).toString());
        if (s.isEmpty()) return stored.toString();
        const QDateTime dt = dateTimeOf(s);
        if (s.size() == 8) return dt.toString(QStringLiteral("HH:mm:ss"));
        if (s.size() == 10) return dt.toString(QStringLiteral("dd.MM.yyyy"));
        return dt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    }
    case FieldType::Boolean:
        return yesText(stored.toString()) ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Float:
    case FieldType::Decimal: {
        bool ok = false;
        const double d = stored.typeId() == QMetaType::QString ? parseNumber(stored.toString(), &ok)
                                                               : stored.toDouble(&ok);
        if (!ok) return stored.toString();
        return QString::number(d, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
    }
    default:
        return stored.toString();
    }
}

qint64 integerOf(const QVariant& v) {
    if (v.isNull()) return 0;
    switch (v.typeId()) {
    case QMetaType::Double:
        return std::llround(v.toDouble());
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        if (ok) return n;
        const double d = parseNumber(v.toString(), &ok);
        return ok ? std::llround(d) : 0;
    }
    default:
        return v.toLongLong();
    }
}

double floatOf(const QVariant& v) {
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::QString) return parseNumber(v.toString(), nullptr);
    return v.toDouble();
}

bool booleanOf(const QVariant& v) {
    if (v.isNull()) return false;
    if (v.typeId() == QMetaType::QString) return yesText(v.toString());
    return v.toDouble() != 0;
}

QDate dateOf(const QVariant& stored) {
    const QString s = stored.toString();
    if (s.size() >= 10 && s.at(4) == QLatin1Char('-') && s.at(7) == QLatin1Char('-')) {
        const QDate d(s.left(4).toInt(), s.mid(5, 2).toInt(), s.mid(8, 2).toInt());
        if (d.isValid()) return d;
    }
    return dateTimeOf(stored).date();
}

QTime timeOf(const QVariant& stored) {
    const QString s = stored.toString();
    const qsizetype n = s.size();
    if (n >= 8 && s.at(n - 3) == QLatin1Char(':') && s.at(n - 6) == QLatin1Char(':')) {
        const QTime t(s.mid(n - 8, 2).toInt(), s.mid(n - 5, 2).toInt(), s.mid(n - 2, 2).toInt());
        if (t.isValid()) return t;
    }
    return dateTimeOf(stored).time();
}

} // namespace StoredValue
