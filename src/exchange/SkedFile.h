#pragma once
// The ten skeds as they are stored: three lines per sked (short date, long time, note),
// Windows-1251, each line ended by CR LF.

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <optional>

struct Sked {
    QDate date;
    QTime time;
    QString note;
};

namespace SkedFile {

inline constexpr int Count = 10;

// One sked's three stored lines.
QByteArray lines(const Sked& s);
// The stored bytes cut into the ten skeds' three-line pieces, each line ended by CR LF as
// `lines` writes it. A piece wholly past the end of the stored text is empty; one that the end
// cuts short is filled up with empty lines.
QList<QByteArray> pieces(const QByteArray& bytes);
// A piece read back; nullopt when its date or time does not convert (a missing line included).
std::optional<Sked> read(const QByteArray& piece);

} // namespace SkedFile
