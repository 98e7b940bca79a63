#pragma once
// A table model over a dataset for the grids: the columns the window sets up, values read by
// position through the dataset's cache, display formats in the framework's style.

#include "dataset/Dataset.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

struct GridColumn {
    QString field;
    QString heading; // empty: the field name
    bool visible = true;
    QString displayFormat;
    int width = 0; // pixels; 0 = the view's default
};

class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
    Q_PROPERTY(int currentRow READ currentRow NOTIFY currentRowChanged)
public:
    explicit DatasetModel(QObject* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    Dataset* dataSet() const;

    // With no columns set, every field of the dataset is shown, headed by its name.
    void setColumns(const QList<GridColumn>& columns);
    void addColumn(const GridColumn& column);
    const QList<GridColumn>& columns() const;
    void setColumnVisible(const QString& field, bool visible);
    bool columnVisible(const QString& field) const;
    void setReadOnly(bool on);
    bool readOnly() const;

    // The model's columns are the shown ones: the visible columns in their order.
    int shownColumnCount() const { return int(shown_.size()); }
    const GridColumn& shownColumn(int column) const { return shown_[column]; }
    int columnOf(const QString& field) const; // -1 when not shown

    int currentRow() const; // the dataset's current row (0-based), -1 when none

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // A stored value as the grid shows it under a display format ("dd.mm.yy", "hh:mm", "0.000",
    // "Yes;No"); an empty format gives the field's text.
    static QString displayText(const QVariant& stored, FieldType type, const QString& displayFormat);
    // The framework's date-time format: d dd ddd dddd, m mm mmm mmmm (minutes right after an hour),
    // yy yyyy, h hh, n nn, s ss, z zzz, t tt, c, am/pm, a/p, "/" the date separator ".", quoted literals.
    static QString formatDateTime(const QDateTime& dt, const QString& format);

signals:
    void currentRowChanged(int row);

private:
    void reload();
    void followCurrentRow();
    void rowValuesChanged(int position);

    QPointer<DataSource> source_;
    QList<QMetaObject::Connection> links_;
    QList<GridColumn> columns_;
    QList<GridColumn> shown_;
    QList<int> fieldOfShown_; // dataset field index of each shown column, -1 when unknown
    int rows_ = 0;            // the row count the views were last told
    int lastRow_ = -1;
    bool readOnly_ = false;
};
