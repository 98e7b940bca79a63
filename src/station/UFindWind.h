#pragma once
// The work window of the digital-mode program links: never shown; it holds one poll timer and
// one reader per program, the texts last read, and starts a program from the menu.

#include "station/DigitalLink.h"
#include "widgets/TForm.h"

#include <array>
#include <memory>

class QAction;
class QLineEdit;
class QPushButton;
class QTimer;

class TFExtProg : public TForm, public LinkPanel {
    Q_OBJECT
public:
    explicit TFExtProg(QWidget* parent = nullptr);
    ~TFExtProg() override;

    // The search for a program's main window, by the program's name; 0 when none is found.
    WindowHandle FndMainWindow(const QString& name);
    // A menu item's click: open the program file, wait for its window, search and link.
    void StartProgram(DigitalProgram p);
    // Pr5 and Pr6: the program file is only opened.
    void StartOnly(QLineEdit* programFile);

    // The readers, one poll each.
    void ButtonDigiPanClick();
    void ButtonMixWClick();
    void ButtonMMVariClick();
    void ButtonCwTypeClick();
    void ButtonTrueTTYClick();
    void ButtonSaveDigiPanClick();
    void ButtonSaveMixWClick();

    DigitalLink& link(DigitalProgram p) { return *links_[index(p)]; }
    QTimer* timer(DigitalProgram p) const { return timers_[index(p)]; }

    // How long a started program is given to open its window, in ms (tests use 0).
    int startWaitMs = 5000;

    QTimer* TimerDigiPan;
    QTimer* TimerMixW;
    QTimer* TimerMMVari;
    QTimer* TimerCwType;
    QTimer* TimerTrueTTY;
    QPushButton* ButtonDigiPan;
    QPushButton* ButtonMixW;
    QPushButton* ButtonMMVari;
    QPushButton* ButtonCwType;
    QPushButton* ButtonTrueTTY;
    QPushButton* ButtonSaveDigiPan;
    QPushButton* ButtonSaveMixW;
    // The texts last read, before they reach the main window.
    QLineEdit* EditCall;
    QLineEdit* EditName;
    QLineEdit* EditQTH;
    QLineEdit* EditRec;
    QLineEdit* EditSend;
    QLineEdit* EditBand;
    QLineEdit* EditNote;
    QLineEdit* EditMode;

    // LinkPanel: the main window's entry panel, the settings, the messages.
    QString entryText(EntryBox box) const override;
    void setEntryText(EntryBox box, const QString& text) override;
    bool editingStoredContact() const override;
    bool autoLookup() const override;
    void runCallbookLookup() override;
    void showMessage(const QString& text) override;
    void hold(DigitalProgram p, const LinkReading& r) override;
    void endLink(DigitalProgram p) override;

private:
    static int index(DigitalProgram p) { return static_cast<int>(p); }
    void searchAndLink(DigitalProgram p);
    QAction* menuItem(DigitalProgram p) const;
    QLineEdit* programFile(DigitalProgram p) const;

    std::array<std::unique_ptr<DigitalLink>, 5> links_;
    std::array<QTimer*, 5> timers_{};
    // The single-shot wait after a program was opened, one per program.
    std::array<QTimer*, 5> startWaits_{};
};

extern TFExtProg* FExtProg;
