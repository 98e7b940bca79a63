#pragma once
// Bytes for the hostile-input tables of the readers: the same noise on every run.

#include <QByteArray>

QByteArray randomBytes(qsizetype size, quint32 seed);
