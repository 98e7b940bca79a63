#include "widgets/TForm.h"

#include "platform/Dialogs.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

TForm::TForm(const QString& name, QWidget* parent) : QDialog(parent) {
    setObjectName(name);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);
}

int TForm::ShowModal() {
    return Dialogs::showModal(this);
}

void TForm::ShowNonModal() {
    setWindowModality(Qt::NonModal);
    show();
    raise();
    activateWindow();
}

QObject* TForm::findControl(const QString& name) const {
    return findNamedChild(this, name);
}

void TForm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        e->ignore();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool TForm::event(QEvent* e) {
    // Sized by its controls when it is shown: widened when the title would be cut.
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::Show) Dialogs::keepTitleRoom(this);
    return handled;
}

QObject* findNamedChild(const QObject* window, const QString& name) {
    if (!window || name.isEmpty()) return nullptr;
    if (QObject* o = window->findChild<QObject*>(name, Qt::FindChildrenRecursively)) return o;
    return nullptr;
}

void centreOn(QWidget* w, QWidget* over) {
    Dialogs::keepTitleRoom(w);
    w->adjustSize();
    QRect target;
    if (over && over->isVisible())
        target = over->frameGeometry();
    else if (QScreen* s = QGuiApplication::primaryScreen())
        target = s->availableGeometry();
    if (target.isValid()) w->move(target.center() - QPoint(w->width() / 2, w->height() / 2));
}
