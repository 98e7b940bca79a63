#pragma once
// The data-aware grid: shows a dataset through a DatasetModel, its selected row follows the
// dataset's current row and moving in the grid moves the dataset.

#include "dataset/DatasetModel.h"

#include <QTableView>

class QFontMetrics;

class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    DatasetModel* datasetModel() const { return model_; }

    void addColumn(const QString& field, const QString& heading, const QString& displayFormat = {},
                   bool visible = true);
    void setColumnVisible(const QString& field, bool visible);
    bool columnVisible(const QString& field) const;

    void setReadOnly(bool on);
    bool readOnly() const;
    void setRowSelect(bool on); // the whole row is selected, not one cell
    bool rowSelect() const;

    // A row's height: one line of text in the grid's font and a small margin.
    static int rowHeightForFont(const QFontMetrics& fm);
    // The width a cell needs to show a text whole.
    int cellTextWidth(const QString& text) const;

signals:
    void enter();         // the grid got the focus
    void exitGrid();      // the grid lost the focus to another control
    void mouseActivate(); // a mouse button went down on the grid (before it takes the focus)
    void dblClick();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;

private:
    void showCurrentRow();
    void applyWidths();
    void fitRowsToFont();
    bool sameColumns() const; // the shown columns are those last sized

    DatasetModel* model_;
    bool syncing_ = false;        // the grid is being moved to the dataset's row
    bool pressGaveFocus_ = false; // mouseActivate already sent by the focus the press brought
    QStringList sizedColumns_;    // the shown columns whose heading widths are known
    QList<int> headingWidths_;    // ... those widths
    bool sizedWithRows_ = false;  // ... and sized from rows
    bool widthsDue_ = false;      // new rows or a new font: the columns are sized before the next paint
};
