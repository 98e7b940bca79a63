#pragma once
// Base of every window but the main one: lives for the whole run, hidden until shown, shown
// either modally (through Dialogs::showModal) or without blocking.

#include <QDialog>

class QAction;

class TForm : public QDialog {
    Q_OBJECT
public:
    explicit TForm(const QString& name, QWidget* parent = nullptr);

    // The creation handler; start-up runs it once, right after construction, and shows any error.
    virtual void FormCreate() {}

    // Shows modally through the dialog layer; returns the window's result code.
    int ShowModal();
    // Shows without blocking and brings the window to the front.
    void ShowNonModal();
    void Close() { close(); }

    // A control of this window by its name (objectName), or nullptr.
    QObject* findControl(const QString& name) const;

protected:
    void keyPressEvent(QKeyEvent* e) override; // Escape does not close a window here
    bool event(QEvent* e) override;            // shown at least as wide as its title
};

// Looks up a named control of any window, including menu actions.
QObject* findNamedChild(const QObject* window, const QString& name);

// Centres a window on another one (or on the screen when none).
void centreOn(QWidget* w, QWidget* over);
