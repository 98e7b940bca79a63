#pragma once
// Window-free rules of the settings store (table Cfg) and of the settings that other windows
// derive from the settings window's controls.

#include <QDateTime>
#include <QString>
#include <optional>

namespace SettingsStore {

// The key of a settings row as one text (FormName, Object, Name_Param).
QString rowKey(const QString& formName, const QString& object, const QString& nameParam);

// A check box is stored as "true"/"false" and read back ticked only for exactly "true".
QString checkedText(bool checked);
bool checkedFromText(const QString& param);

// A stored date-time ("dd.MM.yyyy HH:mm:ss", the time left out at midnight); nullopt when unreadable.
std::optional<QDateTime> readDateTime(const QString& param);
// A stored whole number (an item index, a spin box value); nullopt when unreadable.
std::optional<int> readInteger(const QString& param);

// The transceiver's baud rate from the baud box: one of the offered rates, otherwise 9600.
int trxBaudFromText(const QString& text);

// An "External Soft" menu item is shown when its program path has at least 11 characters.
bool externalProgramShown(const QString& programPath);

// A coordinate from its masked box: the mask's separator alone (nothing typed) is an empty text.
QString coordinateText(const QString& masked);

// Filter of the pick-list rows of one combo box of one window, as table FormConfig is read.
QString formConfigFilter(const QString& formName, const QString& comboName);

} // namespace SettingsStore
