#include "widgets/RoundLamp.h"

#include <QPainter>

RoundLamp::RoundLamp(QWidget* parent, const QColor& colour) : QWidget(parent), colour_(colour) {
    setFixedSize(sizeHint());
}

void RoundLamp::setLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    update();
}

void RoundLamp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(lit_ ? colour_ : colour_.darker(400));
    p.drawEllipse(rect().adjusted(2, 2, -3, -3));
}
