#pragma once
// The transceiver link's port settings, written by the settings window's ApplySettings.

#include <QString>

struct SetingComTRXPort {
    QString TrxName; // the model: "None" or "Kenwood TS-570"
    QString TrxPort; // the port name: "None", "COM1" ... or a device path
    int TrxBaud = 9600;
};

extern SetingComTRXPort TrxSettings;
