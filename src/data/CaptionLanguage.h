#pragma once
// Window-free rules of the caption language: which column of table Language a language choice
// reads, how a row's class says the caption is set, and the tab captions built into the program.

#include <QString>
#include <QStringList>

namespace CaptionLanguage {

// "Russian" -> "Russ", "English" -> "En", "France" -> "Fr", "Deutsch" -> "De", anything else -> "oth".
QString columnFor(const QString& language);

enum class CaptionSetter {
    WindowText, // the control's window text ("TWinControl")
    Caption,    // a group box, check box, button or label
    MenuItem,   // a menu item
    None        // any other class: the row changes nothing
};
CaptionSetter setterFor(const QString& prim);

// Filter of one window's rows of table Language.
QString filterFor(const QString& formName);

// The nine page captions of the settings window and the two of the alarm and recording window.
QStringList settingsTabCaptions(const QString& language);
QStringList timerTabCaptions(const QString& language);

} // namespace CaptionLanguage
