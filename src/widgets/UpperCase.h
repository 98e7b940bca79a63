#pragma once
// Boxes that show upper case only: whatever is typed, pasted or set from code is turned into
// capitals before the box takes it, so every change handler already sees the capitals.

class QLineEdit;

void makeUpperCase(QLineEdit* box);
