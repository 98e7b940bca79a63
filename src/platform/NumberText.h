#pragma once
// Decimal numbers as the system writes them: "," as separator, the shortest text of at most
// 15 significant digits ("3", "1,5", "0,1").

#include <QString>

namespace NumberText {
QString fromFloat(double v);
// Reads a decimal text with "," as separator (blanks around allowed); a point, letters or an
// empty text fail.
bool toFloat(const QString& text, double& out);
// Whole numbers with an optional sign ("-03", "+5", "00").
bool toInt(const QString& text, int& out);
} // namespace NumberText
