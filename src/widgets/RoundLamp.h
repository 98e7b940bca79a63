#pragma once
// A round lamp on a black background, without a caption: lit or dark.

#include <QWidget>

class RoundLamp : public QWidget {
    Q_OBJECT
public:
    explicit RoundLamp(QWidget* parent = nullptr, const QColor& colour = Qt::green);
    bool isLit() const { return lit_; }
    void setLit(bool lit);
    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QColor colour_;
    bool lit_ = false;
};
