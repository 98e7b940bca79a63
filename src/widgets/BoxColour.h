#pragma once
// Colours of edit boxes and of label texts. The entry panel's note and locator boxes switch
// between silver (showing the log row) and white (typed into), and other windows test which
// state a box is in; the award labels and blinking letters are told apart by their text colour.
// All of them read and write the widget's palette, so a colour set here is the colour read back.

#include <QColor>

class QLineEdit;
class QWidget;

inline const QColor kSilver{192, 192, 192};
inline const QColor kWhite{255, 255, 255};

void setBoxColour(QLineEdit* box, const QColor& colour);
QColor boxColour(const QLineEdit* box);

// The font colour of a label (or any widget showing text).
void setTextColour(QWidget* w, const QColor& colour);
QColor textColour(const QWidget* w);
