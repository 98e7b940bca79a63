#include "station/DigitalLink.h"

#include <QHash>

namespace {

// Controls are read into the buffers these programs were read with.
constexpr int kTextBuffer = 25;
constexpr int kStatusBarBuffer = 35;
constexpr int kCaptionBuffer = 35;

DesktopWindows& desk() {
    return Desktop::windows();
}

WindowHandle next(WindowHandle w, int steps = 1) {
    for (int i = 0; i < steps && w; ++i)
        w = desk().nextSibling(w);
    return w;
}

WindowHandle child(WindowHandle parent, const char* className) {
    return parent ? desk().firstChild(parent, QString::fromLatin1(className)) : 0;
}

QString read(WindowHandle w, int buffer = kTextBuffer) {
    return w ? desk().text(w, buffer) : QString();
}

WindowHandle firstTopLevelOfClass(const QString& className) {
    for (WindowHandle w : desk().topLevelWindows())
        if (desk().className(w) == className) return w;
    return 0;
}

} // namespace

QString digitalProgramName(DigitalProgram p) {
    switch (p) {
    case DigitalProgram::DigiPan: return QStringLiteral("DigiPan");
    case DigitalProgram::MixW: return QStringLiteral("MixW");
    case DigitalProgram::MMVari: return QStringLiteral("MMVari");
    case DigitalProgram::CwType: return QStringLiteral("CwType");
    case DigitalProgram::TrueTTY: return QStringLiteral("TrueTTY");
    }
    return {};
}

QString digiPanBand(const QString& word) {
    static const QHash<QString, QString> bands{
        {"160m", "1.8"}, {"80m", "3.5"}, {"40m", "7"},  {"30m", "10"}, {"20m", "14"}, {"17m", "18"},
        {"15m", "21"},   {"12m", "24"},  {"10m", "28"}, {"6m", "50"},  {"2m", "144"}};
    return bands.value(word);
}

MixWStation splitMixWStatus(const QString& status) {
    MixWStation s;
    const qsizetype open = status.indexOf('(');
    if (open < 0) {
        s.call = status.trimmed();
        return s;
    }
    s.call = status.left(open).trimmed();
    QString rest = status.mid(open + 1);
    const qsizetype close = rest.indexOf(')');
    if (close >= 0) rest.remove(close, 1);
    const qsizetype comma = rest.indexOf(',');
    s.name = (comma < 0 ? rest : rest.left(comma)).trimmed();
    if (comma >= 0) s.qth = rest.mid(comma + 1).trimmed();
    return s;
}

DigitalLink::DigitalLink(DigitalProgram program, LinkPanel& panel) : program_(program), panel_(panel) {}

WindowHandle DigitalLink::findMainWindow() {
    lastCall_.clear();
    probe_ = 0;
    switch (program_) {
    case DigitalProgram::MMVari: window_ = firstTopLevelOfClass(QStringLiteral("TMainVARI")); break;
    case DigitalProgram::TrueTTY: window_ = firstTopLevelOfClass(QStringLiteral("TRxForm")); break;
    case DigitalProgram::CwType: window_ = findCwType(); break;
    default: window_ = findByCaption(digitalProgramName(program_)); break;
    }
    return window_;
}

// The windows above the logbook's, nearest first, then those below it.
WindowHandle DigitalLink::findByCaption(const QString& name) const {
    const QList<WindowHandle> all = desk().topLevelWindows();
    const qsizetype own = all.indexOf(desk().ownWindow());
    for (qsizetype i = own - 1; i >= 0; --i)
        if (read(all[i], kCaptionBuffer).contains(name)) return all[i];
    for (qsizetype i = own + 1; i < all.size(); ++i)
        if (read(all[i], kCaptionBuffer).contains(name)) return all[i];
    return 0;
}

// Other programs' main windows share CwType's class: every one of them is looked at.
WindowHandle DigitalLink::findCwType() {
    bool classSeen = false;
    for (WindowHandle w : desk().topLevelWindows()) {
        if (desk().className(w) != QLatin1String("TForm1")) continue;
        classSeen = true;
        if (read(w).contains(QLatin1String("CwType"))) return w;
    }
    if (classSeen)
        panel_.showMessage(QStringLiteral(
            "Нехватка памяти! Закройте все лишние программы и попробуйте еще раз!"));
    return 0;
}

