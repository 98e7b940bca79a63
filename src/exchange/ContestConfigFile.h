#pragma once
// One contest configuration as the 69 lines it is stored in (Windows-1251, CR LF): name, the
// info choice, the 56 points cells (CW, SSB, RTTY, other; each in band order), four switches,
// the points factor, the sent exchange, the serial step, and the stored start and stop.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

struct ContestConfigValues {
    QString name;
    int infoIndex = 0;
    QStringList cells; // 56 texts: group * 14 + band
    bool check1 = false;
    bool check2 = false;
    bool check3 = false;
    bool serial = false;
    QString factor = QStringLiteral("1");
    QString sent = QStringLiteral("001");
    QString step = QStringLiteral("1");
    QDate startDate;
    QTime startTime;
    QDate stopDate;
    QTime stopTime;
};

namespace ContestConfigFile {

inline constexpr int LineCount = 69;

QByteArray write(const ContestConfigValues& v);
// All lines are read and checked first: on a line that does not convert, out is left as it was
// and badLine names the line (1-based). Missing lines read as empty. A switch is on only for exactly "True".
bool read(const QByteArray& bytes, ContestConfigValues& out, int& badLine);

} // namespace ContestConfigFile
