// The main window's "External Soft" items: each starts its digital-mode program and links it.
#include "logbook/UMain.h"

#include "data/UConfig.h"
#include "station/UFindWind.h"

#include <QAction>

void TFMain::connectProgramHandlers() {
    connectHandler(DigiPan1, &TFMain::DigiPan1Click);
    connectHandler(MixW1, &TFMain::MixW1Click);
    connectHandler(MMVari1, &TFMain::MMVari1Click);
    connectHandler(CwType, &TFMain::CwTypeClick);
    connectHandler(PrTrueTTY, &TFMain::PrTrueTTYClick);
    connectHandler(Pr51, &TFMain::Pr51Click);
    connectHandler(Pr61, &TFMain::Pr61Click);
}

void TFMain::DigiPan1Click() {
    FExtProg->StartProgram(DigitalProgram::DigiPan);
}

void TFMain::MixW1Click() {
    FExtProg->StartProgram(DigitalProgram::MixW);
}

void TFMain::MMVari1Click() {
    FExtProg->StartProgram(DigitalProgram::MMVari);
}

void TFMain::CwTypeClick() {
    FExtProg->StartProgram(DigitalProgram::CwType);
}

void TFMain::PrTrueTTYClick() {
    FExtProg->StartProgram(DigitalProgram::TrueTTY);
}

void TFMain::Pr51Click() {
    FExtProg->StartOnly(FConfig->EditPr1);
}

void TFMain::Pr61Click() {
    FExtProg->StartOnly(FConfig->EditPr2);
}