void DigitalLink::tick() {
    // A message of this link still open holds its next polls back.
    if (inTick_) return;
    inTick_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inTick_};

    if (!window_) {
        // Said once: the link ends rather than asking again at every poll.
        panel_.showMessage(QStringLiteral("Please run ") + digitalProgramName(program_) + '!');
        programGone();
        return;
    }
    bool alive = false;
    switch (program_) {
    case DigitalProgram::DigiPan: alive = readDigiPan(); break;
    case DigitalProgram::MixW: alive = readMixW(); break;
    case DigitalProgram::MMVari: alive = readMMVari(); break;
    case DigitalProgram::CwType:
    case DigitalProgram::TrueTTY: alive = readTypeWindow(); break;
    }
    if (!alive) programGone();
}

bool DigitalLink::readDigiPan() {
    const WindowHandle dialog = child(child(window_, "AfxControlBar42s"), "#32770");
    WindowHandle box[7];
    box[0] = child(dialog, "Edit");
    for (int i = 1; i < 7; ++i)
        box[i] = next(box[i - 1], 2);
    probe_ = child(dialog, "Button");
    LinkReading r;
    r.call = read(box[0]);
    r.name = read(box[1]);
    r.qth = read(box[2]);
    r.rstRx = read(box[3]);
    r.rstTx = read(box[4]);
    r.band = read(box[5]);
    r.note = read(box[6]);
    panel_.hold(program_, r);
    // A contact loaded for editing is not overwritten by the program's station.
    if (!panel_.editingStoredContact()) {
        panel_.setEntryText(EntryBox::Call, r.call);
        panel_.setEntryText(EntryBox::Name, r.name);
        panel_.setEntryText(EntryBox::Qth, r.qth);
        panel_.setEntryText(EntryBox::RstRx, r.rstRx);
        panel_.setEntryText(EntryBox::RstTx, r.rstTx);
        panel_.setEntryText(EntryBox::Note, r.note);
        const QString band = digiPanBand(r.band);
        if (!band.isEmpty()) panel_.setEntryText(EntryBox::Band, band);
        insertData(box[1], box[2]);
    }
    lastCall_ = r.call.trimmed();
    return probe_ != 0;
}

bool DigitalLink::readMixW() {
    const QString status = read(child(window_, "msctls_statusbar32"), kStatusBarBuffer);
    probe_ = next(child(child(child(window_, "AfxControlBar42s"), "#32770"), "Button"), 2);
    const MixWStation s = splitMixWStatus(status);
    LinkReading r;
    r.call = s.call;
    r.name = s.name;
    r.qth = s.qth;
    panel_.hold(program_, r);
    if (!panel_.editingStoredContact()) {
        panel_.setEntryText(EntryBox::Call, r.call);
        panel_.setEntryText(EntryBox::Name, r.name);
        panel_.setEntryText(EntryBox::Qth, r.qth);
        // Compared in capitals like the other links: a lower-case call is not new at every poll.
        const QString call = panel_.entryText(EntryBox::Call).trimmed().toUpper();
        if (call.size() >= 3 && call != lastCall_.toUpper() && panel_.autoLookup()) panel_.runCallbookLookup();
    }
    lastCall_ = r.call.trimmed();
    return probe_ != 0;
}

