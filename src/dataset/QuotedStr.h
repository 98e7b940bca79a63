#pragma once
// A text as an SQL string literal, for the filters the windows build ("Num=" + QuotedStr(text)).

#include <QString>

// Wraps the text in single quotes and doubles every single quote inside it.
QString QuotedStr(const QString& text);
