#include "widgets/Controls.h"

#include "dataset/Dataset.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <algorithm>

QLabel* newLabel(QWidget* parent, const QString& name, const QString& text) {
    return named(new QLabel(text, parent), name);
}

QLabel* caption(QWidget* parent, const QString& text) {
    return new QLabel(text, parent);
}

QLineEdit* newEdit(QWidget* parent, const QString& name, const QString& text, int maxLength) {
    auto* e = named(new QLineEdit(parent), name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->setText(text);
    return e;
}

QPushButton* newButton(QWidget* parent, const QString& name, const QString& text) {
    auto* b = named(new QPushButton(text, parent), name);
    b->setAutoDefault(false);
    return b;
}

QCheckBox* newCheck(QWidget* parent, const QString& name, const QString& text, bool checked) {
    auto* c = named(new QCheckBox(text, parent), name);
    c->setChecked(checked);
    return c;
}

QComboBox* newCombo(QWidget* parent, const QString& name, const QStringList& items, bool editable,
                    const QString& text) {
    auto* c = named(new QComboBox(parent), name);
    c->setEditable(editable);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    setComboText(c, text);
    return c;
}

QGroupBox* newGroup(QWidget* parent, const QString& name, const QString& title) {
    return named(new QGroupBox(title, parent), name);
}

QFrame* newPanel(QWidget* parent, const QString& name) {
    auto* f = named(new QFrame(parent), name);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

QAction* newItem(QMenu* menu, const QString& name, const QString& text) {
    auto* a = named(new QAction(text, menu), name);
    menu->addAction(a);
    return a;
}

QAction* newCheckItem(QMenu* menu, const QString& name, const QString& text, bool checked) {
    QAction* a = newItem(menu, name, text);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

QMenu* newSubmenu(QMenu* parent, const QString& name, const QString& title) {
    auto* m = named(new QMenu(title, parent), name);
    parent->addMenu(m);
    return m;
}

QActionGroup* radioGroup(QObject* owner, const QString& name, std::initializer_list<QAction*> items) {
    auto* g = named(new QActionGroup(owner), name);
    g->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (QAction* a : items) {
        a->setCheckable(true);
        g->addAction(a);
    }
    return g;
}

void setComboText(QComboBox* box, const QString& text) {
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (box->isEditable()) {
        if (index >= 0) box->setCurrentIndex(index);
        box->setEditText(text);
    } else {
        box->setCurrentIndex(index);
    }
}

namespace {

// The stored text size of a column, 0 when unknown (closed dataset, no such column, no size).
int columnWidth(const Dataset* table, const QString& field) {
    if (!table || !table->active()) return 0;
    const int i = table->fieldIndex(field);
    if (i < 0) return 0;
    const FieldDef& def = table->fieldDefs().at(std::size_t(i));
    return def.type == FieldType::Text ? def.size : 0;
}

} // namespace

void limitToColumn(QLineEdit* box, const Dataset* table, const QString& field) {
    const int width = columnWidth(table, field);
    if (width > 0) box->setMaxLength(std::min(box->maxLength(), width));
}

void limitToColumn(QComboBox* box, const Dataset* table, const QString& field) {
    if (QLineEdit* e = box->lineEdit()) limitToColumn(e, table, field);
}
