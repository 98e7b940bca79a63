#pragma once
// The QSL label: the built-in template, the filling of its placeholders from a logged contact,
// and the texts of the label files ("QSL_Lab.hbr" lines, "QSL_F.hbr" font).

#include "platform/LabelPrinter.h"

#include <QByteArray>
#include <QStringList>

// The values of one logged contact that a label shows.
struct LabelContact {
    QString call;
    QString note; // the contact's stored note, source of "<VIA>"
    QString date;
    QString time;
    QString band;
    QString mode;
    QString rstSent;
    QString rxQsl;
};

namespace LabelTemplate {

QStringList builtInTemplate();
TextFont builtInFont();      // the template window's
TextFont builtInPrintFont(); // the print window's

// One line with the first occurrence of each placeholder replaced, in the fixed order.
QString fillLine(const QString& line, const LabelContact& c);
QStringList fill(const QStringList& lines, const LabelContact& c);

// The label files: lines ended by CR LF, in code page 1251; read as UTF-8 when valid.
QByteArray fileText(const QStringList& lines);
QStringList linesOf(const QByteArray& bytes);

// "N", "B", "I" or "BI"; a font with underline or strike-out is "N".
QString styleCode(const TextFont& f, bool underlineOrStrikeOut);
QByteArray fontFileText(const TextFont& f, bool underlineOrStrikeOut);
// Applies the three lines of a font file to font; false with error when the size is no integer
// (then nothing is applied).
bool applyFontFile(const QStringList& lines, TextFont& font, QString& error);

} // namespace LabelTemplate
