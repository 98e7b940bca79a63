#include "contest/UCabrill.h"

#include "contest/ContestFiles.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"
#include "widgets/Controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFCabrillo* FCabrillo = nullptr;

TFCabrillo::TFCabrillo(QWidget* parent) : TForm(QStringLiteral("FCabrillo"), parent) {
    setWindowTitle(QStringLiteral("Cabrillo"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    ComboBoxContName =
        newCombo(this, QStringLiteral("ComboBoxContName"),
                 {"ARRL", "CQ contests", "WPX and AP Sprint", "ARRL VHF contests", "Sweepstakes",
                  "NAQP and NA Sprint", "RSGB IOTA Contest", "BARTG RTTY Contest", ""},
                 true, QStringLiteral("ARRL"));
    QFont bold = ComboBoxContName->font();
    bold.setBold(true);
    ComboBoxContName->setFont(bold);
    EditMode = newEdit(this, QStringLiteral("EditMode"));
    EditCateg = newEdit(this, QStringLiteral("EditCateg"), QStringLiteral("SINGLE-OP ALL ?PWR?"));
    EditScore = newEdit(this, QStringLiteral("EditScore"));
    EditOperat = newEdit(this, QStringLiteral("EditOperat"));
    EditClub = newEdit(this, QStringLiteral("EditClub"));
    EditName = newEdit(this, QStringLiteral("EditName"));
    EditAdr1 = newEdit(this, QStringLiteral("EditAdr1"));
    EditAdr2 = newEdit(this, QStringLiteral("EditAdr2"));
    EditAdr3 = newEdit(this, QStringLiteral("EditAdr3"));
    EditSoap = newEdit(this, QStringLiteral("EditSoap"));
    Button1 = newButton(this, QStringLiteral("Button1"), QStringLiteral("OK"));
    LabelOK = newLabel(this, QStringLiteral("LabelOK"), QStringLiteral("OK"));
    QFont big = LabelOK->font();
    big.setBold(true);
    big.setPixelSize(19);
    LabelOK->setFont(big);
    LabelOK->setStyleSheet(QStringLiteral("color: red"));
    LabelOK->hide();

    const QList<std::pair<const char*, QWidget*>> rows{{"Contest", ComboBoxContName},
                                                       {"Mode", EditMode},
                                                       {"Category", EditCateg},
                                                       {"Caimed-Score", EditScore},
                                                       {"Operators", EditOperat},
                                                       {"Club", EditClub},
                                                       {"Name", EditName},
                                                       {"Address", EditAdr1},
                                                       {"Address", EditAdr2},
                                                       {"Address", EditAdr3},
                                                       {"Soapbox", EditSoap}};
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < rows.size(); ++i) {
        const QString box = rows[i].second->objectName();
        // The label's name follows its box: "EditAdr1" -> "LabelAdr1".
        const QString name = QStringLiteral("Label") + box.mid(box.startsWith(QLatin1String("Edit")) ? 4 : 8);
        grid->addWidget(newLabel(this, name, QString::fromLatin1(rows[i].first)), i, 0);
        grid->addWidget(rows[i].second, i, 1, 1, 2);
    }
    grid->addWidget(LabelOK, int(rows.size()), 1, Qt::AlignCenter);
    grid->addWidget(Button1, int(rows.size()), 2);
    grid->setColumnMinimumWidth(1, 160);
    grid->setColumnMinimumWidth(2, 120);

    connect(Button1, &QPushButton::clicked, this, Dialogs::guardedSlot(this, &TFCabrillo::Button1Click));
}

void TFCabrillo::FormCreate() {
    EditOperat->setText(FConfig->MaskEditC->text());
    // Created after the settings window applied the stored language to the others.
    if (DM->TableCfgLang->active()) FConfig->ApplyLanguage(this, FConfig->ComboBoxLanguage->currentText());
}

void TFCabrillo::showEvent(QShowEvent* e) {
    TForm::showEvent(e);
    centreOn(this, FMain);
    FormShow();
}

void TFCabrillo::FormShow() {
    LabelOK->hide();
}

void TFCabrillo::Button1Click() {
    LabelOK->hide();
    if (!DM->logOpen()) return;
    FileDialogRequest request;
    request.caption = QStringLiteral("Cabrillo");
    request.filter = QStringLiteral("Cabrillo (*.cbr);;All (*)");
    request.defaultExt = QStringLiteral("cbr");
    ContestLog::CabrilloHeader header;
    header.contest = ComboBoxContName->currentText() + EditMode->text();
    header.category = EditCateg->text();
    header.claimedScore = EditScore->text();
    header.operators = EditOperat->text();
    header.club = EditClub->text();
    header.address = {EditAdr1->text(), EditAdr2->text(), EditAdr3->text()};
    header.soapbox = EditSoap->text();
    if (saveContestFile(ContestLog::Format::Cabrillo, request, header)) LabelOK->show();
}
