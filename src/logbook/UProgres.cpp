#include "logbook/UProgres.h"

#include "dataset/Dataset.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWindow>

TFProgres* FProgres = nullptr;

namespace {

QProgressBar* newGauge(QWidget* parent, const QString& name) {
    auto* g = new QProgressBar(parent);
    g->setObjectName(name);
    g->setRange(0, 100);
    g->setValue(0);
    g->setTextVisible(true);
    g->setMinimumWidth(320);
    return g;
}

int percentOf(const QProgressBar* g, int value) {
    const qint64 span = qint64(g->maximum()) - g->minimum();
    return span <= 0 ? 100 : int((qint64(value) - g->minimum()) * 100 / span);
}

} // namespace

TFProgres::TFProgres(QWidget* parent) : TForm(QStringLiteral("FProgres"), parent) {
    setWindowTitle(QStringLiteral("Progres"));
    // No border icons: the walk ends the window, not the user.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    GaugeMain = newGauge(this, QStringLiteral("GaugeMain"));
    GaugeDop = newGauge(this, QStringLiteral("GaugeDop"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(8);
    column->addWidget(GaugeMain);
    column->addWidget(GaugeDop);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void TFProgres::setGauge(QProgressBar* gauge, int value) {
    const int before = percentOf(gauge, gauge->value());
    gauge->setValue(std::clamp(value, gauge->minimum(), gauge->maximum()));
    if (percentOf(gauge, gauge->value()) != before && gauge->isVisible()) gauge->repaint();
}

void TFProgres::setGaugeMaximum(QProgressBar* gauge, int maximum) {
    // An empty walk shows 0 %, not the busy bar of an empty range.
    gauge->setMaximum(std::max(1, maximum));
    gauge->setValue(0);
    if (gauge->isVisible()) gauge->repaint();
}

void TFProgres::showPainted() {
    show();
    raise();
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
}

void TFProgres::closeEvent(QCloseEvent* e) {
    // Closing it while the walk runs would lift the block on the other windows.
    if (walking_) {
        e->ignore();
        return;
    }
    TForm::closeEvent(e);
}

ProgressWalk::ProgressWalk(int mainMaximum, Options options) : options_(options) {
    FProgres->walking_ = true;
    FProgres->showPainted();
    FProgres->setGaugeMaximum(FProgres->GaugeMain, mainMaximum);
    FProgres->setGaugeMaximum(FProgres->GaugeDop, 0);
    hidden_ = options_.hide && options_.hide->isVisible();
    if (hidden_) options_.hide->hide();
    detached_ = options_.detach && options_.detach->enabled();
    if (detached_) options_.detach->setEnabled(false);
    FProgres->repaint();
}

ProgressWalk::~ProgressWalk() {
    if (detached_) options_.detach->setEnabled(true);
    if (hidden_) options_.hide->show();
    FProgres->GaugeMain->setValue(0);
    FProgres->GaugeDop->setValue(0);
    FProgres->walking_ = false;
    FProgres->close();
}

void ProgressWalk::setMain(int value) {
    main_ = value;
    FProgres->setGauge(FProgres->GaugeMain, value);
}

void ProgressWalk::stepMain(int by) {
    setMain(main_ + by);
}

void ProgressWalk::setDop(int value, int maximum) {
    if (FProgres->GaugeDop->maximum() != maximum) FProgres->setGaugeMaximum(FProgres->GaugeDop, maximum);
    FProgres->setGauge(FProgres->GaugeDop, value);
}
