#pragma once
// A web page as the browser's document model gave it to the windows: every element in document
// order (html, head, ..., each nested element after its parent) with its inner text, lines
// joined with CR LF, blanks collapsed outside <pre>, "&nbsp;" read as a blank.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace HtmlElements {
// The page's text from its bytes: the charset named by the content type (from the HTTP header)
// or by a <meta> of the page; windows-1251, latin-1 and UTF-8 (the default) are known.
QString decode(const QByteArray& body, const QString& contentType = {});
// Pages larger than this are not read.
constexpr qsizetype kMaxPageBytes = 4 * 1024 * 1024;
// The inner texts of all elements of the page, in document order. A page too large, nested
// too deeply or of too much text is refused: no elements, and `refusal` says why. Elements
// nested more than 512 deep are left out.
QStringList innerTexts(const QString& html, QString* refusal = nullptr);
} // namespace HtmlElements
