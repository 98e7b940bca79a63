#pragma once
// The callbook exchange file (".cbh"): five header lines, then one entry per line, nine values
// each followed by ":;". Windows-1251 with CR LF when written; read as UTF-8 when the bytes are
// valid UTF-8, else as Windows-1251.

#include <QString>
#include <QStringList>

class QIODevice;

namespace CallbookExchange {

inline constexpr int HeaderLines = 5;
inline constexpr int ValueCount = 9;
inline const QString Separator = QStringLiteral(":;");

// The five header lines; the fifth carries the number of entry lines that follow.
QStringList header(int count);

// A value as written: trimmed, line ends as blanks, and a separator inside it kept apart by one
// more backslash (":;" -> ":\;", ":\;" -> ":\\;"), so it reads back unchanged.
QString escapeValue(const QString& value);
QString unescapeValue(const QString& written);

// One entry line without its line end: every value escaped and followed by the separator.
QString entryLine(const QStringList& values);
// The nine values of an entry line, trimmed and unescaped; parts missing at the end are empty.
// A line that holds no separator at all is not an entry: `ok` is false then.
QStringList splitEntryLine(const QString& line, bool* ok = nullptr);

// Writes the lines in Windows-1251, each ended by CR LF. Returns false when the device fails.
bool writeLines(QIODevice& out, const QStringList& lines);
// The lines of a whole file (a line end at the very end adds no empty line), decoded one at a
// time so that a large file is never turned into text at once.
class LineReader {
public:
    explicit LineReader(QIODevice& in);
    int lineCount() const { return int(starts_.size()); }
    QString line(int index) const;

private:
    QByteArray bytes_;
    QList<qsizetype> starts_;
    bool utf8_ = false;
};

} // namespace CallbookExchange
