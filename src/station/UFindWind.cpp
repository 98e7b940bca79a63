#include "station/UFindWind.h"

#include "data/UConfig.h"
#include "logbook/UMain.h"
#include "platform/DataFolder.h"
#include "platform/Dialogs.h"
#include "platform/ProgramLauncher.h"
#include "widgets/Controls.h"
#include "widgets/StartUpTimers.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

TFExtProg* FExtProg = nullptr;

namespace {
constexpr DigitalProgram kPrograms[] = {DigitalProgram::DigiPan, DigitalProgram::MixW, DigitalProgram::MMVari,
                                        DigitalProgram::CwType, DigitalProgram::TrueTTY};
}

TFExtProg::TFExtProg(QWidget* parent) : TForm(QStringLiteral("FExtProg"), parent) {
    setWindowTitle(QStringLiteral("FFindWindow"));
    auto box = [this](const char* name) { return newEdit(this, QString::fromLatin1(name)); };
    EditCall = box("EditCall");
    EditName = box("EditName");
    EditQTH = box("EditQTH");
    EditRec = box("EditRec");
    EditSend = box("EditSend");
    EditBand = box("EditBand");
    EditNote = box("EditNote");
    EditMode = box("EditMode");

    QPushButton** readers[] = {&ButtonDigiPan, &ButtonMixW, &ButtonMMVari, &ButtonCwType, &ButtonTrueTTY};
    QTimer** polls[] = {&TimerDigiPan, &TimerMixW, &TimerMMVari, &TimerCwType, &TimerTrueTTY};
    for (DigitalProgram p : kPrograms) {
        const int i = index(p);
        const QString name = digitalProgramName(p);
        links_[i] = std::make_unique<DigitalLink>(p, *this);
        *readers[i] = newButton(this, QStringLiteral("Button") + name, name);
        connect(*readers[i], &QPushButton::clicked, this,
                [this, p] { Dialogs::guarded([this, p] { link(p).tick(); }); });
        timers_[i] = *polls[i] = new QTimer(this);
        timers_[i]->setObjectName(QStringLiteral("Timer") + name);
        timers_[i]->setInterval(2000);
        // The poll clicks the reader button.
        connect(timers_[i], &QTimer::timeout, *readers[i], &QPushButton::click);
        startWaits_[i] = new QTimer(this);
        startWaits_[i]->setSingleShot(true);
        connect(startWaits_[i], &QTimer::timeout, this, [this, p] { Dialogs::guarded([this, p] { searchAndLink(p); }); });
    }
    ButtonSaveDigiPan = newButton(this, QStringLiteral("ButtonSaveDigiPan"), QStringLiteral("Save"));
    ButtonSaveMixW = newButton(this, QStringLiteral("ButtonSaveMixW"), QStringLiteral("Save"));
    connect(ButtonSaveDigiPan, &QPushButton::clicked, this, &TFExtProg::ButtonSaveDigiPanClick);
    connect(ButtonSaveMixW, &QPushButton::clicked, this, &TFExtProg::ButtonSaveMixWClick);
}

TFExtProg::~TFExtProg() = default;

WindowHandle TFExtProg::FndMainWindow(const QString& name) {
    for (DigitalProgram p : kPrograms)
        if (digitalProgramName(p) == name) return link(p).findMainWindow();
    return 0;
}

void TFExtProg::StartProgram(DigitalProgram p) {
    // One link at a time: two would take turns writing their station into the entry panel.
    for (DigitalProgram other : kPrograms) {
        if (other == p) continue;
        startWaits_[index(other)]->stop();
        endLink(other);
    }
    // The item is ticked only once the search has found the program.
    menuItem(p)->setChecked(false);
    const QString file = programFile(p)->text();
    if (QFileInfo(file).isFile()) {
        Launching::launcher().open(file);
        // The program gets time to open its window while this one goes on running.
        if (startWaitMs > 0) {
            startWaits_[index(p)]->start(startWaitMs);
            return;
        }
    } else {
        Dialogs::messageDlg(QStringLiteral("File ") + file + QStringLiteral(" not exists !"), DlgType::Warning);
    }
    searchAndLink(p);
}

