#include "dataset/DatasetModel.h"

#include "dataset/StoredValue.h"

#include <QLocale>
#include <QtDebug>
#include <cmath>

DatasetModel::DatasetModel(QObject* parent) : QAbstractTableModel(parent) {}

void DatasetModel::setDataSource(DataSource* source) {
    for (const QMetaObject::Connection& l : std::as_const(links_))
        disconnect(l);
    links_.clear();
    source_ = source;
    if (source) {
        links_ << connect(source, &DataSource::layoutReset, this, &DatasetModel::reload);
        links_ << connect(source, &DataSource::dataChange, this, &DatasetModel::followCurrentRow);
        links_ << connect(source, &DataSource::rowUpdated, this, &DatasetModel::rowValuesChanged);
        links_ << connect(source, &QObject::destroyed, this, &DatasetModel::reload);
    }
    reload();
}

DataSource* DatasetModel::dataSource() const {
    return source_;
}

Dataset* DatasetModel::dataSet() const {
    return source_ ? source_->dataSet() : nullptr;
}

void DatasetModel::setColumns(const QList<GridColumn>& columns) {
    columns_ = columns;
    reload();
}

void DatasetModel::addColumn(const GridColumn& column) {
    columns_ << column;
    reload();
}

const QList<GridColumn>& DatasetModel::columns() const {
    return columns_;
}

void DatasetModel::setColumnVisible(const QString& field, bool visible) {
    bool changed = false;
    for (GridColumn& c : columns_) {
        if (c.field.compare(field, Qt::CaseInsensitive) == 0 && c.visible != visible) {
            c.visible = visible;
            changed = true;
        }
    }
    if (changed) reload();
}

bool DatasetModel::columnVisible(const QString& field) const {
    for (const GridColumn& c : columns_)
        if (c.field.compare(field, Qt::CaseInsensitive) == 0) return c.visible;
    return false;
}

void DatasetModel::setReadOnly(bool on) {
    readOnly_ = on;
}

bool DatasetModel::readOnly() const {
    return readOnly_;
}

