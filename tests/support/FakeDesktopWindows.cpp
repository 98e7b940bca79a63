#include "support/FakeDesktopWindows.h"

FakeDesktopWindows::FakeDesktopWindows() {
    own_ = addTopLevel(QStringLiteral("Qt6QWindowIcon"), QStringLiteral("Zelmor Log"));
}

FakeDesktopWindows* FakeDesktopWindows::install() {
    auto fake = std::make_unique<FakeDesktopWindows>();
    FakeDesktopWindows* p = fake.get();
    Desktop::setWindows(std::move(fake));
    return p;
}

WindowHandle FakeDesktopWindows::newNode(WindowHandle parent, const QString& className, const QString& text) {
    const WindowHandle w = ++lastId_;
    nodes_.insert(w, Node{parent, className, text, {}});
    return w;
}

WindowHandle FakeDesktopWindows::addTopLevel(const QString& className, const QString& caption, bool onTop) {
    const WindowHandle w = newNode(0, className, caption);
    if (onTop)
        top_.prepend(w);
    else
        top_.append(w);
    return w;
}

WindowHandle FakeDesktopWindows::addChild(WindowHandle parent, const QString& className, const QString& text) {
    const WindowHandle w = newNode(parent, className, text);
    nodes_[parent].children << w;
    return w;
}

void FakeDesktopWindows::remove(WindowHandle w) {
    const Node n = nodes_.take(w);
    for (WindowHandle c : n.children)
        remove(c);
    if (n.parent && nodes_.contains(n.parent)) nodes_[n.parent].children.removeOne(w);
    top_.removeOne(w);
}

WindowHandle FakeDesktopWindows::firstChild(WindowHandle parent, const QString& className) const {
    for (WindowHandle c : nodes_.value(parent).children)
        if (nodes_.value(c).className == className) return c;
    return 0;
}

WindowHandle FakeDesktopWindows::nextSibling(WindowHandle w) const {
    if (!nodes_.contains(w)) return 0;
    const QList<WindowHandle> siblings = nodes_.value(nodes_.value(w).parent).children;
    const qsizetype i = siblings.indexOf(w);
    return i >= 0 && i + 1 < siblings.size() ? siblings[i + 1] : 0;
}

QString FakeDesktopWindows::text(WindowHandle w, int bufferChars) const {
    return nodes_.value(w).text.left(bufferChars - 1);
}

void FakeDesktopWindows::setText(WindowHandle w, const QString& text) {
    written.append({w, text});
    if (nodes_.contains(w)) nodes_[w].text = text;
}

FakeProgramWindow FakeDesktopWindows::addProgram(DigitalProgram p, const LinkReading& s, bool onTop) {
    FakeProgramWindow f;
    auto edits = [this](WindowHandle parent, const QString& cls, std::initializer_list<WindowHandle*> boxes,
                         std::initializer_list<QString> texts) {
        auto t = texts.begin();
        for (WindowHandle* b : boxes)
            *b = addChild(parent, cls, *t++);
    };
    switch (p) {
    case DigitalProgram::DigiPan: {
        f.main = addTopLevel(QStringLiteral("Afx:400000:8"), QStringLiteral("DigiPan 2.0 - [Log]"), onTop);
        const WindowHandle dialog = addChild(addChild(f.main, QStringLiteral("AfxControlBar42s")),
                                             QStringLiteral("#32770"));
        // Each box has its caption between it and the next box.
        WindowHandle* boxes[] = {&f.call, &f.name, &f.qth, &f.rstRx, &f.rstTx, &f.band, &f.note};
        const QString texts[] = {s.call, s.name, s.qth, s.rstRx, s.rstTx, s.band, s.note};
        for (int i = 0; i < 7; ++i) {
            *boxes[i] = addChild(dialog, QStringLiteral("Edit"), texts[i]);
            addChild(dialog, QStringLiteral("Static"), QStringLiteral("Label"));
        }
        addChild(dialog, QStringLiteral("Button"), QStringLiteral("Save"));
        break;
    }
    case DigitalProgram::MixW: {
        f.main = addTopLevel(QStringLiteral("MixWMainFrame"), QStringLiteral("MixW 2.19 - BPSK31"), onTop);
        const WindowHandle dialog = addChild(addChild(f.main, QStringLiteral("AfxControlBar42s")),
                                             QStringLiteral("#32770"));
        for (const char* b : {"Clear", "Log", "Save"})
            addChild(dialog, QStringLiteral("Button"), QString::fromLatin1(b));
        QString status = s.call;
        if (!s.name.isEmpty()) status += QStringLiteral(" (") + s.name + QStringLiteral(", ") + s.qth + ')';
        f.statusBar = addChild(f.main, QStringLiteral("msctls_statusbar32"), status);
        break;
    }
    case DigitalProgram::MMVari: {
        f.main = addTopLevel(QStringLiteral("TMainVARI"), QStringLiteral("MMVARI"), onTop);
        for (int i = 0; i < 3; ++i)
            addChild(f.main, QStringLiteral("TPanel"));
        const WindowHandle panel = addChild(f.main, QStringLiteral("TPanel"));
        edits(panel, QStringLiteral("TComboBox"), {&f.band, &f.rstRx, &f.rstTx, &f.name, &f.call},
              {s.band, s.rstRx, s.rstTx, s.name, s.call});
        f.mode = addChild(addChild(f.main, QStringLiteral("TPanel")), QStringLiteral("TComboBox"), s.mode);
        break;
    }
    case DigitalProgram::CwType:
    case DigitalProgram::TrueTTY: {
        WindowHandle panel = 0;
        if (p == DigitalProgram::CwType) {
            f.main = addTopLevel(QStringLiteral("TForm1"), QStringLiteral("CwType 2.3"), onTop);
            panel = addChild(f.main, QStringLiteral("TPanel"));
        } else {
            f.main = addTopLevel(QStringLiteral("TRxForm"), QStringLiteral("TrueTTY 3.0"), onTop);
            addChild(f.main, QStringLiteral("TMemo"));
            panel = addChild(f.main, QStringLiteral("TPanel"));
        }
        addChild(panel, QStringLiteral("TButton"), QStringLiteral("Clear"));
        edits(panel, QStringLiteral("TEdit"), {&f.qth, &f.name, &f.rstTx, &f.call}, {s.qth, s.name, s.rstTx, s.call});
        break;
    }
    }
    return f;
}
