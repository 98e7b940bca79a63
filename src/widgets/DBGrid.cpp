#include "widgets/DBGrid.h"

#include "platform/Dialogs.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <QtDebug>
#include <algorithm>

namespace {
// Rows whose values size the columns, taken around the current row (the rows the grid shows):
// enough to see typical values, few enough that a new filter on every keystroke stays quick.
constexpr int kRowsMeasured = 50;
constexpr int kWidestColumnChars = 40;
constexpr int kRowMargin = 4; // pixels above and below a row's line of text, together
} // namespace

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), model_(new DatasetModel(this)) {
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    verticalHeader()->setVisible(false);
    // One line a row: a value that does not fit its column is cut with "...", never wrapped.
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    fitRowsToFont();
    connect(model_, &DatasetModel::currentRowChanged, this, &DBGrid::showCurrentRow);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        // New columns or the first rows are sized at once; the widths of later rows (every
        // keystroke refilters the repeat grid) wait for the next paint.
        if ((!sizedWithRows_ && model_->rowCount() > 0) || !sameColumns())
            applyWidths();
        else
            widthsDue_ = true;
        showCurrentRow();
    });
}

int DBGrid::rowHeightForFont(const QFontMetrics& fm) {
    return fm.height() + kRowMargin;
}

int DBGrid::cellTextWidth(const QString& text) const {
    // The item's text margins on both sides, the grid line and a pixel the text layout may round up.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 2;
    return fontMetrics().horizontalAdvance(text) + margin;
}

void DBGrid::fitRowsToFont() {
    const int height = rowHeightForFont(fontMetrics());
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
    headingWidths_.clear();
}

void DBGrid::changeEvent(QEvent* e) {
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
        fitRowsToFont();
        widthsDue_ = true;
    }
}

bool DBGrid::viewportEvent(QEvent* e) {
    // Sized when the rows are painted, which reads them anyway: keystrokes that refilter the
    // grid faster than it is painted measure once.
    if (e->type() == QEvent::Paint && widthsDue_) applyWidths();
    return QTableView::viewportEvent(e);
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

bool DBGrid::sameColumns() const {
    if (headingWidths_.size() != model_->shownColumnCount()) return false;
    for (int i = 0; i < model_->shownColumnCount(); ++i)
        if (sizedColumns_[i] != model_->shownColumn(i).field) return false;
    return true;
}

void DBGrid::applyWidths() {
    // Measured for every new set of rows from a bounded sample of them, never from the whole view.
    widthsDue_ = false;
    const int columns = model_->shownColumnCount();
    if (columns == 0) return; // closed: the widths wait for the next open
    if (!sameColumns()) {
        sizedColumns_.clear();
        headingWidths_.clear();
        for (int i = 0; i < columns; ++i) {
            sizedColumns_ << model_->shownColumn(i).field;
            headingWidths_ << horizontalHeader()->sectionSizeHint(i);
        }
        sizedWithRows_ = false;
    }
    const QFontMetrics fm = fontMetrics();
    const int widest =
        std::max(fm.averageCharWidth(), fm.horizontalAdvance(QLatin1Char('0'))) * kWidestColumnChars +
        cellTextWidth({});
    const int rows = model_->rowCount();
    if (rows > 0) sizedWithRows_ = true;
    const int first =
        std::clamp(model_->currentRow() - kRowsMeasured / 2, 0, std::max(0, rows - kRowsMeasured));
    const int last = std::min(rows, first + kRowsMeasured);
    for (int c = 0; c < columns; ++c) {
        int width = model_->shownColumn(c).width;
        if (width <= 0) {
            width = headingWidths_[c];
            for (int r = first; r < last && width < widest; ++r)
                width = std::max(width, cellTextWidth(model_->data(model_->index(r, c)).toString()));
            width = std::min(width, std::max(widest, headingWidths_[c]));
        }
        if (columnWidth(c) != width) setColumnWidth(c, width);
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
