#include "platform/Dialogs.h"

#include "platform/ReportedError.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

QString withDefaultExt(const QString& name, const QString& ext) {
    if (name.isEmpty() || ext.isEmpty()) return name;
    if (QFileInfo(name).suffix().compare(ext, Qt::CaseInsensitive) == 0) return name;
    return name + "." + ext;
}

const char* typeName(DlgType type) {
    switch (type) {
    case DlgType::Warning:
        return "warning";
    case DlgType::Error:
        return "error";
    case DlgType::Information:
        return "information";
    case DlgType::Confirmation:
        return "confirmation";
    case DlgType::Plain:
        break;
    }
    return "message";
}

// Every message shown also goes to the standard error stream, one line each, so that what the
// user was told can be read back after the window is gone (and by the smoke test).
void logMessage(const QString& text, DlgType type) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1String(" / "));
    std::fprintf(stderr, "zelmor-log %s: %s\n", typeName(type), line.toUtf8().constData());
    std::fflush(stderr);
}

// ZELMOR_DIALOG_AUTOCLOSE_MS: each message box answers itself (OK, or its escape button: No or
// Cancel) after that many milliseconds. It lets the smoke test run the real program past its
// start-up errors, with real boxes and real event loops, and nobody at the keyboard.
int autoCloseMs() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ZELMOR_DIALOG_AUTOCLOSE_MS", &ok);
    return ok && ms > 0 ? ms : 0;
}

class QtDialogBackend : public DialogBackend {
public:
    DlgResult message(const QString& text, DlgType type, DlgButtons buttons) override {
        logMessage(text, type);
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(QApplication::applicationName());
        box.setText(text);
        switch (type) {
        case DlgType::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case DlgType::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case DlgType::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case DlgType::Confirmation:
            box.setIcon(QMessageBox::Question);
            break;
        case DlgType::Plain:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        switch (buttons) {
        case DlgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case DlgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case DlgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        // Only now: setting the icon lays the box out anew and drops the room kept for the title.
        Dialogs::keepTitleRoom(&box);
        if (const int ms = autoCloseMs())
            QTimer::singleShot(ms, &box, [&box] {
                if (QAbstractButton* b = box.escapeButton())
                    b->click();
                else
                    box.reject();
            });
        switch (box.exec()) {
        case QMessageBox::Yes:
            return DlgResult::Yes;
        case QMessageBox::No:
            return DlgResult::No;
        case QMessageBox::Cancel:
            return DlgResult::Cancel;
        default:
            return buttons == DlgButtons::Ok ? DlgResult::Ok : DlgResult::Cancel;
        }
    }
    QString openFile(const FileDialogRequest& r) override {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), r.caption, r.directory, r.filter);
    }
    QString saveFile(const FileDialogRequest& r) override {
        QString start = r.directory;
        if (!r.fileName.isEmpty())
            start = r.directory.isEmpty() ? r.fileName : r.directory + "/" + r.fileName;
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), r.caption, start, r.filter);
    }
    void notice(const QString& text) override {
        logMessage(text, DlgType::Plain);
        auto* box = new QMessageBox(QMessageBox::NoIcon, QApplication::applicationName(), text,
                                    QMessageBox::Ok, QApplication::activeWindow());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        Dialogs::keepTitleRoom(box);
        if (const int ms = autoCloseMs()) QTimer::singleShot(ms, box, &QMessageBox::close);
        box->show();
    }
    int showModal(QWidget* w) override {
        if (auto* dlg = qobject_cast<QDialog*>(w)) return dlg->exec();
        w->setWindowModality(Qt::ApplicationModal);
        w->show();
        return 0;
    }
};

std::unique_ptr<DialogBackend>& current() {
    static std::unique_ptr<DialogBackend> b;
    if (!b) b = std::make_unique<QtDialogBackend>();
    return b;
}

std::function<QString(const std::exception&)>& errorPreface() {
    static std::function<QString(const std::exception&)> preface;
    return preface;
}

} // namespace

namespace Dialogs {

void showMessage(const QString& text) {
    backend().message(text, DlgType::Plain, DlgButtons::Ok);
}

void notice(const QString& text) {
    backend().notice(text);
}

DlgResult messageDlg(const QString& text, DlgType type, DlgButtons buttons) {
    return backend().message(text, type, buttons);
}

void errorBox(const QString& text) {
    backend().message(text, DlgType::Error, DlgButtons::Ok);
}

QString openFile(const FileDialogRequest& r) {
    return backend().openFile(r);
}

QString saveFile(const FileDialogRequest& r) {
    return withDefaultExt(backend().saveFile(r), r.defaultExt);
}

int titleBarWidth(const QWidget* w) {
    QFont bold = w->font();
    bold.setBold(true);
    // The icon at the left, minimise, maximise and close at the right, and the gaps between.
    const int buttons = 5 * w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w);
    return QFontMetrics(bold).horizontalAdvance(w->windowTitle()) + buttons;
}

void keepTitleRoom(QWidget* w) {
    const int room = titleBarWidth(w);
    QLayout* layout = w->layout();
    auto* grid = qobject_cast<QGridLayout*>(layout);
    auto* box = qobject_cast<QBoxLayout*>(layout);
    if (box && (box->direction() == QBoxLayout::LeftToRight || box->direction() == QBoxLayout::RightToLeft))
        box = nullptr;
    if (grid || box) {
        // A zero-high item as wide as the title: the layout sizes the window, whatever its constraint.
        const QMargins m = layout->contentsMargins();
        const int width = std::max(0, room - m.left() - m.right());
        QSpacerItem* spacer = nullptr;
        const auto known = reinterpret_cast<QLayoutItem*>(w->property("titleRoom").value<quintptr>());
        for (int i = 0; known && i < layout->count(); ++i)
            if (layout->itemAt(i) == known) spacer = known->spacerItem();
        if (spacer) {
            spacer->changeSize(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
        } else {
            spacer = new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
            if (grid)
                grid->addItem(spacer, grid->rowCount(), 0, 1, grid->columnCount());
            else
                box->addSpacerItem(spacer);
            w->setProperty("titleRoom", quintptr(spacer));
        }
        layout->invalidate();
        layout->activate();
    }
    if (w->width() < room) w->resize(room, w->height());
}

int showModal(QWidget* w) {
    return backend().showModal(w);
}

void setBackend(std::unique_ptr<DialogBackend> b) {
    current() = std::move(b);
}

DialogBackend& backend() {
    return *current();
}

bool guarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        if (dynamic_cast<const ReportedError*>(&e)) return false;
        const QString text = QString::fromUtf8(e.what());
        const QString preface = errorPreface() ? errorPreface()(e) : QString();
        errorBox(preface.isEmpty() ? text : preface + QLatin1Char('\n') + text);
    }
    return false;
}

void setErrorPreface(std::function<QString(const std::exception&)> preface) {
    errorPreface() = std::move(preface);
}

} // namespace Dialogs
