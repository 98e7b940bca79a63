// The main window's transceiver items: connecting and disconnecting the link, the transceiver
// window, and the radio's band arriving in the band box.
#include "logbook/UMain.h"

#include "data/UGlobal.h"
#include "platform/Dialogs.h"
#include "station/UCtrlTRX.h"
#include "station/UTRXControl.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QTimer>

void TFMain::connectDeviceHandlers() {
    ButtonKenw = new QPushButton(QStringLiteral("Kenwood"), PanelDop);
    ButtonKenw->setObjectName(QStringLiteral("ButtonKenw"));
    ButtonKenw->setFocusPolicy(Qt::ClickFocus);
    ButtonKenw->setVisible(false);
    connect(ButtonKenw, &QPushButton::clicked, this,
            [this] { Dialogs::guarded([this] { ButtonKenwClick(); }); });
    connectHandler(DeviceTrxConnect, &TFMain::DeviceTrxConnectClick);
    connectHandler(DeviceTrxControl, &TFMain::DeviceTrxControlClick);
    TrxSetReceiver({this, [this](const QString& band) { TrxBandArrived(band); },
                    [this](const QString& port, const QString& why) { TrxOpenFailed(port, why); },
                    [this](const QString& port, const QString& why) { TrxLost(port, why); }});
}

void TFMain::DeviceTrxConnectClick() {
    if (DeviceTrxConnect->isChecked()) {
        TrxOpenPort();
        FTRXControl->TimerUpdate->start();
        DeviceTrxControl->setEnabled(true);
        TrxSend(QString::fromLatin1(TrxCommand::Connect));
    } else {
        DeviceTrxControl->setEnabled(false);
        TrxSend(QString::fromLatin1(TrxCommand::Disconnect));
        FTRXControl->TimerUpdate->stop();
        TrxSend(QString::fromLatin1(TrxCommand::Disconnect));
        TrxClosePort();
    }
}

void TFMain::DeviceTrxControlClick() {
    FTRXControl->ShowModal();
}

void TFMain::ButtonKenwClick() {
    TrxOpenPort();
}

void TFMain::TrxBandArrived(const QString& band) {
    // A contact loaded for editing keeps its band.
    if (EntryState == 0 || ComboBoxBand->currentText() == band) return;
    const int index = ComboBoxBand->findText(band, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) ComboBoxBand->setCurrentIndex(index);
    ComboBoxBand->setEditText(band);
}

void TFMain::TrxOpenFailed(const QString& port, const QString& why) {
    TrxLinkFailed(Msg(QStringLiteral("Port ") + port + QStringLiteral(" cannot be opened: ") + why,
                      QStringLiteral("Порт ") + port + QStringLiteral(" не открыт: ") + why));
}

void TFMain::TrxLost(const QString& port, const QString& why) {
    TrxLinkFailed(Msg(QStringLiteral("Port ") + port + QStringLiteral(" stopped working: ") + why +
                          QStringLiteral(". The transceiver is disconnected."),
                      QStringLiteral("Порт ") + port + QStringLiteral(" перестал работать: ") + why +
                          QStringLiteral(". Трансивер отключён.")));
}

void TFMain::TrxLinkFailed(const QString& message) {
    // The link is not shown as connected when its port is not open.
    TrxClosePort();
    FTRXControl->TimerUpdate->stop();
    DeviceTrxConnect->setChecked(false);
    DeviceTrxControl->setEnabled(false);
    Dialogs::messageDlg(message, DlgType::Warning);
}
