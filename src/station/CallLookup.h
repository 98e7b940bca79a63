#pragma once
// The web call-sign look-up as values: the page's address for a call, and the lines the
// window shows from the page's elements.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace CallLookup {
// The service's page for a call; the call is percent-encoded, so "&", "#" or "?" in it stay
// part of the value (letters, digits and "/" are unchanged).
QUrl pageUrl(const QString& server, const QString& call);
// The element texts of all but the last 104 elements, one memo line per text line, without
// the page's fixed header lines; the call stands as the first line.
QStringList memoLines(const QStringList& elementTexts, const QString& call);
} // namespace CallLookup
