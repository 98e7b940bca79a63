#include "widgets/BoxColour.h"

#include <QLineEdit>
#include <QPalette>

void setBoxColour(QLineEdit* box, const QColor& colour) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colour);
    box->setPalette(p);
}

QColor boxColour(const QLineEdit* box) {
    return box->palette().color(QPalette::Base);
}

void setTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

QColor textColour(const QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}
