#pragma once
// Table and query datasets over SQLite with the cursor semantics the windows rely on:
// a static snapshot of ordered row keys, values read by key on demand, filters in the
// ADO syntax parsed into bound SQL, master-detail links and a data-change signal.
//
// Letter case, decided per column by its declared collation: text columns are NOCASE, because
// the Access filters they replace ignored case (a call or prefix typed or imported in lower case
// still finds "UA3" and the earlier contacts). The award keys (AwName, Param1-3) and the settings
// keys (FormName, Object, Name_Param) are BINARY, because award items differing only in case are
// separate rows and settings are found by their exact names. Filters follow the collation, LIKE
// included (GLOB on BINARY columns); Locate compares exactly unless asked otherwise.

#include "dataset/DbError.h"
#include "dataset/TableSchema.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class Connection;

// One field of the current row, read like the framework's persistent fields.
class FieldRef {
public:
    FieldRef(const class Dataset* ds, int index) : ds_(ds), index_(index) {}
    QVariant value() const;
    QString asString() const;
    qint64 asInteger() const;
    double asFloat() const;
    bool asBoolean() const;
    QDateTime asDateTime() const;
    QDate asDate() const;
    QTime asTime() const;
    QByteArray asBytes() const;
    bool isNull() const;
    const FieldDef& def() const;

private:
    const Dataset* ds_;
    int index_;
};

class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Bookmark = qint64; // the row key (SQLite rowid); 0 = none

    explicit Dataset(QObject* parent = nullptr);
    ~Dataset() override;

    // --- source -----------------------------------------------------------------
    void setConnection(Connection* c);
    Connection* connection() const;
    void setTableName(const QString& table); // table mode: keys + lazy values, editable
    QString tableName() const;
    void setSql(const QString& sql); // query mode: read-only, materialised rows
    QString sql() const;
    void setMaxRecords(int n); // 0 = all
    void setReadOnly(bool on); // a view that edits nothing
    bool readOnly() const;

    // --- open / close ------------------------------------------------------------
    void open(); // throws DbError
    void close();
    bool active() const;
    void setActive(bool on);
    void requery(); // new snapshot with the same filter and sort, keeps the current row when it still exists

    // --- filter and sort ------------------------------------------------------------
    // A filter that does not parse or names an unknown column throws DbError naming the
    // filter text; the dataset then keeps its previous filter.
    void setFilter(const QString& adoFilter);
    QString filter() const;
    void setFiltered(bool on);
    bool filtered() const;
    void setSort(const QString& sort); // "LogDate, LogTime", "LogCall DESC"; unknown column throws
    QString sort() const;
    // The column whose value the master link compares (the framework's index name).
    void setIndexField(const QString& field);

    // --- master-detail ------------------------------------------------------------------
    // The detail shows the rows whose detailField equals masterField of the master's current row.
    void setMasterLink(Dataset* master, const QString& masterField, const QString& detailField);

    // --- navigation ------------------------------------------------------------------
    void first();
    void last();
    void next();
    void prior();
    bool moveBy(int distance); // false when it stopped at an end (bof/eof) before the whole distance
    bool eof() const;
    bool bof() const;
    bool isEmpty() const;
    int recNo() const; // 1-based, 0 when empty
    void setRecNo(int recNo);
    int recordCount() const;
    // Exact match (letter case counts unless caseInsensitive); on failure the cursor stays.
    bool locate(const QString& field, const QVariant& value, bool caseInsensitive = false);
    bool locate(const QStringList& fields, const QVariantList& values, bool caseInsensitive = false);
    Bookmark bookmark() const;
    bool bookmarkValid(Bookmark b) const;
    void gotoBookmark(Bookmark b); // throws DbError when the row is not in the snapshot

    // --- fields ------------------------------------------------------------------
    const std::vector<FieldDef>& fieldDefs() const;
    int fieldIndex(const QString& name) const; // -1 when unknown
    bool hasField(const QString& name) const;
    FieldRef field(const QString& name) const; // throws DbError for an unknown field
    FieldRef field(int index) const;
    QVariant value(const QString& name) const;
    // Value of any row of the snapshot by 0-based position (grids).
    QVariant valueAt(int position, int fieldIndex) const;

    // --- editing ------------------------------------------------------------------
    State state() const;
    void edit();
    void append();
    void setValue(const QString& name, const QVariant& v); // Edit/Insert only; texts cut to the field size
    // Auto-increment key read back; throws DbError. The posted row stands where the sort puts
    // it (ties by key, as a requery orders them) and is current; a row the filter or master link
    // no longer takes leaves the view.
    void post();
    void cancel();
    void remove(); // Delete: the cursor goes to the next row, or the prior one at the end

    // --- controls ------------------------------------------------------------------
    void disableControls();
    void enableControls();
    bool controlsDisabled() const;

signals:
    // The current row changed (move, open, filter, sort, requery, post, delete, cancel, close).
    void dataChange();
    // The list of rows changed (open, close, filter, sort, requery, append, delete, an edit that
    // moves its row or takes it out of the view): views reload.
    void layoutReset();
    // One row's values changed in place (post of an edit).
    void rowUpdated(int position);
    // The dataset was closed (its details empty themselves).
    void closed();

private:
    friend class FieldRef;
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The framework's data source: enabled flag and change notifications for handlers and grids.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(Dataset* ds = nullptr, QObject* parent = nullptr);
    void setDataSet(Dataset* ds);
    Dataset* dataSet() const;
    void setEnabled(bool on); // enabling an active dataset's source announces its current row
    bool enabled() const;

signals:
    void dataChange();
    void layoutReset();
    void rowUpdated(int position);

private:
    QPointer<Dataset> ds_;
    bool enabled_ = true;
    QList<QMetaObject::Connection> links_;
};