int DatasetModel::columnOf(const QString& field) const {
    for (int i = 0; i < shown_.size(); ++i)
        if (shown_[i].field.compare(field, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int DatasetModel::currentRow() const {
    const Dataset* ds = dataSet();
    if (!ds || !ds->active() || ds->isEmpty()) return -1;
    const int row = ds->recNo() - 1;
    return row < rows_ ? row : -1;
}

void DatasetModel::reload() {
    beginResetModel();
    shown_.clear();
    fieldOfShown_.clear();
    const Dataset* ds = dataSet();
    if (columns_.isEmpty()) {
        if (ds) {
            for (const FieldDef& f : ds->fieldDefs())
                shown_ << GridColumn{f.name, f.name, true, {}, 0};
        }
    } else {
        for (const GridColumn& c : std::as_const(columns_))
            if (c.visible) shown_ << c;
    }
    for (const GridColumn& c : std::as_const(shown_))
        fieldOfShown_ << (ds ? ds->fieldIndex(c.field) : -1);
    rows_ = ds && ds->active() ? ds->recordCount() : 0;
    endResetModel();
    followCurrentRow();
}

void DatasetModel::followCurrentRow() {
    const int row = currentRow();
    if (row == lastRow_) return;
    lastRow_ = row;
    emit currentRowChanged(row);
}

void DatasetModel::rowValuesChanged(int position) {
    if (position < 0 || position >= rows_ || shown_.isEmpty()) return;
    emit dataChanged(index(position, 0), index(position, int(shown_.size()) - 1));
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    const Dataset* ds = dataSet();
    if (!ds || !index.isValid() || index.row() >= rows_ || index.column() >= shown_.size()) return {};
    const int fi = fieldOfShown_[index.column()];
    if (fi < 0) return {};
    const FieldType type = ds->fieldDefs()[fi].type;
    // Painting cannot report: a row the database refuses now (another program's lock) shows
    // empty until the next change of the view.
    const auto stored = [&]() -> QVariant {
        try {
            return ds->valueAt(index.row(), fi);
        } catch (const DbError&) {
            return {};
        }
    };
    switch (role) {
    case Qt::DisplayRole:
        return displayText(stored(), type, shown_[index.column()].displayFormat);
    case Qt::EditRole:
        return StoredValue::textOf(stored(), type);
    case Qt::TextAlignmentRole:
        if (type == FieldType::Integer || type == FieldType::AutoInc || type == FieldType::Float ||
            type == FieldType::Decimal)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= shown_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn& c = shown_[section];
    return c.heading.isEmpty() ? c.field : c.heading;
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const Dataset* ds = dataSet();
    if (readOnly_ || !ds || !index.isValid() || index.column() >= shown_.size()) return f;
    const int fi = fieldOfShown_[index.column()];
    if (fi >= 0 && !ds->fieldDefs()[fi].readOnly) f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    Dataset* ds = dataSet();
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    try {
        ds->setRecNo(index.row() + 1);
        ds->edit();
        ds->setValue(shown_[index.column()].field, value);
        ds->post();
        return true;
    } catch (const DbError& e) {
        ds->cancel();
        qWarning().noquote() << e.message();
        return false;
    }
}

// --- display formats ------------------------------------------------------------------------------

namespace {

QString numberText(double v, const QString& format) {
    // "0.00" shows exactly two decimals, "0.##" up to two.
    const int dot = format.indexOf(QLatin1Char('.'));
    int least = 0;
    int most = 0;
    if (dot >= 0) {
        for (int i = dot + 1; i < format.size(); ++i) {
            if (format[i] == QLatin1Char('0')) {
                ++least;
                ++most;
            } else if (format[i] == QLatin1Char('#')) {
                ++most;
            } else {
                break;
            }
        }
    }
    QString s = QString::number(v, 'f', most);
    if (most > least) {
        int keep = s.size() - (most - least);
        while (s.size() > keep && s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    }
    return s.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString padded(int v, int width) {
    return QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0'));
}

} // namespace

QString DatasetModel::displayText(const QVariant& stored, FieldType type, const QString& displayFormat) {
    if (!stored.isValid() || stored.isNull()) return {};
    if (displayFormat.isEmpty()) return StoredValue::textOf(stored, type);
    switch (type) {
    case FieldType::DateTime: {
        const QDateTime dt = StoredValue::dateTimeOf(stored);
        return dt.isValid() ? formatDateTime(dt, displayFormat) : StoredValue::textOf(stored, type);
    }
    case FieldType::Boolean: {
        const bool on = StoredValue::textOf(stored, type) == QLatin1String("True");
        const QStringList words = displayFormat.split(QLatin1Char(';'));
        return on ? words.value(0) : words.value(1);
    }
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::Float:
    case FieldType::Decimal: {
        bool ok = false;
        const double v = QString(StoredValue::textOf(stored, type))
                             .replace(QLatin1Char(','), QLatin1Char('.'))
                             .toDouble(&ok);
        return ok ? numberText(v, displayFormat) : StoredValue::textOf(stored, type);
    }
    default:
        return StoredValue::textOf(stored, type);
    }
}

QString DatasetModel::formatDateTime(const QDateTime& dt, const QString& format) {
    if (!dt.isValid()) return {};
    const QDate d = dt.date();
    const QTime t = dt.time();
    const QLocale names = QLocale::c();
    const bool twelveHour = format.contains(QLatin1String("am/pm"), Qt::CaseInsensitive) ||
                            format.contains(QLatin1String("a/p"), Qt::CaseInsensitive);
    QString out;
    bool afterHour = false; // "m" right after an hour means minutes
    const int n = format.size();
    int i = 0;
    while (i < n) {
        const QChar c = format[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            int close = format.indexOf(c, i + 1);
            if (close < 0) close = n;
            out += format.mid(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        if (format.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            const QString word = t.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm");
            out += c.isUpper() ? word.toUpper() : word;
            i += 5;
            continue;
        }
        if (format.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
            const QChar letter = t.hour() < 12 ? QLatin1Char('a') : QLatin1Char('p');
            out += c.isUpper() ? letter.toUpper() : letter;
            i += 3;
            continue;
        }
        const QChar lc = c.toLower();
        int run = 1;
        while (i + run < n && format[i + run].toLower() == lc)
            ++run;
        bool specifier = true;
        switch (lc.unicode()) {
        case 'd':
            if (run == 1)
                out += QString::number(d.day());
            else if (run == 2)
                out += padded(d.day(), 2);
            else if (run == 3)
                out += names.dayName(d.dayOfWeek(), QLocale::ShortFormat);
            else if (run == 4)
                out += names.dayName(d.dayOfWeek(), QLocale::LongFormat);
            else
                out += d.toString(QStringLiteral("dd.MM.yyyy"));
            break;
        case 'm':
            if (afterHour && run <= 2)
                out += run == 1 ? QString::number(t.minute()) : padded(t.minute(), 2);
            else if (run == 1)
                out += QString::number(d.month());
            else if (run == 2)
                out += padded(d.month(), 2);
            else if (run == 3)
                out += names.monthName(d.month(), QLocale::ShortFormat);
            else
                out += names.monthName(d.month(), QLocale::LongFormat);
            break;
        case 'y':
            out += run <= 2 ? padded(d.year() % 100, 2) : padded(d.year(), 4);
            break;
        case 'h': {
            int h = t.hour();
            if (twelveHour) h = h % 12 == 0 ? 12 : h % 12;
            out += run == 1 ? QString::number(h) : padded(h, 2);
            break;
        }
        case 'n':
            out += run == 1 ? QString::number(t.minute()) : padded(t.minute(), 2);
            break;
        case 's':
            out += run == 1 ? QString::number(t.second()) : padded(t.second(), 2);
            break;
        case 'z':
            out += run < 3 ? QString::number(t.msec()) : padded(t.msec(), 3);
            break;
        case 't':
            out += t.toString(run == 1 ? QStringLiteral("HH:mm") : QStringLiteral("HH:mm:ss"));
            break;
        case 'c':
            out += d.toString(QStringLiteral("dd.MM.yyyy"));
            if (t != QTime(0, 0)) out += t.toString(QStringLiteral(" HH:mm:ss"));
            break;
        case '/':
            out += QString(run, QLatin1Char('.'));
            specifier = false;
            break;
        default:
            out += format.mid(i, run);
            specifier = false;
            break;
        }
        if (specifier) afterHour = lc == QLatin1Char('h');
        i += run;
    }
    return out;
}
