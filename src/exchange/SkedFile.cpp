#include "exchange/SkedFile.h"

#include "platform/Cp1251.h"
#include "platform/DateText.h"

namespace SkedFile {

namespace {
const QByteArray kEnd = QByteArrayLiteral("\r\n");

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> out = bytes.split('\n');
    if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
    for (QByteArray& l : out)
        if (l.endsWith('\r')) l.chop(1);
    return out;
}
} // namespace

QByteArray lines(const Sked& s) {
    return Cp1251::encode(DateText::shortDate(s.date)) + kEnd + Cp1251::encode(DateText::longTime(s.time)) +
           kEnd + Cp1251::encodeLine(s.note) + kEnd;
}

QList<QByteArray> pieces(const QByteArray& bytes) {
    const QList<QByteArray> all = splitLines(bytes);
    QList<QByteArray> out;
    for (int i = 0; i < Count; ++i) {
        QByteArray piece;
        if (i * 3 < all.size())
            for (int l = i * 3; l < i * 3 + 3; ++l)
                piece += all.value(l) + kEnd;
        out << piece;
    }
    return out;
}

std::optional<Sked> read(const QByteArray& piece) {
    QList<QByteArray> l = splitLines(piece);
    if (l.size() < 2) return std::nullopt;
    Sked s{DateText::parseShortDate(Cp1251::decode(l[0])), DateText::parseLongTime(Cp1251::decode(l[1])),
           Cp1251::decode(l.value(2))};
    if (!s.date.isValid() || !s.time.isValid()) return std::nullopt;
    return s;
}

} // namespace SkedFile
