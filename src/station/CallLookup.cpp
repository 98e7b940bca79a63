#include "station/CallLookup.h"

namespace CallLookup {

QUrl pageUrl(const QString& server, const QString& call) {
    const QByteArray value = QUrl::toPercentEncoding(call, "/");
    return QUrl(server + QStringLiteral("/callsign.html?callsign=") + QString::fromLatin1(value),
                QUrl::StrictMode);
}

QStringList memoLines(const QStringList& elementTexts, const QString& call) {
    QStringList lines;
    for (qsizetype i = 0; i + 104 < elementTexts.size(); ++i)
        lines += elementTexts[i].split(QStringLiteral("\r\n"));
    // The page's fixed lines, each deletion on the lines as the one before left them.
    struct Cut {
        int line, times;
    };
    for (const Cut& c : {Cut{1, 10}, Cut{11, 6}, Cut{8, 2}, Cut{7, 1}, Cut{8, 2}, Cut{0, 2}})
        for (int k = 0; k < c.times; ++k)
            if (c.line < lines.size()) lines.removeAt(c.line);
    lines.prepend(call);
    return lines;
}

} // namespace CallLookup
