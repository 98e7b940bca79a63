#pragma once
// The date and time boxes of every window behave as one control: Tab and Shift+Tab leave the box
// at once (the framework's box would walk its sections first), Left and Right move between its
// sections and Up and Down change the value of the section.

#include <QDateEdit>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QTimeEdit>
#include <algorithm>

template <class Box> class OneStopPicker : public Box {
public:
    using Box::Box;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }

    void keyPressEvent(QKeyEvent* e) override {
        const bool left = e->key() == Qt::Key_Left, right = e->key() == Qt::Key_Right;
        if ((left || right) && !(e->modifiers() & ~Qt::KeypadModifier) && this->sectionCount() > 1) {
            const int at =
                std::clamp(this->currentSectionIndex() + (right ? 1 : -1), 0, this->sectionCount() - 1);
            this->setCurrentSectionIndex(at);
            this->setSelectedSection(this->sectionAt(at));
            e->accept();
            return;
        }
        Box::keyPressEvent(e);
    }
};

using TimeBox = OneStopPicker<QTimeEdit>;
using DateBox = OneStopPicker<QDateEdit>;
using DateTimeBox = OneStopPicker<QDateTimeEdit>;
