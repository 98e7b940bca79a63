#pragma once

#include <QString>
#include <stdexcept>

// A missing or malformed input; the message names the file and, when known, the line.
class InputError : public std::runtime_error {
public:
    struct Where {
        QString file;
        int line = 0;
    };

    InputError(const Where& where, const QString& message)
        : std::runtime_error((where.line > 0
                                  ? QStringLiteral("%1:%2: %3").arg(where.file).arg(where.line).arg(message)
                                  : QStringLiteral("%1: %2").arg(where.file, message))
                                 .toStdString()) {}
};
