#pragma once
// The link to one digital-mode program: its main window found among the desktop's windows, its
// controls read every poll, their texts taken into the entry panel and the logbook's name and
// QTH written back for a new call. Window-free: the entry panel, the messages and the poll timer
// are reached through LinkPanel.

#include "platform/DesktopWindows.h"

#include <QString>

enum class DigitalProgram { DigiPan, MixW, MMVari, CwType, TrueTTY };

// The name the program is searched by and named with in the messages.
QString digitalProgramName(DigitalProgram p);

// The boxes of the entry panel a link reads or fills.
enum class EntryBox { Call, Name, Qth, RstRx, RstTx, Note, Band, Mode };

// The texts read from the program at one poll, before they reach the entry panel.
struct LinkReading {
    QString call, name, qth, rstRx, rstTx, band, note, mode;
};

class LinkPanel {
public:
    virtual ~LinkPanel() = default;
    virtual QString entryText(EntryBox box) const = 0;
    virtual void setEntryText(EntryBox box, const QString& text) = 0;
    // A stored contact is loaded for editing.
    virtual bool editingStoredContact() const = 0;
    // "Auto": the callbook look-up runs for each new call.
    virtual bool autoLookup() const = 0;
    virtual void runCallbookLookup() = 0;
    virtual void showMessage(const QString& text) = 0;
    virtual void hold(DigitalProgram p, const LinkReading& r) = 0;
    // The link has ended: its poll stops and its menu item is unticked.
    virtual void endLink(DigitalProgram p) = 0;
};

// A DigiPan band word as the logbook's band text; empty for a word it does not know.
QString digiPanBand(const QString& word);

// MixW's status bar "CALL (Name, QTH)" in its three parts.
struct MixWStation {
    QString call, name, qth;
};
MixWStation splitMixWStatus(const QString& status);

class DigitalLink {
public:
    DigitalLink(DigitalProgram program, LinkPanel& panel);

    DigitalProgram program() const { return program_; }
    // Searches the program's main window and keeps it for this link (0 when not found).
    WindowHandle findMainWindow();
    // One poll: read the program, fill the entry panel, write back, or end the link when gone.
    void tick();
    // Clicks the program's own save button (the probe button of DigiPan and MixW).
    void clickProbeButton();

    WindowHandle window() const { return window_; }
    WindowHandle probeButton() const { return probe_; }
    QString lastCall() const { return lastCall_; }

private:
    bool readDigiPan();
    bool readMixW();
    bool readMMVari();
    bool readTypeWindow();
    void insertData(WindowHandle nameBox, WindowHandle qthBox);
    void programGone();
    WindowHandle findByCaption(const QString& name) const;
    WindowHandle findCwType();

    DigitalProgram program_;
    LinkPanel& panel_;
    WindowHandle window_ = 0;
    WindowHandle probe_ = 0;
    QString lastCall_;
    bool inTick_ = false;
};