bool DigitalLink::readMMVari() {
    const WindowHandle panel = next(child(window_, "TPanel"), 3);
    WindowHandle combo[5];
    combo[0] = child(panel, "TComboBox");
    for (int i = 1; i < 5; ++i)
        combo[i] = next(combo[i - 1]);
    const WindowHandle modeBox = child(next(panel), "TComboBox");
    const bool editing = panel_.editingStoredContact();
    LinkReading r;
    r.band = read(combo[0]);
    // A frequency in the program's band box: the program gets the logbook's band instead.
    if (r.band.size() > 4 && !editing) {
        r.band = panel_.entryText(EntryBox::Band).trimmed();
        desk().setText(combo[0], r.band);
    }
    r.rstRx = read(combo[1]);
    r.rstTx = read(combo[2]);
    r.name = read(combo[3]);
    r.call = read(combo[4]);
    r.mode = read(modeBox);
    panel_.hold(program_, r);
    if (!editing) {
        panel_.setEntryText(EntryBox::Call, r.call);
        panel_.setEntryText(EntryBox::Name, r.name);
        panel_.setEntryText(EntryBox::RstRx, r.rstRx);
        panel_.setEntryText(EntryBox::RstTx, r.rstTx);
        panel_.setEntryText(EntryBox::Band, r.band);
        panel_.setEntryText(EntryBox::Mode, r.mode);
        insertData(combo[3], 0);
    }
    lastCall_ = r.call.trimmed();
    return combo[4] != 0;
}

bool DigitalLink::readTypeWindow() {
    const WindowHandle button = program_ == DigitalProgram::CwType
                                    ? child(child(window_, "TPanel"), "TButton")
                                    : child(next(child(window_, "TMemo")), "TButton");
    WindowHandle w[5] = {button};
    for (int i = 1; i < 5; ++i)
        w[i] = next(w[i - 1]);
    LinkReading r;
    r.qth = read(w[1]);
    r.name = read(w[2]);
    r.rstTx = read(w[3]);
    r.call = read(w[4]);
    panel_.hold(program_, r);
    if (!panel_.editingStoredContact()) {
        panel_.setEntryText(EntryBox::Call, r.call);
        panel_.setEntryText(EntryBox::Name, r.name);
        panel_.setEntryText(EntryBox::Qth, r.qth);
        panel_.setEntryText(EntryBox::RstTx, r.rstTx);
        insertData(w[2], w[1]);
    }
    lastCall_ = r.call.trimmed();
    return w[4] != 0;
}

void DigitalLink::insertData(WindowHandle nameBox, WindowHandle qthBox) {
    lastCall_ = lastCall_.toUpper();
    const QString call = panel_.entryText(EntryBox::Call).trimmed().toUpper();
    if (call.size() < 3 || call == lastCall_) return;
    if (panel_.autoLookup()) panel_.runCallbookLookup();
    const QString name = panel_.entryText(EntryBox::Name);
    if (!name.isEmpty() && nameBox) desk().setText(nameBox, name);
    const QString qth = panel_.entryText(EntryBox::Qth);
    if (!qth.isEmpty() && qthBox) desk().setText(qthBox, qth);
}

void DigitalLink::programGone() {
    panel_.endLink(program_);
    // A contact loaded for editing keeps its texts; only the link ends.
    if (!panel_.editingStoredContact()) {
        for (EntryBox b : {EntryBox::Call, EntryBox::Name, EntryBox::Qth, EntryBox::RstRx, EntryBox::RstTx})
            panel_.setEntryText(b, {});
        auto defaults = [this](const QString& band, const QString& report, const QString& mode) {
            if (!band.isEmpty()) panel_.setEntryText(EntryBox::Band, band);
            if (!report.isEmpty()) {
                panel_.setEntryText(EntryBox::RstRx, report);
                panel_.setEntryText(EntryBox::RstTx, report);
            }
            panel_.setEntryText(EntryBox::Mode, mode);
        };
        switch (program_) {
        case DigitalProgram::DigiPan:
        case DigitalProgram::MMVari: defaults(QStringLiteral("14"), {}, QStringLiteral("CW")); break;
        case DigitalProgram::CwType: defaults({}, QStringLiteral("59"), QStringLiteral("SSB")); break;
        case DigitalProgram::TrueTTY: defaults({}, QStringLiteral("599"), QStringLiteral("CW")); break;
        case DigitalProgram::MixW: break;
        }
    }
    static const char* const closed[] = {"DigiPan closed!", "MixW closed!", "MMVari closed!", "CwType closed!",
                                         "TryeTTY closed!"};
    panel_.showMessage(QString::fromLatin1(closed[static_cast<int>(program_)]));
}

void DigitalLink::clickProbeButton() {
    if (probe_) desk().click(probe_);
}
