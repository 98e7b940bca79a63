#pragma once
// Every message box, question, file dialog and modal show goes through here, so that tests can
// script the answers and read what was shown without anything blocking.

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <memory>

class QWidget;

enum class DlgType { Warning, Error, Information, Confirmation, Plain };
enum class DlgButtons { Ok, YesNo, YesNoCancel };
enum class DlgResult { Ok, Yes, No, Cancel };

struct FileDialogRequest {
    QString caption;
    QString directory;
    QString filter;     // "ADIF (*.adi)"
    QString defaultExt; // "adi": appended only when the chosen name lacks it
    QString fileName;   // initial file name
};

// What a backend does when asked; the real one shows Qt dialogs, the scripted one answers from a queue.
class DialogBackend {
public:
    virtual ~DialogBackend() = default;
    virtual DlgResult message(const QString& text, DlgType type, DlgButtons buttons) = 0;
    virtual QString openFile(const FileDialogRequest& r) = 0; // empty = cancelled
    virtual QString saveFile(const FileDialogRequest& r) = 0; // empty = cancelled
    virtual int showModal(QWidget* w) = 0;                    // the window's result code
    virtual void notice(const QString& text) = 0;             // shown without waiting for an answer
};

namespace Dialogs {
// The plain message box of the framework (no icon, OK).
void showMessage(const QString& text);
// A message dialog with an icon type and buttons.
DlgResult messageDlg(const QString& text, DlgType type, DlgButtons buttons = DlgButtons::Ok);
// A plain message that does not wait: the caller goes on while it is shown (a clock tick must
// not stop for a box nobody is there to close).
void notice(const QString& text);
// The standard error box titled with the application title: used for uncaught errors.
void errorBox(const QString& text);
// File dialogs; a save name gets the default extension only when it lacks one.
QString openFile(const FileDialogRequest& r);
QString saveFile(const FileDialogRequest& r);
// Shows a window modally (blocks the other windows); returns its result code.
int showModal(QWidget* w);
// The width a window needs for its whole title in the title bar: the title as window managers
// draw it (bold) and room for the frame's icon and buttons.
int titleBarWidth(const QWidget* w);
// Makes a window at least that wide (called again when its title changes).
void keepTitleRoom(QWidget* w);

void setBackend(std::unique_ptr<DialogBackend> backend); // nullptr restores the real dialogs
DialogBackend& backend();

// Runs a handler and shows any error it throws in the standard error box, as the framework did
// for every event; returns false when an error was shown.
bool guarded(const std::function<void()>& handler);
// What guarded() puts on a line before an error's own text: a plain sentence for the user, or
// nothing. Set by the program, which knows its errors and the message language.
void setErrorPreface(std::function<QString(const std::exception&)> preface);

// A slot that runs a window's handler through guarded():
// connect(button, &QPushButton::clicked, w, Dialogs::guardedSlot(w, &W::ButtonClick)).
template <class W> auto guardedSlot(W* w, void (W::*handler)()) {
    return [w, handler] { guarded([w, handler] { (w->*handler)(); }); };
}
} // namespace Dialogs
