#pragma once
// The desktop's windows as another program's controls are reached: top-level windows in the
// desktop's stacking order, a window's class and children, the text of a control read into a
// buffer of a given size, a text set, a button clicked. Linux gives no access to another
// program's controls, so the shipped backend finds no windows; tests install an in-memory tree.

#include <QList>
#include <QString>
#include <memory>

// A window of the desktop; 0 is no window. A handle of a window that has gone reads as none.
using WindowHandle = quint64;

class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;
    // Every top-level window, topmost first.
    virtual QList<WindowHandle> topLevelWindows() const = 0;
    // This program's main window among them (0 when it is not listed).
    virtual WindowHandle ownWindow() const = 0;
    virtual QString className(WindowHandle w) const = 0;
    // The first child of parent of that class, or 0.
    virtual WindowHandle firstChild(WindowHandle parent, const QString& className) const = 0;
    // The next window in the parent's child order, or 0.
    virtual WindowHandle nextSibling(WindowHandle w) const = 0;
    // The window's text (a caption or a control's text) read into a buffer of bufferChars, so at
    // most bufferChars - 1 characters; empty for no window.
    virtual QString text(WindowHandle w, int bufferChars) const = 0;
    virtual void setText(WindowHandle w, const QString& text) = 0;
    // A left mouse-button press and release.
    virtual void click(WindowHandle w) = 0;
};

// The shipped backend: no other program's window can be seen.
class NoDesktopWindows : public DesktopWindows {
public:
    QList<WindowHandle> topLevelWindows() const override { return {}; }
    WindowHandle ownWindow() const override { return 0; }
    QString className(WindowHandle) const override { return {}; }
    WindowHandle firstChild(WindowHandle, const QString&) const override { return 0; }
    WindowHandle nextSibling(WindowHandle) const override { return 0; }
    QString text(WindowHandle, int) const override { return {}; }
    void setText(WindowHandle, const QString&) override {}
    void click(WindowHandle) override {}
};

namespace Desktop {
// The installed backend; the shipped one until another is installed.
DesktopWindows& windows();
void setWindows(std::unique_ptr<DesktopWindows> windows); // nullptr restores the shipped one
} // namespace Desktop
