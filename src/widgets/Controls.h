#pragma once
// The one set of control-making helpers every window uses. Each control gets the name the
// windows, the tests and the caption table find it by (objectName).

#include <QString>
#include <QStringList>
#include <initializer_list>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QObject;
class QPushButton;
class QWidget;
class Dataset;

template <class W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QLabel* newLabel(QWidget* parent, const QString& name, const QString& text);
// A caption that nothing else refers to (no name).
QLabel* caption(QWidget* parent, const QString& text);
// maxLength 0: no limit of the design (a column may still limit it, see limitToColumn).
QLineEdit* newEdit(QWidget* parent, const QString& name, const QString& text = {}, int maxLength = 0);
// Never the default button: Enter in a box does not press it.
QPushButton* newButton(QWidget* parent, const QString& name, const QString& text);
QCheckBox* newCheck(QWidget* parent, const QString& name, const QString& text, bool checked);
// Editable boxes take any text; pick-only ones select the matching item (see setComboText).
QComboBox* newCombo(QWidget* parent, const QString& name, const QStringList& items, bool editable,
                    const QString& text);
QGroupBox* newGroup(QWidget* parent, const QString& name, const QString& title);
QFrame* newPanel(QWidget* parent, const QString& name);

QAction* newItem(QMenu* menu, const QString& name, const QString& text);
QAction* newCheckItem(QMenu* menu, const QString& name, const QString& text, bool checked = false);
QMenu* newSubmenu(QMenu* parent, const QString& name, const QString& title);
// Radio items: one of the group stays checked; a click checks the clicked one.
QActionGroup* radioGroup(QObject* owner, const QString& name, std::initializer_list<QAction*> items);

// The text of a combo box as the framework set it: an editable box takes any text; a pick-only
// box selects the matching item, or none when the text is not one of its items.
void setComboText(QComboBox* box, const QString& text);

// A box that feeds a column takes no more characters than the column holds (its stored text
// size as the open dataset reads it from the schema); a smaller limit of the design stays.
// Nothing changes while the dataset is closed (its database failed to open).
void limitToColumn(QLineEdit* box, const Dataset* table, const QString& field);
void limitToColumn(QComboBox* box, const Dataset* table, const QString& field);
