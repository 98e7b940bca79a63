#pragma once
// The desktop as an in-memory window tree: top-level windows in stacking order around one that
// stands for the logbook, children in order, texts read through a buffer as the real call does.
// Records every text written and every click; a window can be removed between polls. Builds
// the main windows of the five digital-mode programs with the controls the links rely on.

#include "platform/DesktopWindows.h"
#include "station/DigitalLink.h"

#include <QHash>
#include <QPair>

// The controls of one program's window that a test reads or changes (0 where it has none).
struct FakeProgramWindow {
    WindowHandle main = 0;
    WindowHandle call = 0, name = 0, qth = 0, rstRx = 0, rstTx = 0, band = 0, note = 0, mode = 0;
    WindowHandle statusBar = 0; // MixW: "CALL (Name, QTH)"
};

class FakeDesktopWindows : public DesktopWindows {
public:
    FakeDesktopWindows();
    // Installs a new fake desktop holding only the logbook's window; owned by the desktop layer.
    static FakeDesktopWindows* install();

    // A top-level window, below the others (or above them all).
    WindowHandle addTopLevel(const QString& className, const QString& caption, bool onTop = false);
    WindowHandle addChild(WindowHandle parent, const QString& className, const QString& text = {});
    // The program's main window with its controls showing the texts (MixW shows them in its
    // status bar; the note and mode only where the program has such a box).
    FakeProgramWindow addProgram(DigitalProgram p, const LinkReading& shown, bool onTop = false);
    // The top-level windows in a new stacking order, topmost first.
    void restack(const QList<WindowHandle>& order) { top_ = order; }
    // The window and its children are gone.
    void remove(WindowHandle w);
    // What the window shows, whole; and a change the program makes itself (not recorded).
    QString shownText(WindowHandle w) const { return nodes_.value(w).text; }
    void show(WindowHandle w, const QString& text) { nodes_[w].text = text; }

    QList<QPair<WindowHandle, QString>> written;
    QList<WindowHandle> clicked;

    QList<WindowHandle> topLevelWindows() const override { return top_; }
    WindowHandle ownWindow() const override { return own_; }
    QString className(WindowHandle w) const override { return nodes_.value(w).className; }
    WindowHandle firstChild(WindowHandle parent, const QString& className) const override;
    WindowHandle nextSibling(WindowHandle w) const override;
    QString text(WindowHandle w, int bufferChars) const override;
    void setText(WindowHandle w, const QString& text) override;
    void click(WindowHandle w) override { clicked << w; }

private:
    struct Node {
        WindowHandle parent = 0;
        QString className, text;
        QList<WindowHandle> children;
    };
    WindowHandle newNode(WindowHandle parent, const QString& className, const QString& text);
    QHash<WindowHandle, Node> nodes_;
    QList<WindowHandle> top_;
    WindowHandle own_ = 0;
    WindowHandle lastId_ = 0;
};
