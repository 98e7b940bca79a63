#include "exchange/ContestConfigFile.h"

#include "platform/Cp1251.h"
#include "platform/DateText.h"
#include "platform/NumberText.h"

namespace ContestConfigFile {

namespace {

QString boolText(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

QByteArray write(const ContestConfigValues& v) {
    QStringList lines{v.name, QString::number(v.infoIndex)};
    for (int i = 0; i < 56; ++i)
        lines << v.cells.value(i);
    lines << boolText(v.check1) << boolText(v.check2) << boolText(v.check3) << boolText(v.serial) << v.factor
          << v.sent << v.step << DateText::shortDate(v.startDate) << DateText::longTime(v.startTime)
          << DateText::shortDate(v.stopDate) << DateText::longTime(v.stopTime);
    QByteArray out;
    for (const QString& l : lines)
        out += Cp1251::encodeLine(l) + "\r\n";
    return out;
}

bool read(const QByteArray& bytes, ContestConfigValues& out, int& badLine) {
    QStringList lines = Cp1251::decode(bytes).split(QStringLiteral("\r\n"));
    while (lines.size() < LineCount)
        lines << QString();
    auto fail = [&badLine](int line) {
        badLine = line;
        return false;
    };
    ContestConfigValues v;
    v.name = lines[0];
    if (!NumberText::toInt(lines[1], v.infoIndex) || v.infoIndex < 0 || v.infoIndex > 3)
        return fail(2);
    for (int i = 0; i < 56; ++i) {
        double cell = 0;
        if (!NumberText::toFloat(lines[2 + i], cell)) return fail(3 + i);
        v.cells << lines[2 + i];
    }
    v.check1 = lines[58] == QLatin1String("True");
    v.check2 = lines[59] == QLatin1String("True");
    v.check3 = lines[60] == QLatin1String("True");
    v.serial = lines[61] == QLatin1String("True");
    int factor = 0;
    if (!NumberText::toInt(lines[62], factor) || factor < 1 || factor > 1000) return fail(63);
    v.factor = lines[62];
    v.sent = lines[63];
    int step = 0;
    if (!NumberText::toInt(lines[64], step)) return fail(65);
    v.step = lines[64];
    v.startDate = DateText::parseShortDate(lines[65]);
    if (!v.startDate.isValid()) return fail(66);
    v.startTime = DateText::parseLongTime(lines[66]);
    if (!v.startTime.isValid()) return fail(67);
    v.stopDate = DateText::parseShortDate(lines[67]);
    if (!v.stopDate.isValid()) return fail(68);
    v.stopTime = DateText::parseLongTime(lines[68]);
    if (!v.stopTime.isValid()) return fail(69);
    out = v;
    return true;
}

} // namespace ContestConfigFile
