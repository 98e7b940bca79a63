#include "widgets/DBGrid.h"

#include "platform/Dialogs.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QtDebug>

namespace {
// Rows whose values size the columns (besides the visible ones): enough to see typical values,
// few enough that a new filter or sort of a large log stays quick.
constexpr int kRowsMeasured = 50;
constexpr int kWidestColumnChars = 40;
} // namespace

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), model_(new DatasetModel(this)) {
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    verticalHeader()->setVisible(false);
    // Columns take the width of their heading and of the values of the first rows, so that all
    // the short columns of a log fit side by side; a long note does not push the rest away.
    horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    horizontalHeader()->setMaximumSectionSize(fontMetrics().averageCharWidth() * kWidestColumnChars);
    connect(model_, &DatasetModel::currentRowChanged, this, &DBGrid::showCurrentRow);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        showCurrentRow();
    });
}

void DBGrid::setDataSource(DataSource* source) {
    model_->setDataSource(source);
}

DataSource* DBGrid::dataSource() const {
    return model_->dataSource();
}

void DBGrid::addColumn(const QString& field, const QString& heading, const QString& displayFormat,
                       bool visible) {
    model_->addColumn(GridColumn{field, heading, visible, displayFormat, 0});
}

void DBGrid::setColumnVisible(const QString& field, bool visible) {
    model_->setColumnVisible(field, visible);
}

bool DBGrid::columnVisible(const QString& field) const {
    return model_->columnVisible(field);
}

void DBGrid::setReadOnly(bool on) {
    model_->setReadOnly(on);
    setEditTriggers(on ? QAbstractItemView::NoEditTriggers
                       : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
}

bool DBGrid::readOnly() const {
    return model_->readOnly();
}

void DBGrid::setRowSelect(bool on) {
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    showCurrentRow();
}

bool DBGrid::rowSelect() const {
    return selectionBehavior() == QAbstractItemView::SelectRows;
}

void DBGrid::showCurrentRow() {
    QScopedValueRollback<bool> guard(syncing_, true);
    const int row = model_->currentRow();
    if (row < 0 || model_->columnCount() == 0) {
        selectionModel()->clear();
        return;
    }
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex index = model_->index(row, std::min(column, model_->columnCount() - 1));
    QItemSelectionModel::SelectionFlags how = QItemSelectionModel::ClearAndSelect;
    if (rowSelect()) how |= QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(index, how);
    scrollTo(index);
}

void DBGrid::applyWidths() {
    // Sized once rows are there, and again only when other columns are shown: a new filter or
    // sort (every keystroke in the repeat grid) keeps the widths.
    QStringList shown;
    for (int i = 0; i < model_->shownColumnCount(); ++i)
        shown << model_->shownColumn(i).field;
    const bool hasRows = model_->rowCount() > 0;
    if (shown.isEmpty()) return; // closed: the widths wait for the next open
    if (shown == sizedColumns_ && (sizedWithRows_ || !hasRows)) return;
    sizedColumns_ = shown;
    sizedWithRows_ = hasRows;
    for (int i = 0; i < model_->shownColumnCount(); ++i) {
        if (model_->shownColumn(i).width > 0)
            setColumnWidth(i, model_->shownColumn(i).width);
        else
            resizeColumnToContents(i);
    }
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid() || current.row() == model_->currentRow()) return;
    Dataset* ds = model_->dataSet();
    if (!ds || !ds->active()) return;
    {
        QScopedValueRollback<bool> guard(syncing_, true);
        try {
            ds->setRecNo(current.row() + 1);
        } catch (const DbError& e) {
            // The dataset refused to move (a pending edit did not post): say why, stay on the row.
            if (!dynamic_cast<const ReportedError*>(&e)) Dialogs::errorBox(e.message());
        }
    }
    if (current.row() != model_->currentRow()) showCurrentRow();
}

void DBGrid::focusInEvent(QFocusEvent* e) {
    QTableView::focusInEvent(e);
    if (e->reason() == Qt::MouseFocusReason) {
        pressGaveFocus_ = true;
        emit mouseActivate();
    }
    if (e->reason() != Qt::ActiveWindowFocusReason) emit enter();
}

void DBGrid::focusOutEvent(QFocusEvent* e) {
    QTableView::focusOutEvent(e);
    pressGaveFocus_ = false;
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason) emit exitGrid();
}

void DBGrid::mousePressEvent(QMouseEvent* e) {
    if (!pressGaveFocus_) emit mouseActivate();
    pressGaveFocus_ = false;
    QTableView::mousePressEvent(e);
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    emit dblClick();
}
