#include "logbook/CallSignKeys.h"

QChar CallSignKeyMap(QChar typed) {
    // а б в г д е ж з и й к л м н о п р с т у ф х ц ч ш щ ъ ы ь э ю я
    static const char kLatin[32] = {'F', '/', 'D', 'U', 'L', 'T', 0,   'P', 'B', 'Q', 'R',
                                    'K', 'V', 'Y', 'J', 'G', 'H', 'C', 'N', 'E', 'A', 0,
                                    'W', 'X', 'I', 'O', 0,   'S', 'M', 0,   '/', 'Z'};
    const char16_t u = typed.unicode();
    if (u >= 0x0430 && u <= 0x044F) {
        const char latin = kLatin[u - 0x0430];
        if (latin) return QChar(latin);
    }
    switch (u) {
    case '.':
    case ',':
    case '\\':
    case '<':
    case '>':
        return QChar('/');
    default:
        return typed;
    }
}

QString callPrefixPattern(const QString& call) {
    QString p;
    for (QChar c : call) {
        if (c == '*' || c == '%' || c == '_' || c == '[' || c == ']')
            p += QStringLiteral("[") + c + QStringLiteral("]");
        else
            p += c;
    }
    return p + QChar('*');
}