void TFExtProg::searchAndLink(DigitalProgram p) {
    QDir::setCurrent(ProgramFolder);
    if (link(p).findMainWindow()) {
        StartUpTimers::startAfterStartUp(timer(p));
        menuItem(p)->setChecked(true);
        return;
    }
    // A link that was running has lost its window: it ends here instead of asking at every poll.
    timer(p)->stop();
    Dialogs::messageDlg(QStringLiteral("Not run ") + digitalProgramName(p) + '!', DlgType::Warning);
    menuItem(p)->setChecked(false);
}

void TFExtProg::StartOnly(QLineEdit* programFile) {
    const QString file = programFile->text();
    if (QFileInfo(file).isFile())
        Launching::launcher().open(file);
    else
        Dialogs::messageDlg(QStringLiteral("File ") + file + QStringLiteral(" not exists !"), DlgType::Warning);
    QDir::setCurrent(ProgramFolder);
}

void TFExtProg::ButtonDigiPanClick() {
    link(DigitalProgram::DigiPan).tick();
}
void TFExtProg::ButtonMixWClick() {
    link(DigitalProgram::MixW).tick();
}
void TFExtProg::ButtonMMVariClick() {
    link(DigitalProgram::MMVari).tick();
}
void TFExtProg::ButtonCwTypeClick() {
    link(DigitalProgram::CwType).tick();
}
void TFExtProg::ButtonTrueTTYClick() {
    link(DigitalProgram::TrueTTY).tick();
}
void TFExtProg::ButtonSaveDigiPanClick() {
    link(DigitalProgram::DigiPan).clickProbeButton();
}
void TFExtProg::ButtonSaveMixWClick() {
    link(DigitalProgram::MixW).clickProbeButton();
}

// --- the main window's entry panel as the links see it ----------------------------------------

namespace {
QLineEdit* entryBox(EntryBox box) {
    switch (box) {
    case EntryBox::Call: return FMain->EditCall;
    case EntryBox::Name: return FMain->EditName;
    case EntryBox::Qth: return FMain->EditQTH;
    case EntryBox::RstRx: return FMain->EditRSRX;
    case EntryBox::RstTx: return FMain->EditRSTX;
    case EntryBox::Note: return FMain->EditNote;
    default: return nullptr;
    }
}
QComboBox* entryCombo(EntryBox box) {
    return box == EntryBox::Band ? FMain->ComboBoxBand : FMain->ComboBoxMode;
}
} // namespace

QString TFExtProg::entryText(EntryBox box) const {
    if (QLineEdit* e = entryBox(box)) return e->text();
    return entryCombo(box)->currentText();
}

void TFExtProg::setEntryText(EntryBox box, const QString& text) {
    if (QLineEdit* e = entryBox(box))
        e->setText(text);
    else
        setComboText(entryCombo(box), text);
}

bool TFExtProg::editingStoredContact() const {
    return FMain->EntryState == 0;
}

bool TFExtProg::autoLookup() const {
    return FConfig && FConfig->CheckBoxInternalA->isChecked();
}

void TFExtProg::runCallbookLookup() {
    FMain->ButtonCBFindZelmorClick();
}

void TFExtProg::showMessage(const QString& text) {
    Dialogs::showMessage(text);
}

void TFExtProg::hold(DigitalProgram, const LinkReading& r) {
    EditCall->setText(r.call);
    EditName->setText(r.name);
    EditQTH->setText(r.qth);
    EditRec->setText(r.rstRx);
    EditSend->setText(r.rstTx);
    EditBand->setText(r.band);
    EditNote->setText(r.note);
    EditMode->setText(r.mode);
}

void TFExtProg::endLink(DigitalProgram p) {
    timer(p)->stop();
    menuItem(p)->setChecked(false);
}

QAction* TFExtProg::menuItem(DigitalProgram p) const {
    QAction* items[] = {FMain->DigiPan1, FMain->MixW1, FMain->MMVari1, FMain->CwType, FMain->PrTrueTTY};
    return items[index(p)];
}

QLineEdit* TFExtProg::programFile(DigitalProgram p) const {
    QLineEdit* files[] = {FConfig->EditPrDP, FConfig->EditPrMixW, FConfig->EditPrMMV, FConfig->EditPrCT,
                          FConfig->EditPrTTTY};
    return files[index(p)];
}
