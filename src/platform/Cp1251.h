#pragma once
// Windows code page 1251 both ways (exchange files). A character the code page cannot hold
// becomes "?".

#include <QByteArray>
#include <QString>

namespace Cp1251 {
QByteArray encode(const QString& text);
// A value of a file that holds one value a line: CR and LF become blanks, so a pasted line
// break cannot split the value and shift the lines after it.
QByteArray encodeLine(const QString& text);
QString decode(const QByteArray& bytes);
// Exchange files are read as UTF-8 when their bytes are valid UTF-8, else as code page 1251.
QString decodeExchange(const QByteArray& bytes);
// Code of a character in the code page, -1 when it has none.
int codeOf(QChar c);
QChar charOf(unsigned char code);
} // namespace Cp1251
